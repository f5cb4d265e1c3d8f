#include "app/DataFolder.h"
#include "EnvironmentGuard.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

namespace {

class DataFolderTest : public ::testing::Test
{
protected:
    void SetUp() override { env.Set("XDG_DATA_HOME", local.Path().chopped(1).toUtf8()); }

    TempDir program;
    TempDir local;
    EnvironmentGuard env;
};

TEST_F(DataFolderTest, WithoutProgramSettingsItIsLocalApplicationDataItself)
{
    EXPECT_EQ(GetDataFolder(program.Path()), local.Path());
}

TEST_F(DataFolderTest, DefaultProductFolderCarriesTheVersion)
{
    program.Write("Program Settings.ini", "[OEM]\r\n");
    EXPECT_EQ(GetDataFolder(program.Path()), local.Path() + "Vantel v6.1/");
    program.Write("Program Settings.ini", "[Install]\r\nVersion=7.0\r\n");
    EXPECT_EQ(GetDataFolder(program.Path()), local.Path() + "Vantel v7.0/");
}

TEST_F(DataFolderTest, CompanyFortyLeavesTheVersionOut)
{
    program.Write("Program Settings.ini", "[OEM]\r\nCompanyID=40\r\nProductName=Acme\r\n[Install]\r\nVersion=9\r\n");
    EXPECT_EQ(GetDataFolder(program.Path()), local.Path() + "Acme/");
}

TEST_F(DataFolderTest, AProgramSettingsDirectoryCountsAsAbsent)
{
    program.MakeDir("Program Settings.ini");
    EXPECT_EQ(GetDataFolder(program.Path()), local.Path());
}

TEST_F(DataFolderTest, HomeIsTheFallbackAndNoFolderAtAllGivesTheProgramFolder)
{
    env.Set("XDG_DATA_HOME", "relative/ignored");
    env.Set("HOME", local.Path().chopped(1).toUtf8());
    EXPECT_EQ(GetDataFolder(program.Path()), local.Path() + ".local/share/");
    env.Unset("XDG_DATA_HOME");
    env.Unset("HOME");
    EXPECT_EQ(GetDataFolder(program.Path()), program.Path());
}

TEST_F(DataFolderTest, APathTooLongForTheCapacityKeepsTheProgramFolder)
{
    program.Write("Program Settings.ini", "[OEM]\r\nCompanyID=40\r\nProductName=" + QByteArray(120, 'p') + "\r\n");
    env.Set("XDG_DATA_HOME", "/" + QByteArray(200, 'd'));
    EXPECT_EQ(GetDataFolder(program.Path()), program.Path());
}

TEST_F(DataFolderTest, ProductFolderName)
{
    program.Write("ps.ini", "[OEM]\r\nProductName=Acme\r\n[Install]\r\nVersion=2.5\r\n");
    EXPECT_EQ(GetProductFolderName(program.File("ps.ini"), true), "Acme v2.5");
    EXPECT_EQ(GetProductFolderName(program.File("ps.ini"), false), "Acme");
    EXPECT_EQ(GetProductFolderName(program.File("none.ini"), true), "Vantel v6.1");
}

} // namespace
