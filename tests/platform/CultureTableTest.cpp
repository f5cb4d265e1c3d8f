#include "platform/CultureTable.h"
#include "platform/CrtString.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

QString Culture(LCID id)
{
    return QString::fromUtf16(GetCultureNameFromLcid(id));
}

TEST(CultureTable, ExactLookupOfNeutralAndSpecificIds)
{
    EXPECT_EQ(Culture(7), "de");
    EXPECT_EQ(Culture(4), "zh-CHS");
    EXPECT_EQ(Culture(101), "div");
    EXPECT_EQ(Culture(0x0C07), "de-AT");
    EXPECT_EQ(Culture(0x042C), "az-AZ-Latn");
    EXPECT_EQ(Culture(0x0C1A), "sr-SP-Cyrl");
    EXPECT_EQ(Culture(0x2409), "en-CB");
    EXPECT_EQ(Culture(0x7C1A), "sr");
    // Missing ids are not reduced to their primary language.
    EXPECT_EQ(Culture(0x0C0A), "");
    EXPECT_EQ(Culture(23), "");
    EXPECT_EQ(Culture(0), "");
    EXPECT_EQ(Culture(0xFFFFFFFF), "");
}

TEST(CultureTable, TheTableHas227Entries)
{
    int count = 0;
    for (LCID id = 0; id < 0x8000; ++id)
        count += Culture(id).isEmpty() ? 0 : 1;
    EXPECT_EQ(count, 227);
}

TEST(CultureTable, UserLocaleComesFromThePosixLocale)
{
    EXPECT_EQ(LcidFromPosixLocale("de_AT.UTF-8"), 0x0C07u);
    EXPECT_EQ(LcidFromPosixLocale("de_DE@euro"), 0x0407u);
    EXPECT_EQ(LcidFromPosixLocale("fr_CA"), 0x0C0Cu);
    EXPECT_EQ(LcidFromPosixLocale("de"), 0x0407u);
    EXPECT_EQ(LcidFromPosixLocale("C"), 0x0409u);
    EXPECT_EQ(LcidFromPosixLocale("POSIX"), 0x0409u);
    EXPECT_EQ(LcidFromPosixLocale("C.UTF-8"), 0x0409u);
    EXPECT_EQ(LcidFromPosixLocale(""), 0x0409u);
    // A locale the table does not know gives an id that maps to no culture.
    EXPECT_EQ(Culture(LcidFromPosixLocale("en_IN.UTF-8")), "");
    EXPECT_EQ(Culture(LcidFromPosixLocale(QByteArray(300, 'x'))), "");
}

TEST(CultureTable, EnvironmentOrderIsLcAllThenLcMessagesThenLang)
{
    const QByteArray all = qgetenv("LC_ALL"), messages = qgetenv("LC_MESSAGES"), lang = qgetenv("LANG");
    qputenv("LC_ALL", "");
    qputenv("LC_MESSAGES", "");
    qputenv("LANG", "de_AT.UTF-8");
    EXPECT_EQ(GetUserDefaultLCID(), 0x0C07u);
    qputenv("LC_MESSAGES", "fr_FR.UTF-8");
    EXPECT_EQ(GetUserDefaultLCID(), 0x040Cu);
    qputenv("LC_ALL", "C");
    EXPECT_EQ(GetUserDefaultLCID(), 0x0409u);
    qputenv("LC_ALL", all);
    qputenv("LC_MESSAGES", messages);
    qputenv("LANG", lang);
}

TEST(CrtString, WtoiTakesLeadingDigitsAndSaturates)
{
    EXPECT_EQ(_wtoi(u"6000"), 6000);
    EXPECT_EQ(_wtoi(u"  -12x"), -12);
    EXPECT_EQ(_wtoi(u"abc"), 0);
    EXPECT_EQ(_wtoi(u""), 0);
    EXPECT_EQ(_wtoi(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(_wtoi(u"-99999999999999999999"), INT_MIN);
}

} // namespace
