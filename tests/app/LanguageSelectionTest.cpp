#include "app/LanguageSelection.h"
#include "EnvironmentGuard.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/common/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString GermanLibrary()
{
    return qEnvironmentVariable("QUILLON_BIN_DIR") + QStringLiteral("/de/QuillonExt-mui.dll");
}

// A program folder with an executable named QuillonExt and language libraries
// placed where a test wants them.
class LanguageTest : public ::testing::Test
{
protected:
    void SetUp() override { exe.path = folder.File("QuillonExt"); }
    void TearDown() override { FreeLanguageLibrary(&exe, resources); }

    void PlaceLibrary(const QString& subfolder, const QString& name = QStringLiteral("QuillonExt-mui.dll"))
    {
        const QString dir = subfolder.isEmpty() ? folder.Path() : folder.MakeDir(subfolder);
        ASSERT_TRUE(QFile::copy(GermanLibrary(), dir + name)) << GermanLibrary().toStdString();
    }

    QString Loaded() const
    {
        return resources == &exe ? QStringLiteral("exe") : resources->path.mid(folder.Path().size());
    }

    TempDir folder;
    ModuleRecord exe;
    HMODULE resources = nullptr;
    EnvironmentGuard env;
};

TEST_F(LanguageTest, EnglishUsLooksForNoLibrary)
{
    PlaceLibrary(QString());
    for (const char* culture : {"en-US", "EN-us"}) {
        LoadLanguageLibrary(culture, &exe, resources);
        EXPECT_EQ(Loaded(), "exe") << culture;
    }
}

TEST_F(LanguageTest, TheCultureIsShortenedUntilAFolderExists)
{
    PlaceLibrary("de");
    LoadLanguageLibrary("de-AT", &exe, resources);
    EXPECT_EQ(Loaded(), "de/QuillonExt-mui.dll");
    EXPECT_EQ(LoadResString(resources, IDS_HEADER_VALUE), "Wert");
}

TEST_F(LanguageTest, TheFullCultureFolderComesFirst)
{
    PlaceLibrary("de");
    PlaceLibrary("de-DE");
    LoadLanguageLibrary("de-DE", &exe, resources);
    EXPECT_EQ(Loaded(), "de-DE/QuillonExt-mui.dll");
}

TEST_F(LanguageTest, NoCultureLooksInTheProgramFolder)
{
    PlaceLibrary(QString());
    LoadLanguageLibrary("", &exe, resources);
    EXPECT_EQ(Loaded(), "QuillonExt-mui.dll");
}

TEST_F(LanguageTest, ACultureFolderWithoutALibraryFallsBackToTheProgramsOwn)
{
    PlaceLibrary(QString());
    folder.MakeDir("de-AT");
    PlaceLibrary("de");
    LoadLanguageLibrary("de-AT", &exe, resources);
    EXPECT_EQ(Loaded(), "exe");
    EXPECT_EQ(LoadResString(resources, IDS_HEADER_VALUE), "Value");
}

TEST_F(LanguageTest, AKnownExtensionIsNamedInTheLibrary)
{
    exe.path = folder.File("QuillonExt.exe");
    PlaceLibrary("de", "QuillonExt-EXE-mui.dll");
    LoadLanguageLibrary("de", &exe, resources);
    EXPECT_EQ(Loaded(), "de/QuillonExt-EXE-mui.dll");
}

TEST_F(LanguageTest, ReloadingReleasesThePreviousLibrary)
{
    PlaceLibrary("de");
    LoadLanguageLibrary("de", &exe, resources);
    ASSERT_NE(resources, &exe);
    LoadLanguageLibrary("en-US", &exe, resources);
    EXPECT_EQ(resources, &exe);
    FreeLanguageLibrary(&exe, resources);
    EXPECT_EQ(resources, nullptr);
}

TEST_F(LanguageTest, CultureNamesThatLeaveTheProgramFolderAreRefused)
{
    // A library one level up would load for "..": it must not.
    TempDir outside;
    PlaceLibrary(QString());
    for (const char* culture : {"..", "../de", "de/..", "..-x", "a\\b", "/tmp"}) {
        EXPECT_FALSE(IsSafeCultureName(culture)) << culture;
        LoadLanguageLibrary(culture, &exe, resources);
        EXPECT_EQ(Loaded(), "QuillonExt-mui.dll") << culture; // treated as no culture
    }
    EXPECT_TRUE(IsSafeCultureName("sr-SP-Latn"));
    EXPECT_TRUE(IsSafeCultureName(""));
}

TEST_F(LanguageTest, CultureNameFromSettingsOverridesTheLocale)
{
    env.Set("LC_ALL", "de_AT.UTF-8");
    folder.Write("ps.ini", "[Language]\r\nCultureName=fr-CA\r\n");
    EXPECT_EQ(ReadCultureName(folder.File("ps.ini"), 255), "fr-CA");
    EXPECT_EQ(ReadCultureName(folder.File("none.ini"), 255), "de-AT");
    EXPECT_EQ(ReadCultureName(QString(), 255), "de-AT");
    env.Set("LC_ALL", "es_AR.UTF-8");
    EXPECT_EQ(ReadCultureName(QString(), 3), "es");
    env.Set("LC_ALL", "en_IN.UTF-8");
    EXPECT_EQ(ReadCultureName(QString(), 255), "");
    folder.Write("long.ini", "[Language]\r\nCultureName=" + QByteArray(300, 'x') + "\r\n");
    EXPECT_EQ(ReadCultureName(folder.File("long.ini"), 255).size(), 254);
}

} // namespace
