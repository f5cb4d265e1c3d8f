#include "platform/Profile.h"
#include "tests/common/TempDir.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

QString Read(const QString& file, const QString& section, const QString& key,
             const QString& def = QStringLiteral("dflt"), DWORD capacity = 256)
{
    QString out;
    GetPrivateProfileStringW(section, key, def, out, capacity, file);
    return out;
}

TEST(Profile, MissingFileSectionOrKeyGivesTheDefault)
{
    TempDir dir;
    EXPECT_EQ(Read(dir.File("none.ini"), "Options", "dsip"), "dflt");
    EXPECT_EQ(GetPrivateProfileIntW("Options", "dsport", 1234, dir.File("none.ini")), 1234u);
    dir.Write("a.ini", "[Other]\r\ndsip=x\r\n[Options]\r\nport=1\r\n");
    EXPECT_EQ(Read(dir.File("a.ini"), "Options", "dsip"), "dflt");
    EXPECT_EQ(Read(dir.File("a.ini"), "Missing", "dsip"), "dflt");
    // Trailing spaces of a default are dropped, as Windows does.
    EXPECT_EQ(Read(dir.File("a.ini"), "Options", "none", "abc  "), "abc");
}

TEST(Profile, SectionsAndKeysAreCaseInsensitiveAndValuesTrimmedAndUnquoted)
{
    TempDir dir;
    dir.Write("a.ini", "; comment\r\n[ options ]\r\n  DsIp  =  host1  \r\nwtg=\"a b\"\r\nDSIP=second\r\n");
    EXPECT_EQ(Read(dir.File("a.ini"), "OPTIONS", "dsip"), "host1");
    EXPECT_EQ(Read(dir.File("a.ini"), "Options", "WTG"), "a b");
}

TEST(Profile, TextIsCutToTheCapacity)
{
    TempDir dir;
    dir.Write("a.ini", "[S]\nk=abcdef\n");
    QString out;
    EXPECT_EQ(GetPrivateProfileStringW("S", "k", "", out, 4, dir.File("a.ini")), 3u);
    EXPECT_EQ(out, "abc");
    EXPECT_EQ(GetPrivateProfileStringW("S", "k", "", out, 0, dir.File("a.ini")), 0u);
    EXPECT_EQ(out, "");
}

TEST(Profile, IntegersReadAsWindowsDoes)
{
    TempDir dir;
    dir.Write("a.ini", "[S]\na=5000\nb=12abc\nc=abc\nd=-32640\ne=0x1F\nf=\n");
    const QString f = dir.File("a.ini");
    EXPECT_EQ(GetPrivateProfileIntW("S", "a", 1, f), 5000u);
    EXPECT_EQ(GetPrivateProfileIntW("S", "b", 1, f), 12u);
    EXPECT_EQ(GetPrivateProfileIntW("S", "c", 1, f), 0u);
    EXPECT_EQ(int(GetPrivateProfileIntW("S", "d", 1, f)), -32640);
    EXPECT_EQ(GetPrivateProfileIntW("S", "e", 1, f), 31u);
    EXPECT_EQ(GetPrivateProfileIntW("S", "f", 7, f), 0u);
}

TEST(Profile, FilesFromWindowsReadCorrectly)
{
    TempDir dir;
    const QString text = QStringLiteral("[Language]\r\nCultureName=de-AT\r\n[OEM]\r\nProductName=Äcme\r\n");
    dir.Write("le.ini", QByteArray("\xFF\xFE") + QStringEncoder(QStringEncoder::Utf16LE)(text));
    dir.Write("be.ini", QByteArray("\xFE\xFF") + QStringEncoder(QStringEncoder::Utf16BE)(text));
    dir.Write("u8.ini", QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    for (const char* name : {"le.ini", "be.ini", "u8.ini"}) {
        EXPECT_EQ(Read(dir.File(name), "Language", "CultureName"), "de-AT") << name;
        EXPECT_EQ(Read(dir.File(name), "OEM", "ProductName"), QStringLiteral("Äcme")) << name;
    }
}

TEST(Profile, WritingKeepsTheRestOfTheFile)
{
    TempDir dir;
    const QByteArray original = "; keep me\r\n[Options]\r\nAlwaysOnTop=0\r\nother=1\r\n\r\n[Quillon]\r\nCol1=90\r\n";
    dir.Write("u.ini", original);
    const QString f = dir.File("u.ini");
    EXPECT_TRUE(WritePrivateProfileStringW("options", "alwaysontop", "1", f));
    EXPECT_TRUE(WritePrivateProfileStringW("Quillon", "Col2", "47", f));
    EXPECT_TRUE(WritePrivateProfileStringW("Options", "new", "x", f));
    EXPECT_TRUE(WritePrivateProfileStringW("Fresh", "k", "v", f));
    EXPECT_EQ(dir.Read("u.ini"), QByteArray("; keep me\r\n[Options]\r\nalwaysontop=1\r\nother=1\r\nnew=x\r\n\r\n"
                                            "[Quillon]\r\nCol1=90\r\nCol2=47\r\n[Fresh]\r\nk=v\r\n"));
    EXPECT_TRUE(WritePrivateProfileStringW("Options", "other", QString(), f));
    EXPECT_EQ(Read(f, "Options", "other"), "dflt");
    EXPECT_EQ(Read(f, "Options", "new"), "x");
}

TEST(Profile, WritingAUtf16FileKeepsItsEncoding)
{
    TempDir dir;
    dir.Write("w.ini",
              QByteArray("\xFF\xFE") + QStringEncoder(QStringEncoder::Utf16LE)(QStringLiteral("[S]\r\na=1\r\n")));
    EXPECT_TRUE(WritePrivateProfileStringW("S", "b", "2", dir.File("w.ini")));
    EXPECT_TRUE(dir.Read("w.ini").startsWith("\xFF\xFE"));
    EXPECT_EQ(Read(dir.File("w.ini"), "S", "a"), "1");
    EXPECT_EQ(Read(dir.File("w.ini"), "S", "b"), "2");
}

TEST(Profile, AFileInAMissingFolderIsNotCreated)
{
    TempDir dir;
    const QString f = dir.Path() + "missing/u.ini";
    EXPECT_FALSE(WritePrivateProfileStringW("S", "k", "v", f));
    EXPECT_FALSE(QFileInfo::exists(dir.Path() + "missing"));
    EXPECT_TRUE(WritePrivateProfileStringW("S", "k", "v", dir.File("new.ini")));
    EXPECT_EQ(dir.Read("new.ini"), QByteArray("[S]\r\nk=v\r\n"));
}

TEST(Profile, GarbageHugeLinesAndBinaryNeverBreakReading)
{
    TempDir dir;
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) & 0xFF));
    dir.Write("g.ini", garbage);
    EXPECT_EQ(Read(dir.File("g.ini"), "Options", "dsip"), "dflt");

    const QByteArray longValue(100000, 'x');
    dir.Write("l.ini", "[Options]\r\ndsip=" + longValue + "\r\ndsport=77\r\n");
    EXPECT_EQ(Read(dir.File("l.ini"), "Options", "dsip", "", 128).size(), 127);
    EXPECT_EQ(GetPrivateProfileIntW("Options", "dsport", 1, dir.File("l.ini")), 77u);

    dir.Write("n.ini", QByteArray("[Options]\r\ndsip=a\0b\r\n", 20));
    EXPECT_FALSE(Read(dir.File("n.ini"), "Options", "dsip").isEmpty());
}

} // namespace
