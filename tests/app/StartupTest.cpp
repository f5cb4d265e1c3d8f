#include "EnvironmentGuard.h"
#include "app/CQuillonExtApp.h"
#include "app/CQuillonExtDlg.h"
#include "platform/MessageBox.h"
#include "platform/Module.h"
#include "platform/Profile.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/common/TempDir.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Runs the whole start-up with an executable placed in a scratch program folder
// and records what the main window would start from.
class RecordingApp : public CQuillonExtApp
{
public:
    QString title, header, dataFolder, userName, password, profile;
    bool ran = false;

protected:
    void RunMainWindow(CQuillonExtDlg& dialog) override
    {
        ran = true;
        title = LoadResString(AFX_IDS_APP_TITLE);
        header = LoadResString(IDS_HEADER_TAG);
        dataFolder = dialog.m_strDataFolder;
        userName = dialog.m_strUserName;
        password = dialog.m_strPassword;
        profile = GetProfileFileName();
    }
};

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        exe.path = program.File("QuillonExt");
        program.MakeDir("de");
        const QString german = qEnvironmentVariable("QUILLON_BIN_DIR") + QStringLiteral("/de/QuillonExt-mui.dll");
        ASSERT_TRUE(QFile::copy(german, program.File("de/QuillonExt-mui.dll")));
        env.Set("XDG_DATA_HOME", data.Path().chopped(1).toUtf8());
        env.Unset("LC_ALL");
        env.Unset("LC_MESSAGES");
        app.m_hInstance = &exe;
        previousResources = AfxGetResourceHandle();
    }
    // The start-up leaves its own module active; it dies with the test.
    void TearDown() override { AfxSetResourceHandle(previousResources); }

    TempDir program, data;
    ModuleRecord exe;
    ModuleRecord* previousResources = nullptr;
    EnvironmentGuard env;
    RecordingApp app;
};

TEST_F(StartupTest, GermanLocaleTakesTheStringsFromTheGermanLibrary)
{
    env.Set("LANG", "de_DE.UTF-8");
    EXPECT_FALSE(app.InitInstance({}));
    ASSERT_TRUE(app.ran);
    EXPECT_EQ(app.header, QStringLiteral("Variable/Ausdruck"));
    EXPECT_EQ(app.title, QStringLiteral("Quillon"));
    // Released once the window has closed.
    EXPECT_EQ(app.m_hResDll, nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), &exe);
    EXPECT_EQ(app.ExitInstance(), 0);
}

TEST_F(StartupTest, EnglishLocaleUsesTheProgramsOwnStrings)
{
    env.Set("LANG", "en_US.UTF-8");
    app.InitInstance({});
    EXPECT_EQ(app.header, QStringLiteral("Tag/Expression"));
}

TEST_F(StartupTest, FoldersSettingsAndCommandLineReachTheWindow)
{
    env.Set("LANG", "C");
    program.Write("QuillonExt.ini", "[Options]\r\ndsip=plant\r\ndsport=5000\r\n");
    app.InitInstance({"/dsport:6000", "/username:John Smith", "/password:pw"});
    EXPECT_EQ(app.m_strIniPath, program.File("QuillonExt.ini"));
    EXPECT_EQ(app.m_strUserIniPath, data.File("QuillonExt.ini"));
    EXPECT_EQ(app.dataFolder, data.Path());
    EXPECT_EQ(app.profile, data.File("QuillonExt.ini"));
    EXPECT_EQ(app.m_strDsIp, "plant");
    EXPECT_EQ(app.m_nDsPort, 6000);
    EXPECT_EQ(app.userName, "John Smith");
    EXPECT_EQ(app.password, "pw");
}

TEST_F(StartupTest, AServerThatCannotBeReachedEndsTheProgramWithOneMessage)
{
    env.Set("LANG", "C");
    QStringList messages;
    const MessageBoxHandler previous = SetMessageBoxHandler([&messages](const QString& text, const QString&, UINT) {
        messages << text;
        return IDOK;
    });
    CQuillonExtApp real;
    real.m_hInstance = &exe;
    // Port 1 on loopback: nothing listens there.
    EXPECT_FALSE(real.InitInstance({"/dsport:1"}));
    SetMessageBoxHandler(previous);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Error connecting to 'LOCAL' (")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("'TCP/IP Server' is running")) << messages[0].toStdString();
}

} // namespace
