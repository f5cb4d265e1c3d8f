// What someone on the wire between the program and the runtime sees: a
// recording relay in between, the user logging on and typing a tag name.
// With TLS neither the password nor the tag name passes in clear; without,
// the SCRAM login still keeps the password off the wire.
#include "MainWindowSession.h"

#include "tests/common/RecordingRelay.h"
#include "tests/common/TestCertificates.h"
#include "tests/e2e/GridActions.h"

#include <QFile>

namespace {

class WireCapture : public MainWindowSession
{
protected:
    // The capture of one session through a relay to the runtime on `port`.
    QByteArray Session(quint16 port)
    {
        // Each session starts from an empty list: the row is typed, not loaded.
        QFile::remove(data.File(QStringLiteral("DBRemoteQuillon.dat")));
        RecordingRelay relay(port);
        app.m_nDsPort = relay.Port();
        QString value;
        Run([&](Window& window) {
            TypeInto(window.m_Grid, 1, CGridQuillon::ColTag, QStringLiteral("Plant.Tank1.Level"));
            value = window.m_Grid.GetItemText(1, CGridQuillon::ColValue);
        });
        EXPECT_FALSE(value.isEmpty() || value.startsWith("Error")) << value.toStdString();
        EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
        return relay.Capture();
    }
};

} // namespace

TEST_F(WireCapture, TlsHidesPasswordAndTagNamesAndScramKeepsThePasswordOffThePlainWire)
{
    ASSERT_TRUE(TestCertificates::Make(program.Path()));
    RuntimeProcess secure;
    ASSERT_TRUE(secure.Start({"--users", program.File("users.txt"), "--tls-cert", program.File("server.pem"),
                              "--tls-key", program.File("server.key")}));
    app.m_strTlsCa = QStringLiteral("ca.pem");
    ASSERT_TRUE(app.ApplyTransportSecurity(program.Path()));
    const QByteArray secureCapture = Session(secure.Port());
    EXPECT_FALSE(secureCapture.contains(kRootPassword));
    EXPECT_FALSE(secureCapture.contains("Tank1"));
    EXPECT_FALSE(secureCapture.contains("root"));

    app.m_strTlsCa.clear();
    ASSERT_TRUE(app.ApplyTransportSecurity(program.Path()));
    const QByteArray plainCapture = Session(runtime.Port());
    EXPECT_TRUE(plainCapture.contains("Tank1")) << "the relay records what passes";
    EXPECT_FALSE(plainCapture.contains(kRootPassword));
}
