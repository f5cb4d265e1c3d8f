// TLS between the toolkit and a real VantelRuntime, with certificates made at
// test time: the checks of certificate and name, what each refusal reports,
// that nothing of the protocol (no user name, no password) passes before the
// certificate is accepted, and the runtime's own checks of its key files.
#include "FreePort.h"
#include "RuntimeProcess.h"
#include "TinyProxy.h"
#include "ToolkitTestSupport.h"
#include "runtimed/PasswordHasher.h"
#include "tests/common/RecordingRelay.h"
#include "tests/common/TempDir.h"
#include "tests/common/TestCertificates.h"

#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace tk;

namespace {

class ToolkitTls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestCertificates::Make(m_dir.Path()));
        const QString hash = PasswordHasher::Hash(QStringLiteral("pw-root"), PasswordHasher::kMinIterations);
        m_dir.Write("users.txt", QStringLiteral("group admins read,write\nuser root admins %1\n").arg(hash).toUtf8());
        ToolkitStartup();
        ASSERT_EQ(LogOn(u"root", u"pw-root", 1), 0);
    }
    void TearDown() override { ToolkitShutdown(); }

    // A runtime with login that speaks TLS with the certificate NAME.pem.
    bool StartTls(RuntimeProcess& runtime, const char* name = "server")
    {
        return runtime.Start({"--users", m_dir.File("users.txt"), "--tls-cert", m_dir.File(QString(name) + ".pem"),
                              "--tls-key", m_dir.File(QString(name) + ".key")});
    }
    HRESULT Trusting(const QString& caFile) { return VtSetTransportSecurity(1, U(caFile).c_str()); }
    HRESULT ConnectTo(const char16_t* host, quint16 port)
    {
        return ConnectRuntime(host, port, u"", 0, u"", 10, &m_handle);
    }
    QString Fingerprint(const char* name)
    {
        const auto certs = QSslCertificate::fromPath(m_dir.File(QString(name) + ".pem"));
        return certs.isEmpty()
                   ? QString()
                   : QString::fromLatin1(certs.first().digest(QCryptographicHash::Sha256).toHex(':').toUpper());
    }
    QString RefusedFingerprint()
    {
        VtChar text[128];
        VtGetRefusedFingerprint(text, 128);
        return Q(text);
    }

    TempDir m_dir;
    VtHandle m_handle = nullptr;
};

} // namespace

TEST_F(ToolkitTls, TrustedRuntimeServesByAddressAndByName)
{
    RuntimeProcess runtime;
    ASSERT_TRUE(StartTls(runtime));
    ASSERT_EQ(Trusting(m_dir.File("ca.pem")), S_OK);
    ASSERT_EQ(ConnectTo(u"127.0.0.1", runtime.Port()), S_OK);
    ActivateConnection(m_handle);
    EXPECT_EQ(Evaluate("Test.ReadOnly + 1"), "8");
    EXPECT_EQ(IsConnectionLost(m_handle), 0) << "session tickets arriving after the handshake are no unasked reply";
    EXPECT_TRUE(WriteTag("Test.Int", "41"));
    EXPECT_EQ(ReadTag("Test.Int"), "41");
    EXPECT_EQ(IsLoginRequired(u"localhost", runtime.Port(), u"", 0, u"", 10, &m_handle), 1);
    ASSERT_EQ(ConnectTo(u"localhost", runtime.Port()), S_OK);

    // The runtime's own self-signed certificate can stand as the trust anchor.
    RuntimeProcess selfSigned;
    ASSERT_TRUE(StartTls(selfSigned, "self"));
    ASSERT_EQ(Trusting(m_dir.File("self.pem")), S_OK);
    EXPECT_EQ(ConnectTo(u"localhost", selfSigned.Port()), S_OK);
    EXPECT_EQ(ConnectTo(u"localhost", runtime.Port()), VT_E_TLS_UNTRUSTED);
}

TEST_F(ToolkitTls, EachRefusalHasItsReasonAndSendsNoCredentials)
{
    RuntimeProcess good, expired, other, plain;
    ASSERT_TRUE(StartTls(good));
    ASSERT_TRUE(StartTls(expired, "expired"));
    ASSERT_TRUE(StartTls(other, "other"));
    ASSERT_TRUE(plain.Start({"--users", m_dir.File("users.txt")}));
    const auto through = [&](quint16 port, HRESULT expected) {
        RecordingRelay relay(port);
        EXPECT_EQ(ConnectTo(u"127.0.0.1", relay.Port()), expected);
        EXPECT_EQ(m_handle, nullptr);
        const QByteArray seen = relay.Capture();
        EXPECT_FALSE(seen.contains("root")) << "the user name passed";
        EXPECT_FALSE(seen.contains("VTRT") && expected != VT_E_TLS_REQUIRED) << "a protocol byte passed";
    };

    ASSERT_EQ(VtSetTransportSecurity(1, u""), S_OK); // the system's CA store knows no test CA
    through(good.Port(), VT_E_TLS_UNTRUSTED);
    EXPECT_EQ(RefusedFingerprint(), Fingerprint("server"));
    EXPECT_EQ(RefusedFingerprint().size(), 32 * 3 - 1);

    ASSERT_EQ(Trusting(m_dir.File("ca.pem")), S_OK);
    through(expired.Port(), VT_E_TLS_EXPIRED);
    through(other.Port(), VT_E_TLS_NAME);
    through(plain.Port(), VT_E_TLS_ABSENT);
    EXPECT_EQ(ConnectTo(u"localhost", good.Port()), S_OK);
    EXPECT_EQ(RefusedFingerprint(), "") << "nothing refused any more";

    ASSERT_EQ(VtSetTransportSecurity(0, u""), S_OK);
    through(good.Port(), VT_E_TLS_REQUIRED);
    EXPECT_EQ(ConnectTo(u"127.0.0.1", plain.Port()), S_OK);

    // A CA file that cannot serve is refused when it is set, and nothing changes.
    m_dir.Write("empty.pem", "no certificate here");
    ASSERT_EQ(Trusting(m_dir.File("ca.pem")), S_OK);
    EXPECT_EQ(Trusting(m_dir.File("empty.pem")), VT_E_ARGUMENT);
    EXPECT_EQ(Trusting(m_dir.File("missing.pem")), VT_E_ARGUMENT);
    EXPECT_EQ(ConnectTo(u"127.0.0.1", good.Port()), S_OK);
}

TEST_F(ToolkitTls, RoutesThroughProxyGatewayAndBothCarryTlsUnchanged)
{
    if (!TinyProxy::Available())
        GTEST_SKIP() << "tinyproxy is not installed (scripts/install-deps.sh installs it)";
    RuntimeProcess runtime, gateway;
    TinyProxy proxy;
    ASSERT_TRUE(StartTls(runtime));
    ASSERT_TRUE(gateway.Start({"--gateway"}));
    ASSERT_TRUE(proxy.Start({runtime.Port(), gateway.Port()}));
    ASSERT_EQ(Trusting(m_dir.File("ca.pem")), S_OK);
    const QString viaGateway = QStringLiteral("127.0.0.1:%1").arg(gateway.Port());
    const struct
    {
        const char16_t* proxy;
        int proxyPort;
        QString gateway;
    } routes[] = {
        {u"127.0.0.1", proxy.Port(), QString()}, {u"", 0, viaGateway}, {u"127.0.0.1", proxy.Port(), viaGateway}};
    for (const auto& route : routes) {
        ASSERT_EQ(ConnectRuntime(u"localhost", runtime.Port(), route.proxy, route.proxyPort, U(route.gateway).c_str(),
                                 10, &m_handle),
                  S_OK);
        ActivateConnection(m_handle);
        EXPECT_EQ(Evaluate("Test.ReadOnly + 1"), "8");
        EXPECT_EQ(IsConnectionLost(m_handle), 0);
    }
}

TEST(RuntimeTls, OpenSslClientNegotiatesTls13AndPlainClientsGetAnAlert)
{
    TempDir dir;
    ASSERT_TRUE(TestCertificates::Make(dir.Path()));
    RuntimeProcess runtime;
    ASSERT_TRUE(runtime.Start({"--tls-cert", dir.File("server.pem"), "--tls-key", dir.File("server.key")}));
    QProcess client;
    client.start("openssl", {"s_client", "-connect", QStringLiteral("127.0.0.1:%1").arg(runtime.Port()), "-CAfile",
                             dir.File("ca.pem"), "-verify_return_error", "-brief"});
    ASSERT_TRUE(client.waitForStarted(10000));
    client.closeWriteChannel();
    ASSERT_TRUE(client.waitForFinished(10000));
    const QByteArray said = client.readAllStandardOutput() + client.readAllStandardError();
    EXPECT_TRUE(said.contains("Protocol version: TLSv1.3")) << said.constData();
    EXPECT_TRUE(said.contains("Verification: OK")) << said.constData();

    // A client of the plain protocol: its greeting gets a TLS alert and the door.
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, runtime.Port());
    ASSERT_TRUE(socket.waitForConnected(5000));
    socket.write(QByteArray::fromHex("0000000b0100000001565452540002"));
    QByteArray answer;
    while (socket.waitForReadyRead(5000))
        answer += socket.readAll();
    EXPECT_EQ(answer.toHex(), "15030300020246");
    EXPECT_EQ(socket.state(), QAbstractSocket::UnconnectedState);
}

TEST(RuntimeTls, RefusesToStartWithKeyFilesThatCannotServe)
{
    TempDir dir;
    ASSERT_TRUE(TestCertificates::Make(dir.Path()));
    QFile::copy(dir.File("server.key"), dir.File("open.key"));
    QFile::setPermissions(dir.File("open.key"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    const struct
    {
        QString cert, key, named;
    } cases[] = {
        {dir.File("missing.pem"), dir.File("server.key"), dir.File("missing.pem")},
        {dir.File("server.pem"), dir.File("missing.key"), dir.File("missing.key")},
        {dir.File("server.pem"), dir.File("ca.key"), dir.File("ca.key")},         // another key
        {dir.File("server.pem"), dir.File("open.key"), dir.File("open.key")},     // others may read it
        {dir.File("server.key"), dir.File("server.key"), dir.File("server.key")}, // no certificate
    };
    for (const auto& c : cases) {
        QProcess p;
        p.start(RuntimeProcess::Executable(), {"--port", "0", "--tls-cert", c.cert, "--tls-key", c.key});
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 1) << c.named.toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains(c.named.toUtf8())) << c.named.toStdString();
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty()) << "no ready line";
    }
    QProcess p;
    p.start(RuntimeProcess::Executable(),
            {"--gateway", "--tls-cert", dir.File("server.pem"), "--tls-key", dir.File("server.key")});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
}
