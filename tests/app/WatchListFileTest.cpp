#include "app/WatchListFile.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::vector<WatchListRow> RoundTrip(const std::vector<WatchListRow>& rows)
{
    return WatchListFile::Decode(WatchListFile::Encode(rows));
}

void ExpectSame(const std::vector<WatchListRow>& a, const std::vector<WatchListRow>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].text, b[i].text) << i;
        EXPECT_EQ(a[i].continuous, b[i].continuous) << i;
    }
}

TEST(WatchListFile, ReadingStopsAtTheFirstEmptyLine)
{
    const auto rows = WatchListFile::Decode("A|1\r\nB|0\r\n\r\nC|1\r\n");
    ExpectSame(rows, {{"A", true}, {"B", false}});
}

TEST(WatchListFile, PlainListsAreOneBytePerCharacterWithCrLfLines)
{
    EXPECT_EQ(WatchListFile::Encode({{"A", true}, {"B", false}}), QByteArray("A|1\r\nB|0\r\n"));
    EXPECT_EQ(WatchListFile::Encode({{"", false}, {"x|y", true}}), QByteArray("|0\r\nx|y|1\r\n"));
    // Characters up to 255 are one byte each, backslashes untouched.
    EXPECT_EQ(WatchListFile::Encode({{QStringLiteral("Grüße\\1"), false}}), QByteArray("Gr\xFC\xDF"
                                                                                       "e\\1|0\r\n"));
    EXPECT_EQ(WatchListFile::Encode({}), QByteArray());
}

TEST(WatchListFile, TheFlagIsWhatFollowsTheLastBar)
{
    const auto rows = WatchListFile::Decode("a|b|1\r\nno bar\nc|1 \r\n|1\r\nd|\r\n");
    ExpectSame(rows, {{"a|b", true}, {"no bar", false}, {"c", false}, {"", true}, {"d", false}});
}

TEST(WatchListFile, ListsBeyondOneByteACharacterLoseNothing)
{
    const std::vector<WatchListRow> rows = {{QStringLiteral("Tank\u2013Level"), true},
                                            {QStringLiteral("two\nlines\r\nhere"), false},
                                            {QStringLiteral("back\\slash \\n"), true},
                                            {QStringLiteral("Grüße"), false},
                                            {"", false}};
    const QByteArray bytes = WatchListFile::Encode(rows);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.count("\r\n"), 5);
    ExpectSame(WatchListFile::Decode(bytes), rows);
}

TEST(WatchListFile, APlainFirstRowThatLooksLikeTheMarkSurvives)
{
    const std::vector<WatchListRow> rows = {{QString::fromLatin1("\xEF\xBB\xBFx"), true}};
    ExpectSame(RoundTrip(rows), rows);
}

TEST(WatchListFile, ARowStartingWithAByteOrderMarkKeepsIt)
{
    // A zero-width no-break space pasted at the front of a row is text, on
    // every row: only the file's first three bytes are the mark.
    const std::vector<WatchListRow> rows = {{QStringLiteral("\uFEFFTank"), true}, {QStringLiteral("\uFEFF"), false}};
    ExpectSame(RoundTrip(rows), rows);
    ExpectSame(WatchListFile::Decode("\xEF\xBB\xBF\xEF\xBB\xBFx|0\r\n"), {{QStringLiteral("\uFEFFx"), false}});
}

TEST(WatchListFile, WriteReplacesTheFileAndAMissingFolderFailsQuietly)
{
    TempDir dir;
    const QString path = dir.File("DBRemoteQuillon.dat");
    dir.Write("DBRemoteQuillon.dat", "old|1\r\n");
    EXPECT_TRUE(WatchListFile::Write(path, {{"A", true}, {"B", false}}));
    EXPECT_EQ(dir.Read("DBRemoteQuillon.dat"), QByteArray("A|1\r\nB|0\r\n"));
    EXPECT_FALSE(WatchListFile::Write(dir.Path() + "missing/DBRemoteQuillon.dat", {{"A", true}}));
    EXPECT_TRUE(WatchListFile::Read(dir.File("none.dat")).empty());
}

TEST(WatchListFile, GarbageReadsWithoutHarm)
{
    QByteArray garbage;
    for (int i = 0; i < 65536; ++i)
        garbage.append(char((i * 2654435761u) >> 24));
    const auto rows = WatchListFile::Decode(garbage);
    for (const WatchListRow& row : rows)
        EXPECT_FALSE(row.text.contains(u'\n'));
    WatchListFile::Decode(QByteArray("\xEF\xBB\xBF") + garbage);
}

} // namespace
