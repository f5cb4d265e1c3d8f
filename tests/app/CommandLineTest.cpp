#include "app/CQuillonExtApp.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Parsed
{
    CQuillonExtApp app;

    explicit Parsed(const QStringList& shellArguments, const QString& ini = QString())
    {
        app.m_strIniPath = ini;
        app.ReadConnectionSettings();
        app.ParseCommandLine(CQuillonExtApp::JoinArguments(shellArguments));
    }
};

TEST(CommandLine, NoArgumentsAndNoFilesGiveTheDefaults)
{
    Parsed p({}, QStringLiteral("/nonexistent/QuillonExt.ini"));
    EXPECT_EQ(p.app.m_strDsIp, "localhost");
    EXPECT_EQ(p.app.m_nDsPort, 1234);
    EXPECT_EQ(p.app.m_strWtg, "");
    EXPECT_EQ(p.app.m_strProxyIp, "");
    EXPECT_EQ(p.app.m_nProxyPort, 0);
    EXPECT_EQ(p.app.m_strUserName, "");
    EXPECT_EQ(p.app.m_strPassword, "");
}

TEST(CommandLine, TheCommandLineOverridesTheSettingsFile)
{
    TempDir dir;
    dir.Write("QuillonExt.ini", "[Options]\r\ndsip=plant7\r\ndsport=5000\r\nwtg=gw\r\nproxyip=px\r\nproxyp=8080\r\n");
    Parsed fromFile({}, dir.File("QuillonExt.ini"));
    EXPECT_EQ(fromFile.app.m_strDsIp, "plant7");
    EXPECT_EQ(fromFile.app.m_nDsPort, 5000);
    EXPECT_EQ(fromFile.app.m_strWtg, "gw");
    EXPECT_EQ(fromFile.app.m_strProxyIp, "px");
    EXPECT_EQ(fromFile.app.m_nProxyPort, 8080);

    Parsed both({"/dsport:6000", "/DSIP:host1"}, dir.File("QuillonExt.ini"));
    EXPECT_EQ(both.app.m_nDsPort, 6000);
    EXPECT_EQ(both.app.m_strDsIp, "host1");
    EXPECT_EQ(both.app.m_strWtg, "gw");
}

TEST(CommandLine, SwitchesMatchByPrefixIgnoringCaseAndLaterWins)
{
    Parsed p({"/dsipx:1", "/dsip:a", "/DsIp:b", "/dsport:12abc", "/proxyp:x", "unknown", "/password:secret"});
    EXPECT_EQ(p.app.m_strDsIp, "b");
    EXPECT_EQ(p.app.m_nDsPort, 12);
    EXPECT_EQ(p.app.m_nProxyPort, 0);
    EXPECT_EQ(p.app.m_strPassword, "secret");
}

TEST(CommandLine, QuotedValuesKeepTheirSpaces)
{
    // One shell argument holding a space, and the quotes written inside the argument.
    EXPECT_EQ(Parsed({"/username:John Smith"}).app.m_strUserName, "John Smith");
    EXPECT_EQ(Parsed({"/username:\"John Smith\""}).app.m_strUserName, "John Smith");
    EXPECT_EQ(Parsed({"/wtg:\"a b\""}).app.m_strWtg, "a b");
    EXPECT_EQ(Parsed({"\"/wtg:a b\""}).app.m_strWtg, "a b");
    // Tabs do not separate tokens; only spaces do.
    EXPECT_EQ(Parsed({"/dsip:a\tb"}).app.m_strDsIp, "a\tb");
}

TEST(CommandLine, AnUnbalancedQuoteRunsToTheEnd)
{
    Parsed p({"/username:\"John", "/dsip:x"});
    EXPECT_EQ(p.app.m_strUserName, "John /dsip:x");
    EXPECT_EQ(p.app.m_strDsIp, "localhost");
}

TEST(CommandLine, JoiningWrapsOnlyArgumentsWithASpaceAndNoQuote)
{
    EXPECT_EQ(CQuillonExtApp::JoinArguments({"/a:1", "/b:x y", "/c:\"p q\""}), "/a:1 \"/b:x y\" /c:\"p q\"");
    EXPECT_EQ(CQuillonExtApp::JoinArguments({}), "");
}

TEST(CommandLine, MapTagTextReturnsTheTextUnchanged)
{
    EXPECT_EQ(CQuillonExtApp::MapTagText("Plant.Tank1.Level + 1"), "Plant.Tank1.Level + 1");
}

} // namespace
