// The toolkit against a real VantelRuntime: every operation over the wire, the
// login matrix, and a runtime that dies or hangs.
#include "RuntimeProcess.h"
#include "ToolkitTestSupport.h"
#include "runtimed/PasswordHasher.h"
#include "tests/common/TempDir.h"
#include "toolkit/ToolkitMessages.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

using namespace tk;

namespace {

void Quiet(const VtChar*, const VtChar*)
{
}

class ToolkitRuntime : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ToolkitStartup();
        m_previous = VtSetMessageHandler(&Quiet);
    }
    void TearDown() override
    {
        VtSetMessageHandler(m_previous);
        ToolkitShutdown();
    }

    // Starts the runtime and makes a connection to it the active one.
    void StartAndConnect(const QStringList& arguments = {})
    {
        ASSERT_TRUE(m_runtime.Start(arguments));
        ASSERT_EQ(Connect(m_runtime.Port(), m_handle), S_OK);
        ActivateConnection(m_handle);
    }

    RuntimeProcess m_runtime;
    VtHandle m_handle = nullptr;
    VtMessageHandler m_previous = nullptr;
};

// Users file: an admin, an operator, a viewer without write, a guest without
// read, and a blocked user; all with the password "pw-<name>".
QString WriteUsers(const TempDir& dir)
{
    const auto user = [](const char* name, const char* groups, bool blocked = false) {
        return QStringLiteral("user %1 %2 %3%4\n")
            .arg(name, groups, PasswordHasher::Hash(QStringLiteral("pw-") + name, PasswordHasher::kMinIterations),
                 blocked ? " blocked" : "");
    };
    const QString text = QStringLiteral("group admins read,write,admin\ngroup operators read,write\n"
                                        "group viewers read\ngroup guests -\n") +
                         user("root", "admins") + user("olga", "operators") + user("vic", "viewers") +
                         user("gus", "guests") + user("bert", "operators", true);
    dir.Write("users.txt", text.toUtf8());
    return dir.File("users.txt");
}

HRESULT ConnectAs(quint16 port, const char16_t* user, const char16_t* password, VtHandle& handle)
{
    EXPECT_EQ(LogOn(user, password, 1), 0);
    return Connect(port, handle);
}

} // namespace

TEST_F(ToolkitRuntime, EvaluatesTagsAndExpressions)
{
    StartAndConnect();
    EXPECT_EQ(IsToolkitReady(), 1);
    EXPECT_EQ(IsConnectionLost(m_handle), 0);
    EXPECT_EQ(IsLoginRequired(u"127.0.0.1", m_runtime.Port(), u"", 0, u"", 10, &m_handle), 0);

    EXPECT_EQ(Evaluate("Test.ReadOnly"), "7");
    EXPECT_EQ(Evaluate("test.readonly * 2 + 1"), "15"); // names ignore letter case
    EXPECT_EQ(Evaluate("(1 + 2) * 3 / 2"), "4.5");
    EXPECT_EQ(Evaluate("Plant.Line.Name & \"/\" & LEN(\"abc\")"), "Line A/3");
    EXPECT_EQ(Evaluate("Test.ReadOnly > 5 AND NOT Test.Bool"), "1");
    EXPECT_EQ(Evaluate("1 / 0"), "Error: division by zero");

    std::uint16_t quality = 0;
    EXPECT_EQ(Evaluate("Plant.Diagnostics.Drift", &quality), "42.5");
    EXPECT_EQ(quality, 64);
    Evaluate("Plant.Diagnostics.Offline + Test.ReadOnly", &quality);
    EXPECT_EQ(quality, 128);
    Evaluate("Plant.Diagnostics.SensorFault", &quality);
    EXPECT_EQ(quality, 0);
}

TEST_F(ToolkitRuntime, CompileRefusesSyntaxUnknownNamesAndOversizedPrograms)
{
    StartAndConnect();
    EXPECT_TRUE(Compiles("Plant.Tank1.Level"));
    for (const char* bad : {"", "1 +", "Plant.Tank1.Nothing", "Plant.Tank1.", "Foo(1)", "\"open", "1 2", "MID(\"a\")"})
        EXPECT_FALSE(Compiles(bad)) << bad;

    // The forbidden-function message the watch window substitutes, in every
    // language it ships, must never compile.
    EXPECT_FALSE(Compiles("The expression specified contains a function not allowed."));
    EXPECT_FALSE(Compiles(QStringLiteral("Der angegebene Ausdruck enthält eine nicht zulässige Funktion.")));

    QString longSum = "1";
    while (longSum.size() < 5000)
        longSum += "+1";
    EXPECT_TRUE(Compiles(longSum.left(2001)));
    EXPECT_FALSE(Compiles(longSum)); // more than the 8192-byte buffer holds
    std::vector<unsigned char> small(16);
    EXPECT_NE(CompileExpression(u"Plant.Tank1.Level", small.data(), small.size(), 0, 1, 0, 0), 0);
}

TEST_F(ToolkitRuntime, TagListGivesOneRecordPerLine)
{
    StartAndConnect();
    ResultRecord records[4];
    EXPECT_EQ(EvaluateTagList(u"Test.ReadOnly\nnonsense here\nPlant.Diagnostics.Drift\n", 4, records, -1), 1);
    VtChar text[kValueTextCapacity];
    FormatResultValue(text, kValueTextCapacity, &records[0]);
    EXPECT_EQ(records[0].valid, 1);
    EXPECT_EQ(Q(text), "7");
    EXPECT_EQ(records[0].quality, 192);
    EXPECT_EQ(records[1].valid, 0);
    EXPECT_EQ(records[1].quality, 0);
    EXPECT_EQ(records[2].valid, 1);
    EXPECT_EQ(records[2].quality, 64);
    EXPECT_EQ(records[3].valid, 0); // a missing line is no valid expression
}

TEST_F(ToolkitRuntime, ResolveWriteAndReadBack)
{
    StartAndConnect();
    TagRef ref;
    EXPECT_EQ(ResolveTag(&ref, u"Test.Int"), 1);
    EXPECT_EQ(ResolveTag(&ref, u"Test.Int + 1"), 0);
    EXPECT_EQ(ResolveTag(&ref, u"Nope"), 0);

    EXPECT_TRUE(WriteTag("Test.Int", " 42 "));
    EXPECT_EQ(ReadTag("Test.Int"), "42");
    EXPECT_TRUE(WriteTag("Test.Int", "12.6")); // rounded to the type
    EXPECT_EQ(ReadTag("Test.Int"), "13");
    EXPECT_FALSE(WriteTag("Test.Int", "abc"));
    EXPECT_FALSE(WriteTag("Test.Int", "1e30")); // out of range: refused, not wrapped
    EXPECT_EQ(ReadTag("Test.Int"), "13");
    EXPECT_TRUE(WriteTag("Test.Real", "2.25"));
    EXPECT_EQ(ReadTag("Test.Real"), "2.25");
    EXPECT_TRUE(WriteTag("Test.String", " spaced text "));
    EXPECT_EQ(ReadTag("Test.String"), " spaced text ");
    EXPECT_TRUE(WriteTag("Test.Bool", "on"));
    EXPECT_EQ(ReadTag("Test.Bool"), "1");

    EXPECT_FALSE(WriteTag("Test.ReadOnly", "8"));
    std::uint16_t quality = 0;
    EXPECT_EQ(ReadTag("Test.ReadOnly", &quality), "7");
    EXPECT_EQ(quality, 192);

    // Toggle's path: an integer written, the value text read back.
    ASSERT_EQ(ResolveTag(&ref, u"Test.Bool"), 1);
    EXPECT_EQ(WriteTagInt(&ref, 0, -1, -1, -1, 0), 1);
    VtChar text[kValueTextCapacity];
    EXPECT_EQ(ReadTagValueText(&ref, text, kValueTextCapacity), 1);
    EXPECT_EQ(Q(text), "0");

    // A reference from another connection is refused.
    VtHandle other = nullptr;
    ASSERT_EQ(Connect(m_runtime.Port(), other), S_OK);
    ActivateConnection(other);
    EXPECT_EQ(WriteTagInt(&ref, 1, -1, -1, -1, 0), 0);
}

TEST_F(ToolkitRuntime, WritesAreSeenByOtherClientsAndSignalsMove)
{
    StartAndConnect();
    VtHandle second = nullptr;
    ASSERT_EQ(Connect(m_runtime.Port(), second), S_OK);
    ASSERT_TRUE(WriteTag("Plant.Mixer.Mode", "Manual"));
    ActivateConnection(second);
    EXPECT_EQ(ReadTag("Plant.Mixer.Mode"), "Manual");
    CloseConnection(second);
    EXPECT_EQ(IsToolkitReady(), 0); // the active connection was closed
    ActivateConnection(m_handle);

    const QString first = ReadTag("Plant.Line.Counter");
    QDeadlineTimer deadline(3000);
    while (ReadTag("Plant.Line.Counter") == first && !deadline.hasExpired())
        QThread::msleep(50);
    EXPECT_NE(ReadTag("Plant.Line.Counter"), first);
}

TEST_F(ToolkitRuntime, LoginMatrix)
{
    TempDir dir;
    ASSERT_TRUE(m_runtime.Start({"--users", WriteUsers(dir)}));
    const quint16 port = m_runtime.Port();
    EXPECT_EQ(IsLoginRequired(u"127.0.0.1", port, u"", 0, u"", 10, &m_handle), 1);

    VtHandle h = nullptr;
    EXPECT_EQ(Connect(port, h), E_ACCESSDENIED); // no LogOn yet
    EXPECT_EQ(ConnectAs(port, u"olga", u"pw-olga", h), S_OK);
    EXPECT_NE(h, nullptr);
    CloseConnection(h);
    EXPECT_EQ(ConnectAs(port, u"OLGA", u"pw-olga", h), S_OK); // user names ignore letter case
    CloseConnection(h);
    EXPECT_EQ(ConnectAs(port, u"olga", u"wrong", h), E_ACCESSDENIED);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(ConnectAs(port, u"nobody", u"pw-nobody", h), E_ACCESSDENIED);
    EXPECT_EQ(ConnectAs(port, u"bert", u"pw-bert", h), E_ACCESSDENIED); // blocked
    EXPECT_EQ(ConnectAs(port, u"gus", u"pw-gus", h), E_ABORT);          // no read right

    // A viewer reads but cannot write.
    ASSERT_EQ(ConnectAs(port, u"vic", u"pw-vic", h), S_OK);
    ActivateConnection(h);
    EXPECT_EQ(ReadTag("Test.ReadOnly"), "7");
    EXPECT_FALSE(WriteTag("Test.Int", "5"));
    EXPECT_TRUE(Evaluate("CreateUser(\"eve\", \"x\", \"admins\")").startsWith("Error: access denied"));
}

TEST_F(ToolkitRuntime, AdministrationFunctionsReallyChangeUsers)
{
    TempDir dir;
    const QString users = WriteUsers(dir);
    ASSERT_TRUE(m_runtime.Start({"--users", users}));
    ASSERT_EQ(ConnectAs(m_runtime.Port(), u"root", u"pw-root", m_handle), S_OK);
    ActivateConnection(m_handle);

    EXPECT_EQ(Evaluate("CreateUser(\"nina\", \"pw-nina\", \"operators\")"), "1");
    EXPECT_TRUE(dir.Read("users.txt").contains("user nina operators pbkdf2-sha256$"));
    EXPECT_FALSE(dir.Read("users.txt").contains("pw-nina")); // never in clear
    VtHandle nina = nullptr;
    EXPECT_EQ(ConnectAs(m_runtime.Port(), u"nina", u"pw-nina", nina), S_OK);

    EXPECT_EQ(Evaluate("BlockUser(\"nina\")"), "1");
    EXPECT_EQ(ConnectAs(m_runtime.Port(), u"nina", u"pw-nina", nina), E_ACCESSDENIED);
    EXPECT_EQ(Evaluate("UnblockUser(\"nina\")"), "1");
    EXPECT_EQ(Evaluate("SetPassword(\"nina\", \"new\")"), "1");
    EXPECT_EQ(ConnectAs(m_runtime.Port(), u"nina", u"new", nina), S_OK);
    EXPECT_EQ(Evaluate("RemoveUser(\"nina\")"), "1");
    EXPECT_EQ(ConnectAs(m_runtime.Port(), u"nina", u"new", nina), E_ACCESSDENIED);

    EXPECT_TRUE(Evaluate("RunVBScript(\"MsgBox 1\")").contains("not supported"));
}

TEST_F(ToolkitRuntime, KilledRuntimeIsNoticedAndReconnectionWorks)
{
    StartAndConnect();
    const quint16 port = m_runtime.Port();
    m_runtime.Kill();
    QElapsedTimer clock;
    clock.start();
    while (!IsConnectionLost(m_handle) && clock.elapsed() < 1000)
        QThread::msleep(10);
    EXPECT_NE(IsConnectionLost(m_handle), 0);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(IsToolkitReady(), 0);
    EXPECT_EQ(Evaluate("Test.ReadOnly"), "<compile error>");
    CloseConnection(m_handle);

    VtHandle again = nullptr;
    EXPECT_EQ(Connect(port, again), VT_E_UNREACHABLE);
    ASSERT_TRUE(m_runtime.Start({}, port));
    ASSERT_EQ(Connect(port, again), S_OK);
    ActivateConnection(again);
    EXPECT_EQ(Evaluate("Test.ReadOnly"), "7");
}

TEST_F(ToolkitRuntime, HungRuntimeCostsOneTimeOutAtMost)
{
    StartAndConnect();
    m_runtime.Suspend();
    QElapsedTimer clock;
    clock.start();
    ResultRecord record;
    EXPECT_EQ(EvaluateTagList(u"Test.ReadOnly\n", 1, &record, -1), 0);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(record.valid, 0);
    EXPECT_NE(IsConnectionLost(m_handle), 0);

    // Nor does connecting to it hang.
    clock.restart();
    VtHandle h = nullptr;
    EXPECT_NE(Connect(m_runtime.Port(), h), S_OK);
    EXPECT_LT(clock.elapsed(), 8000);
    m_runtime.Resume();
}

TEST_F(ToolkitRuntime, RefreshLargerThanOneReadOfTheRuntime)
{
    // 6,000 lines make a request of about 110 KB, which the runtime receives in
    // more than one piece.
    StartAndConnect();
    constexpr int kLines = 6000;
    QString lines;
    for (int i = 0; i < kLines; ++i)
        lines += i % 2 ? QStringLiteral("Test.ReadOnly\n") : QStringLiteral("Test.ReadOnly * 2\n");
    std::vector<ResultRecord> records(kLines);
    ASSERT_EQ(EvaluateTagList(U(lines).c_str(), kLines, records.data(), -1), 1);
    VtChar text[kValueTextCapacity];
    FormatResultValue(text, kValueTextCapacity, &records.back());
    EXPECT_EQ(Q(text), "7");
    FormatResultValue(text, kValueTextCapacity, &records[kLines - 2]);
    EXPECT_EQ(Q(text), "14");
    EXPECT_EQ(IsConnectionLost(m_handle), 0);
}
