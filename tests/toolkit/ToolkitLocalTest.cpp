// Toolkit operations that need no runtime: formatting, normalising, time
// stamps, text checks, logon refusals and connection arguments.
#include "ToolkitTestSupport.h"
#include "tests/common/LogCapture.h"
#include "toolkit/ToolkitMessages.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <cstring>

using namespace tk;

namespace {

QStringList g_messages;

void Record(const VtChar*, const VtChar* text)
{
    g_messages << Q(text);
}

class ToolkitLocal : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ToolkitStartup();
        g_messages.clear();
        m_previous = VtSetMessageHandler(&Record);
    }
    void TearDown() override
    {
        VtSetMessageHandler(m_previous);
        ToolkitShutdown();
    }
    VtMessageHandler m_previous = nullptr;
};

QString FormatQ(std::uint16_t quality)
{
    VtChar text[32];
    FormatQuality(quality, text, 32);
    return Q(text);
}

} // namespace

TEST_F(ToolkitLocal, QualityClassesAndTexts)
{
    EXPECT_EQ(GetQualityClass(0), 0);
    EXPECT_EQ(GetQualityClass(0x44), 64);
    EXPECT_EQ(GetQualityClass(0x80), 128);
    EXPECT_EQ(GetQualityClass(0xC3), 192);
    EXPECT_EQ(FormatQ(0), "BAD");
    EXPECT_EQ(FormatQ(64), "UNCERTAIN");
    EXPECT_EQ(FormatQ(128), "NA");
    EXPECT_EQ(FormatQ(192), "GOOD");
    VtChar tiny[3];
    FormatQuality(192, tiny, 3);
    EXPECT_EQ(Q(tiny), "GO"); // cut to the capacity, terminated
}

TEST_F(ToolkitLocal, NormalizeTrimsAndFlattensLineBreaks)
{
    std::u16string text = u"  Plant.Tank1.Level\t+\n1 \r";
    text.resize(64);
    NormalizeTagText(text.data(), text.size());
    EXPECT_EQ(Q(text.data()), "Plant.Tank1.Level + 1");

    // A buffer without terminator is cut within its capacity.
    VtChar unterminated[4] = {u'a', u'b', u'c', u'd'};
    NormalizeTagText(unterminated, 4);
    EXPECT_EQ(Q(unterminated), "abc");
}

TEST_F(ToolkitLocal, TimeStampsRoundTripByKind)
{
    FILETIME t = {};
    VtChar text[kTimeStampTextCapacity];
    ASSERT_TRUE(ParseTimeStamp(u"2024-02-29 13:45:10", &t, 0));
    ASSERT_TRUE(FormatTimeStamp(&t, text, kTimeStampTextCapacity, 0));
    EXPECT_EQ(Q(text), "2024-02-29 13:45:10");
    ASSERT_TRUE(ParseTimeStamp(u" 2024-02-29T13:45:10.250 ", &t, 0));
    ASSERT_TRUE(FormatTimeStamp(&t, text, kTimeStampTextCapacity, 0));
    EXPECT_EQ(Q(text), "2024-02-29 13:45:10.250");

    ASSERT_TRUE(ParseTimeStamp(u"2023-12-31", &t, 1));
    ASSERT_TRUE(FormatTimeStamp(&t, text, kTimeStampTextCapacity, 1));
    EXPECT_EQ(Q(text), "2023-12-31");

    ASSERT_TRUE(ParseTimeStamp(u"07:05:09", &t, 2));
    const std::uint64_t ticks = (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
    EXPECT_EQ(ticks, (7ull * 3600 + 5 * 60 + 9) * 10000000ull);
    ASSERT_TRUE(FormatTimeStamp(&t, text, kTimeStampTextCapacity, 2));
    EXPECT_EQ(Q(text), "07:05:09");
}

TEST_F(ToolkitLocal, TimeStampsRefuseNonsenseAndShortBuffers)
{
    FILETIME t = {123, 456};
    for (const char16_t* bad : {u"", u"yesterday", u"2024-02-30 10:00:00", u"25:00:00"})
        EXPECT_FALSE(ParseTimeStamp(bad, &t, 0)) << QString::fromUtf16(bad).toStdString();
    EXPECT_FALSE(ParseTimeStamp(u"12:00:00", &t, 7));
    EXPECT_FALSE(ParseTimeStamp(nullptr, &t, 0));

    ASSERT_TRUE(ParseTimeStamp(u"2024-01-01 00:00:00", &t, 0));
    VtChar small[8];
    std::memset(small, 0x55, sizeof small);
    EXPECT_FALSE(FormatTimeStamp(&t, small, 8, 0));
    EXPECT_EQ(small[0], 0);
    const FILETIME beyondDay = {0xFFFFFFFFu, 0x7FFFFFFFu};
    EXPECT_FALSE(FormatTimeStamp(&beyondDay, small, 8, 2));
}

TEST_F(ToolkitLocal, TextChecksCleanAcceptedTextsAndReportRefusals)
{
    std::u16string number = u"  12.5 ";
    number.resize(1025);
    EXPECT_TRUE(ValidateTextKind1(nullptr, number.data(), 1, 1, 1, 0));
    EXPECT_EQ(Q(number.data()), "12.5");

    std::u16string word = u"twelve";
    word.resize(1025);
    EXPECT_FALSE(ValidateTextKind1(nullptr, word.data(), 1, 1, 1, 0));
    EXPECT_EQ(Q(word.data()), "twelve");
    ASSERT_EQ(g_messages.size(), 1);
    EXPECT_TRUE(g_messages[0].contains("twelve"));

    // The quiet form never talks to the user.
    EXPECT_FALSE(ValidateTextKind3(nullptr, word.data(), 0, 0, 1, 0));
    EXPECT_EQ(g_messages.size(), 1);

    std::u16string empty(1025, u'\0');
    EXPECT_TRUE(ValidateTextKind1(nullptr, empty.data(), 0, 0, 1, 0));
    EXPECT_FALSE(ValidateTextKind1(nullptr, empty.data(), 0, 0, 0, 0));

    std::u16string stamp = u"2024-05-01 08:00:00";
    stamp.resize(1025);
    EXPECT_TRUE(ValidateTextKind3(nullptr, stamp.data(), 0, 0, 1, 0));

    std::u16string tag = u" Plant.Tank1.Level ";
    tag.resize(2048);
    EXPECT_TRUE(ValidateTextKind0(nullptr, tag.data(), 2048, 1, 1));
    EXPECT_EQ(Q(tag.data()), "Plant.Tank1.Level");
    std::u16string notTag = u"Plant..Level";
    notTag.resize(2048);
    EXPECT_FALSE(ValidateTextKind0(nullptr, notTag.data(), 2048, 0, 0));

    // An expression cannot be judged without a runtime.
    std::u16string expression = u"1 + 1";
    expression.resize(8192);
    EXPECT_FALSE(ValidateTextKind2(nullptr, expression.data(), 8192, 0, 0, 0));
}

TEST_F(ToolkitLocal, LogOnRefusesOnlyWhatItCanJudge)
{
    EXPECT_NE(LogOn(u"", u"secret", 0), 0);
    EXPECT_NE(LogOn(u"   ", u"secret", 1), 0);
    EXPECT_NE(LogOn(U(QString(300, 'u')).c_str(), u"", 1), 0);
    EXPECT_EQ(g_messages.size(), 3);
    EXPECT_TRUE(g_messages[0].contains("user name"));

    // Whether a password is right is the runtime's to say.
    EXPECT_EQ(LogOn(u"alice", u"", 1), 0);
    EXPECT_EQ(LogOn(u"alice", u"wrong", 0), 0);
    EXPECT_EQ(g_messages.size(), 3);
}

TEST_F(ToolkitLocal, ConnectionArgumentsAndUnreachableRuntime)
{
    VtHandle handle = reinterpret_cast<VtHandle>(0x1);
    EXPECT_EQ(ConnectRuntime(u"127.0.0.1", 0, u"", 0, u"", 10, &handle), VT_E_ARGUMENT);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(ConnectRuntime(u"127.0.0.1", 1234, u"", 0, u"", 10, nullptr), VT_E_ARGUMENT);
    EXPECT_EQ(ConnectRuntime(u"127.0.0.1", 1234, u"proxy.example", 8080, u"", 10, &handle), VT_E_ROUTE);
    EXPECT_EQ(ConnectRuntime(u"127.0.0.1", 1234, u"", 0, u"gateway.example", 10, &handle), VT_E_ROUTE);

    // Port 1 on loopback: nothing listens there.
    EXPECT_EQ(ConnectRuntime(u"localhost", 1, u"", 0, u"", 10, &handle), VT_E_UNREACHABLE);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(IsLoginRequired(u"localhost", 1, u"", 0, u"", 10, &handle), 0);

    ToolkitShutdown();
    EXPECT_EQ(ConnectRuntime(u"localhost", 1, u"", 0, u"", 10, &handle), VT_E_NOT_STARTED);
}

TEST_F(ToolkitLocal, WithoutConnectionEverythingFailsQuietly)
{
    EXPECT_EQ(IsToolkitReady(), 0);
    EXPECT_EQ(HasExtendedMenu(nullptr), 0);
    EXPECT_NE(IsConnectionLost(nullptr), 0);
    EXPECT_NE(IsConnectionLost(reinterpret_cast<VtHandle>(0x1234)), 0); // foreign pointer: refused, not followed
    CloseConnection(reinterpret_cast<VtHandle>(0x1234));
    EXPECT_FALSE(Compiles("1"));

    ResultRecord records[2];
    records[0].valid = records[1].valid = 1;
    EvaluateTagList(u"1\n2\n", 2, records, -1);
    EXPECT_EQ(records[0].valid, 0);
    EXPECT_EQ(records[1].quality, kQualityBad);
    VtChar text[kValueTextCapacity];
    FormatResultValue(text, kValueTextCapacity, &records[0]);
    EXPECT_TRUE(Q(text).startsWith("Error:"));

    // An uncompiled buffer is refused, not read as a program.
    std::vector<unsigned char> garbage(kCompiledBufferSize, 0xAB);
    ResultRecord record = {};
    EvaluateCompiled(garbage.data(), &record, -1, -1, -1, 0);
    EXPECT_EQ(record.valid, 0);

    TagRef ref = {{1, 2, 3}};
    EXPECT_EQ(ResolveTag(&ref, u"Plant.Tank1.Level"), 0);
    EXPECT_EQ(WriteTagInt(&ref, 1, -1, -1, -1, 0), 0);
    std::uint16_t quality = 0;
    EXPECT_EQ(ReadTagText(&ref, text, 1024, &quality, 0), 0);
    EXPECT_EQ(quality, 0);
    EXPECT_EQ(Q(text), "");
}

TEST_F(ToolkitLocal, MisusedOperationsWarnThroughTheirCategoryOnlyWhenSwitchedOn)
{
    {
        LogCapture quiet(QStringLiteral("quillon.toolkit"), false);
        EXPECT_EQ(ResolveTag(nullptr, u"Plant.Tank1.Level"), 0);
        EXPECT_TRUE(quiet.Messages().isEmpty()) << "off by default";
    }
    LogCapture log(QStringLiteral("quillon.toolkit"));
    EXPECT_EQ(ConnectRuntime(u"localhost", 1234, u"", 0, u"", 10, nullptr), VT_E_ARGUMENT);
    EXPECT_EQ(ResolveTag(nullptr, u"Plant.Tank1.Level"), 0);
    CloseConnection(reinterpret_cast<VtHandle>(0x1234));
    EXPECT_EQ(FormatTimeStamp(nullptr, nullptr, 0, 0), 0);
    EXPECT_EQ(log.Messages(),
              QStringList({"ConnectRuntime: no handle to fill", "ResolveTag: no reference to fill",
                           "CloseConnection: unknown connection handle", "FormatTimeStamp: no buffer for the text"}));

    // Failures that are no misuse stay quiet: no runtime, an empty handle, a cut text.
    TagRef ref = {};
    EXPECT_EQ(ResolveTag(&ref, u"Plant.Tank1.Level"), 0);
    EXPECT_NE(IsConnectionLost(nullptr), 0);
    VtChar tiny[3];
    FormatQuality(192, tiny, 3);
    EXPECT_EQ(log.Messages().size(), 4);
}
