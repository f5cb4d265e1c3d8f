// What the user is told when a runtime's TLS is refused: at start one message
// with the reason, while reconnecting nothing but the title. And the CA file
// of the settings: relative to the program folder, and refused when unusable.
#include "MainWindowSession.h"

#include "tests/app/ModalRun.h"
#include "tests/common/TestCertificates.h"

#include <QSslCertificate>
#include <QTimer>

namespace {

class SecureStart : public MainWindowSession
{
protected:
    void SetUp() override
    {
        MainWindowSession::SetUp();
        ASSERT_TRUE(TestCertificates::Make(program.Path()));
    }

    // A runtime with the users file that speaks TLS with NAME.pem.
    bool StartTls(RuntimeProcess& tls, const char* name, quint16 port = 0)
    {
        if (!tls.Start({"--users", program.File("users.txt"), "--tls-cert", program.File(QString(name) + ".pem"),
                        "--tls-key", program.File(QString(name) + ".key")},
                       port))
            return false;
        app.m_nDsPort = tls.Port();
        return true;
    }

    // Opens a window that must close by itself (a failed opening); one that
    // stays open is ended after a while, so the test cannot hang.
    QStringList OpenRefused()
    {
        messages.clear();
        Window window(data.Path());
        QTimer::singleShot(5000, &window, [&window] { window.EndDialog(kLeftOpen); });
        EXPECT_EQ(window.DoModal(), IDOK);
        EXPECT_EQ(window.m_nTimerId, 0);
        return messages;
    }
};

} // namespace

TEST_F(SecureStart, ARelativeCaFileIsTheProgramFoldersAndAnUnreadableOneEndsTheStart)
{
    RuntimeProcess tls;
    ASSERT_TRUE(StartTls(tls, "server"));
    app.m_strDsIp = "localhost";
    app.m_strTlsCa = "ca.pem";
    ASSERT_TRUE(app.ApplyTransportSecurity(program.Path()));
    bool connected = false;
    Run([&](Window& window) { connected = window.m_bConnected; });
    EXPECT_TRUE(connected);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();

    app.m_strTlsCa = "missing.pem";
    EXPECT_FALSE(app.ApplyTransportSecurity(program.Path()));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0],
              "The certificate file '" + program.File("missing.pem") + "' cannot be read or holds no certificate.");
}

TEST_F(SecureStart, EachRefusalIsOneMessageWithItsReason)
{
    RuntimeProcess other, self;
    app.m_strTlsCa = program.File("ca.pem");
    ASSERT_TRUE(app.ApplyTransportSecurity(program.Path()));
    ASSERT_TRUE(StartTls(other, "other"));
    EXPECT_EQ(OpenRefused(), QStringList{"The certificate of '127.0.0.1' is not issued for that name."});

    ASSERT_TRUE(StartTls(self, "self"));
    const QStringList shown = OpenRefused();
    const QString fingerprint = QString::fromLatin1(QSslCertificate::fromPath(program.File("self.pem"))
                                                        .first()
                                                        .digest(QCryptographicHash::Sha256)
                                                        .toHex(':')
                                                        .toUpper());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(
        "The certificate of '127.0.0.1' is not trusted.\nSHA-256 fingerprint: " + fingerprint + "\n"))
        << shown[0].toStdString();

    // A runtime that speaks only TLS, asked in plain text.
    app.m_strTlsCa.clear();
    ASSERT_TRUE(app.ApplyTransportSecurity(program.Path()));
    EXPECT_EQ(OpenRefused(), QStringList{"'127.0.0.1' accepts only secure connections.\n"
                                         "Turn TLS on with /tls or with tls=1 in QuillonExt.ini."});
}

TEST_F(SecureStart, WhileReconnectingARefusedCertificateOnlyKeepsTheTitle)
{
    std::uint64_t now = 1000000;
    SetTickSource([&now] { return now; });
    RuntimeProcess tls;
    app.m_strDsIp = "localhost";
    app.m_strTlsCa = program.File("ca.pem");
    ASSERT_TRUE(app.ApplyTransportSecurity(program.Path()));
    ASSERT_TRUE(StartTls(tls, "server"));
    const quint16 port = tls.Port();
    Run([&](Window& window) {
        window.OnTimer(1);
        tls.Kill();
        window.OnTimer(1);
        ASSERT_FALSE(window.m_bConnected);
        // The runtime comes back with a certificate that has expired.
        ASSERT_TRUE(StartTls(tls, "expired", port));
        for (int attempt = 0; attempt < 3; ++attempt) {
            now += 10001;
            window.OnTimer(1);
            EXPECT_FALSE(window.m_bConnected);
            EXPECT_EQ(window.windowTitle(), "Quillon: <LOCAL> - Disconnected");
        }
    });
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}
