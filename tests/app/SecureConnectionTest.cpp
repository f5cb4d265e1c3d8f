// The program's secure-connection settings and what the user is told when a
// runtime is refused: at start one message with the reason, while
// reconnecting nothing but the title.
#include "ModalRun.h"
#include "app/CQuillonExtApp.h"
#include "app/CQuillonExtDlg.h"
#include "platform/MessageBox.h"
#include "platform/Module.h"
#include "platform/Profile.h"
#include "platform/TickCount.h"
#include "tests/common/TempDir.h"
#include "tests/common/TestCertificates.h"
#include "tests/toolkit/RuntimeProcess.h"

#include <QSslCertificate>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class SecureWindow : public CQuillonExtDlg
{
public:
    explicit SecureWindow(const QString& dataFolder)
        : CQuillonExtDlg(QString(), QString())
    {
        m_strDataFolder = dataFolder;
    }
    using CQuillonExtDlg::OnTimer;
};

class SecureConnection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestCertificates::Make(program.Path()));
        ASSERT_NE(ToolkitStartup(), 0);
        app.m_strIniPath = program.File("QuillonExt.ini");
        SetProfileFileName(data.File("QuillonExt.ini"));
        AfxSetResourceHandle(GetExecutableModule());
        previousHandler = SetMessageBoxHandler([this](const QString& text, const QString&, UINT) {
            messages << text;
            return IDOK;
        });
        previousTicks = SetTickSource([this] { return now; });
    }
    void TearDown() override
    {
        SetMessageBoxHandler(previousHandler);
        SetTickSource(previousTicks);
        ToolkitShutdown();
    }

    bool StartRuntime(RuntimeProcess& runtime, const char* certificate, quint16 port = 0)
    {
        app.m_nDsPort = port;
        if (!runtime.Start({"--tls-cert", program.File(QString(certificate) + ".pem"), "--tls-key",
                            program.File(QString(certificate) + ".key")},
                           port))
            return false;
        app.m_nDsPort = runtime.Port();
        return true;
    }

    // Opens the window with the settings of `app`; the messages shown while it opens.
    QStringList Open(SecureWindow& window, const std::function<void()>& action = [] {})
    {
        messages.clear();
        RunModal(window, [&] {
            action();
            window.EndDialog(IDOK);
        });
        return messages;
    }

    // Opens a window that must close by itself (a failed opening); a window
    // that stays open is ended after a while, so the test cannot hang.
    QStringList OpenRefused(SecureWindow& window)
    {
        messages.clear();
        QTimer::singleShot(5000, &window, [&window] { window.EndDialog(kLeftOpen); });
        EXPECT_EQ(window.DoModal(), IDOK);
        return messages;
    }

    CQuillonExtApp app;
    TempDir program, data;
    QStringList messages;
    MessageBoxHandler previousHandler;
    TickSource previousTicks;
    std::uint64_t now = 1000000;
};

} // namespace

TEST(SecureSettings, IniAndCommandLineWithTheUsualPrecedence)
{
    TempDir dir;
    dir.Write("QuillonExt.ini", "[Options]\r\ntls=1\r\ntlsca=runtime.pem\r\n");
    CQuillonExtApp fromFile;
    fromFile.m_strIniPath = dir.File("QuillonExt.ini");
    fromFile.ReadConnectionSettings();
    EXPECT_TRUE(fromFile.m_bTls);
    EXPECT_EQ(fromFile.m_strTlsCa, "runtime.pem");
    fromFile.ParseCommandLine(CQuillonExtApp::JoinArguments({"/TLSCA:/etc/ssl/plant ca.pem"}));
    EXPECT_EQ(fromFile.m_strTlsCa, "/etc/ssl/plant ca.pem");

    CQuillonExtApp plain;
    plain.m_strIniPath = dir.File("missing.ini");
    plain.ReadConnectionSettings();
    EXPECT_FALSE(plain.m_bTls);
    EXPECT_EQ(plain.m_strTlsCa, "");
    // "/tls" is a whole token: "/tlsx" is no switch, and "/tlsca:" does not set it.
    plain.ParseCommandLine("/tlsx /tlsca:a.pem");
    EXPECT_FALSE(plain.m_bTls);
    EXPECT_EQ(plain.m_strTlsCa, "a.pem");
    plain.ParseCommandLine("/Tls");
    EXPECT_TRUE(plain.m_bTls);
}

TEST_F(SecureConnection, ARelativeCaFileIsTheProgramFoldersAndAnUnreadableOneEndsTheStart)
{
    RuntimeProcess runtime;
    ASSERT_TRUE(StartRuntime(runtime, "server"));
    app.m_strDsIp = "localhost";
    app.m_strTlsCa = "ca.pem";
    ASSERT_TRUE(app.ApplyTransportSecurity(program.Path()));
    SecureWindow window(data.Path());
    EXPECT_TRUE(Open(window, [&] { EXPECT_TRUE(window.m_bConnected); }).isEmpty()) << messages.join('|').toStdString();

    app.m_strTlsCa = "missing.pem";
    EXPECT_FALSE(app.ApplyTransportSecurity(program.Path()));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "The certificate file '" + program.File("missing.pem") +
                               "' cannot be read or holds no certificate.");
}

TEST_F(SecureConnection, EachRefusalAtStartIsOneMessageWithItsReason)
{
    RuntimeProcess other, self;
    app.m_strDsIp = "127.0.0.1";
    app.m_strTlsCa = program.File("ca.pem");
    ASSERT_TRUE(app.ApplyTransportSecurity(program.Path()));
    ASSERT_TRUE(StartRuntime(other, "other"));
    SecureWindow refusedName(data.Path());
    EXPECT_EQ(OpenRefused(refusedName), QStringList{"The certificate of '127.0.0.1' is not issued for that name."});
    EXPECT_EQ(refusedName.m_nTimerId, 0);

    ASSERT_TRUE(StartRuntime(self, "self"));
    SecureWindow untrusted(data.Path());
    const QStringList shown = OpenRefused(untrusted);
    const QString fingerprint = QString::fromLatin1(
        QSslCertificate::fromPath(program.File("self.pem")).first().digest(QCryptographicHash::Sha256).toHex(':').toUpper());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("The certificate of '127.0.0.1' is not trusted.\nSHA-256 fingerprint: " +
                                    fingerprint + "\n"))
        << shown[0].toStdString();

    // A runtime that speaks only TLS, asked in plain text.
    app.m_bTls = FALSE;
    app.m_strTlsCa.clear();
    ASSERT_TRUE(app.ApplyTransportSecurity(program.Path()));
    SecureWindow plain(data.Path());
    EXPECT_EQ(OpenRefused(plain), QStringList{"'127.0.0.1' accepts only secure connections.\n"
                                       "Turn TLS on with /tls or with tls=1 in QuillonExt.ini."});
}

TEST_F(SecureConnection, WhileReconnectingARefusedCertificateOnlyKeepsTheTitle)
{
    RuntimeProcess runtime;
    app.m_strDsIp = "localhost";
    app.m_strTlsCa = program.File("ca.pem");
    ASSERT_TRUE(app.ApplyTransportSecurity(program.Path()));
    ASSERT_TRUE(StartRuntime(runtime, "server"));
    const quint16 port = runtime.Port();
    SecureWindow window(data.Path());
    const QStringList shown = Open(window, [&] {
        window.OnTimer(1);
        runtime.Kill();
        window.OnTimer(1);
        ASSERT_FALSE(window.m_bConnected);
        // The runtime comes back with a certificate that has expired.
        ASSERT_TRUE(StartRuntime(runtime, "expired", port));
        for (int attempt = 0; attempt < 3; ++attempt) {
            now += 10001;
            window.OnTimer(1);
            EXPECT_FALSE(window.m_bConnected);
            EXPECT_EQ(window.windowTitle(), "Quillon: <LOCAL> - Disconnected");
        }
    });
    EXPECT_TRUE(shown.isEmpty()) << shown.join('|').toStdString();
}
