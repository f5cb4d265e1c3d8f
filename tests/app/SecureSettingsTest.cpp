// The secure-connection settings: the program folder's QuillonExt.ini and the
// command line, with the usual precedence.
#include "app/CQuillonExtApp.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

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
