// The runtime server's doors: where it listens, what it serves before a login,
// and how it answers someone guessing passwords. A frame before the handshake
// closes the connection (tests/runtimed, Server.HandshakeVersionAndOrder).
#include "ProtocolClient.h"

#include "runtimed/LoginThrottle.h"
#include "runtimed/PasswordHasher.h"
#include "tests/common/TempDir.h"
#include "tests/toolkit/RuntimeProcess.h"

#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

using vtproto::Request;
using vtproto::Status;

namespace {

constexpr int kNotLoggedIn = static_cast<int>(Status::NotLoggedIn);
constexpr int kBadCredentials = static_cast<int>(Status::BadCredentials);

class RuntimeGate : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString hash = PasswordHasher::Hash(QStringLiteral("pw-root"), PasswordHasher::kMinIterations);
        dir.Write("users.txt",
                  QStringLiteral("group admins read,write,admin\nuser root admins %1\n").arg(hash).toUtf8());
        ASSERT_TRUE(runtime.Start({"--users", dir.File("users.txt")}));
    }

    TempDir dir;
    RuntimeProcess runtime;
};

// Well-formed bodies, so that only the missing login can be the refusal.
WireWriter Line(const QString& text)
{
    WireWriter w;
    w.U32(1);
    w.Str(text);
    return w;
}

TEST_F(RuntimeGate, BeforeALoginOnlyLoginAndPingAreServed)
{
    const QByteArray users = dir.Read("users.txt");
    ProtocolClient c(runtime.Port());
    bool loginRequired = false;
    ASSERT_EQ(c.Hello(&loginRequired), 0);
    EXPECT_TRUE(loginRequired);

    WireWriter text;
    text.Str(QStringLiteral("CreateUser(\"eve\", \"x\", \"admins\")"));
    WireWriter tagName;
    tagName.Str(QStringLiteral("Plant.Tank1.Level"));
    WireWriter id;
    id.U32(0);
    WireWriter write;
    write.U32(0);
    write.U8(2);
    write.I64(1);
    WireWriter page;
    page.U32(0);
    page.U32(10);
    const std::pair<Request, WireWriter> requests[] = {
        {Request::Compile, text},
        {Request::Evaluate, Line(QStringLiteral("CreateUser(\"eve\", \"x\", \"admins\")"))},
        {Request::Resolve, tagName},
        {Request::Read, id},
        {Request::Write, write},
        {Request::Browse, page},
    };
    for (const auto& [type, body] : requests) {
        QByteArray reply;
        EXPECT_EQ(c.Call(type, body, &reply), kNotLoggedIn) << int(type);
        EXPECT_TRUE(reply.isEmpty()) << "nothing of the plant leaks: " << int(type);
    }
    EXPECT_EQ(c.Call(Request::Ping), 0);
    EXPECT_EQ(dir.Read("users.txt"), users);

    ASSERT_EQ(c.Login("root", "pw-root"), 0);
    EXPECT_EQ(c.Call(Request::Evaluate, Line(QStringLiteral("1 + 1"))), 0);
    EXPECT_EQ(c.Call(Request::Resolve, tagName), 0);
}

TEST_F(RuntimeGate, FailedLoginsAreAnsweredLaterAndLaterAcrossConnections)
{
    constexpr qint64 kSlack = 20; // timer rounding
    ProtocolClient first(runtime.Port());
    ASSERT_EQ(first.Hello(), 0);
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(first.Login("root", "guess-1"), kBadCredentials);
    const qint64 firstRefusal = clock.restart();
    ASSERT_EQ(first.Login("root", "guess-2"), kBadCredentials);
    const qint64 secondRefusal = clock.restart();
    EXPECT_GE(firstRefusal, LoginThrottle::kFirstDelayMs - kSlack);
    EXPECT_GE(secondRefusal, 2 * LoginThrottle::kFirstDelayMs - kSlack);
    EXPECT_GT(secondRefusal, firstRefusal);
    ASSERT_EQ(first.Login("root", "guess-3"), kBadCredentials);
    EXPECT_TRUE(first.Closed()) << "three failures end the connection";

    // A fresh connection does not start afresh, and while its refusal is held
    // back the server goes on serving others.
    ProtocolClient second(runtime.Port());
    ASSERT_EQ(second.Hello(), 0);
    clock.restart();
    ASSERT_TRUE(second.SendLoginProof(QStringLiteral("root"), QStringLiteral("guess-4")));
    ProtocolClient bystander(runtime.Port());
    EXPECT_EQ(bystander.Hello(), 0);
    EXPECT_EQ(bystander.Call(Request::Ping), 0);
    EXPECT_EQ(second.Reply(nullptr, 0), -1) << "the refusal is still held back";
    EXPECT_EQ(second.Reply(), kBadCredentials);
    EXPECT_GE(clock.elapsed(), 4 * LoginThrottle::kFirstDelayMs - kSlack);

    // Below the toolkit's request time-out, so a user's typo is still a refusal.
    ProtocolClient owner(runtime.Port());
    ASSERT_EQ(owner.Hello(), 0);
    EXPECT_EQ(owner.Login("root", "pw-root"), 0);
}

// The first line the runtime prints, or what it said when it ended.
QString ListeningLine(const QStringList& arguments)
{
    QProcess process;
    process.start(RuntimeProcess::Executable(), QStringList{"--port", "0"} + arguments);
    process.waitForReadyRead(10000);
    const QString line = QString::fromUtf8(process.readLine()).trimmed();
    process.kill();
    process.waitForFinished(5000);
    return line;
}

TEST(RuntimeBinding, LoopbackUnlessToldOtherwise)
{
    EXPECT_TRUE(ListeningLine({}).startsWith("VantelRuntime listening on 127.0.0.1:"))
        << ListeningLine({}).toStdString();
    EXPECT_TRUE(ListeningLine({"--bind", "localhost"}).startsWith("VantelRuntime listening on 127.0.0.1:"));
    EXPECT_TRUE(ListeningLine({"--bind", "0.0.0.0"}).startsWith("VantelRuntime listening on 0.0.0.0:"));
    // A name is not resolved into some address the user did not mean.
    QProcess process;
    process.start(RuntimeProcess::Executable(), {"--port", "0", "--bind", "example.invalid"});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 2);
}

} // namespace
