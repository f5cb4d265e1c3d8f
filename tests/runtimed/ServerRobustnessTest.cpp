// The runtime server against clients that break the rules: garbage, lies in
// length prefixes, truncated frames, clients that idle or never read. After
// each the server must go on serving everyone else.
#include "RawClient.h"
#include "tests/toolkit/RuntimeProcess.h"
#include "toolkit/protocol/Protocol.h"
#include "toolkit/protocol/RowAnswer.h"
#include "toolkit/protocol/RowEntry.h"
#include "toolkit/protocol/WireReader.h"
#include "toolkit/protocol/WireWriter.h"

#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using vtproto::Request;
using vtproto::Status;

namespace {

bool Serves(quint16 port)
{
    RawClient c(port);
    c.Send(Hello());
    if (c.Reply() != 0)
        return false;
    c.Send(Frame(Request::Ping, WireWriter(), 2));
    return c.Reply() == 0;
}

} // namespace

TEST(Server, HandshakeVersionAndOrder)
{
    RuntimeProcess runtime;
    ASSERT_TRUE(runtime.Start());
    {
        RawClient c(runtime.Port());
        c.Send(Hello());
        QByteArray body;
        ASSERT_EQ(c.Reply(&body), 0);
        WireReader r(body);
        EXPECT_EQ(r.U16(), vtproto::kVersion);
        EXPECT_EQ(r.U8(), 0); // no login without a users file
        EXPECT_GT(r.U32(), 0u);
        c.Send(Hello()); // a second handshake breaks the protocol
        EXPECT_EQ(c.Reply(), static_cast<int>(Status::BadRequest));
        EXPECT_TRUE(c.Closed());
    }
    {
        RawClient c(runtime.Port());
        c.Send(Hello(99));
        EXPECT_EQ(c.Reply(), static_cast<int>(Status::UnsupportedVersion));
        EXPECT_TRUE(c.Closed());
    }
    {
        RawClient c(runtime.Port());
        WireWriter w;
        w.U32(0);
        c.Send(Frame(Request::Read, w)); // no handshake first
        EXPECT_TRUE(c.Closed());
    }
}

TEST(Server, SurvivesGarbageLiesAndTruncation)
{
    RuntimeProcess runtime;
    ASSERT_TRUE(runtime.Start());
    QByteArray hugePrefix(4, Qt::Uninitialized);
    qToBigEndian<std::uint32_t>(100u * 1024 * 1024, hugePrefix.data());
    QByteArray random(4096, Qt::Uninitialized);
    QRandomGenerator gen(42);
    for (char& b : random)
        b = static_cast<char>(gen.bounded(256));
    const QByteArray zeroLength(4, '\0');
    for (const QByteArray& bad : {hugePrefix, random, zeroLength, Hello() + hugePrefix}) {
        RawClient c(runtime.Port());
        c.Send(bad);
        EXPECT_TRUE(c.Closed());
        EXPECT_TRUE(Serves(runtime.Port()));
    }
    for (int cut = 1; cut < Hello().size(); cut += 3) {
        RawClient c(runtime.Port());
        c.Send(Hello().left(cut)); // and then vanish mid-frame
    }
    EXPECT_TRUE(Serves(runtime.Port()));
}

TEST(Server, RefusesMalformedRequestsAndStaysUsable)
{
    RuntimeProcess runtime;
    ASSERT_TRUE(runtime.Start());
    RawClient c(runtime.Port());
    c.Send(Hello());
    ASSERT_EQ(c.Reply(), 0);

    WireWriter tooMany;
    tooMany.U32(vtproto::kMaxBatch + 1);
    WireWriter lyingString;
    lyingString.U32(1);
    lyingString.U32(1000); // a string of 1000 bytes that are not there
    WireWriter extra;
    extra.U32(0);
    extra.U8(1);
    WireWriter badValue;
    badValue.U32(0);
    badValue.U8(99); // no such value type
    const std::pair<Request, WireWriter> cases[] = {
        {Request::Evaluate, tooMany}, {Request::Evaluate, lyingString},         {Request::Read, extra},
        {Request::Write, badValue},   {static_cast<Request>(77), WireWriter()},
    };
    for (const auto& [type, body] : cases) {
        c.Send(Frame(type, body));
        EXPECT_EQ(c.Reply(), static_cast<int>(Status::BadRequest));
    }
    WireWriter unknownId;
    unknownId.U32(0xFFFFFFFFu);
    c.Send(Frame(Request::Read, unknownId));
    EXPECT_EQ(c.Reply(), static_cast<int>(Status::UnknownTag));
    c.Send(Frame(Request::Ping, WireWriter()));
    EXPECT_EQ(c.Reply(), 0);
}

TEST(Server, DropsIdleAndNonReadingClientsWhileServingOthers)
{
    RuntimeProcess runtime;
    ASSERT_TRUE(runtime.Start({"--idle-timeout", "1", "--io-timeout", "1"}));

    RawClient silent(runtime.Port()); // connects and never greets
    RawClient idle(runtime.Port());
    idle.Send(Hello());
    ASSERT_EQ(idle.Reply(), 0);

    // Requests whose replies are large, never read.
    QTcpSocket flooder;
    flooder.setReadBufferSize(1);
    flooder.connectToHost(QHostAddress::LocalHost, runtime.Port());
    ASSERT_TRUE(flooder.waitForConnected(5000));
    WireWriter lines;
    lines.U32(1000);
    const QString big = '"' + QString(1000, 'x') + '"';
    for (int i = 0; i < 1000; ++i)
        lines.Str(big);
    flooder.write(Hello());
    for (std::uint32_t i = 0; i < 40; ++i)
        flooder.write(Frame(Request::Evaluate, lines, i + 2));

    EXPECT_TRUE(Serves(runtime.Port()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return flooder.state() == QAbstractSocket::UnconnectedState; }, 15000));
    EXPECT_TRUE(silent.Closed());
    EXPECT_TRUE(idle.Closed());
    EXPECT_TRUE(Serves(runtime.Port()));
}

TEST(Server, ServesManyClientsAtOnce)
{
    RuntimeProcess runtime;
    ASSERT_TRUE(runtime.Start());
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < 50; ++i) {
        clients.push_back(std::make_unique<RawClient>(runtime.Port()));
        clients.back()->Send(Hello());
    }
    int answered = 0;
    for (auto& c : clients)
        answered += c->Reply() == 0;
    EXPECT_EQ(answered, 50);
}

TEST(Server, CommandLine)
{
    QProcess p;
    p.start(RuntimeProcess::Executable(), {"--port", "70000"});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    p.start(RuntimeProcess::Executable(), {"--plant", "/nonexistent/plant.txt", "--port", "0"});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("/nonexistent/plant.txt"));

    p.start(RuntimeProcess::Executable(), {"--hash-password", "--iterations", "1000"});
    p.write("secret\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_TRUE(p.readAllStandardOutput().startsWith("pbkdf2-sha256$1000$"));

    RuntimeProcess runtime;
    ASSERT_TRUE(runtime.Start());
    EXPECT_EQ(runtime.Terminate(), 0); // SIGTERM ends it cleanly
}

// Rows of one EnterRows request run in order, each seeing what the rows before
// it wrote; a request with one malformed row is refused whole and writes nothing.
TEST(Server, EnterRowsRunsRowsInOrderAndRefusesABadRequestWhole)
{
    RuntimeProcess runtime;
    ASSERT_TRUE(runtime.Start());
    RawClient c(runtime.Port());
    c.Send(Hello());
    ASSERT_EQ(c.Reply(), 0);

    const auto request = [](const std::vector<RowEntry>& rows, std::uint8_t lastSteps) {
        WireWriter w;
        w.Str(QStringLiteral("Invalid"));
        w.U32(static_cast<std::uint32_t>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            RowEntry row = rows[i];
            if (i + 1 == rows.size())
                row.steps = lastSteps;
            row.Encode(w);
        }
        return w;
    };
    const RowEntry write{RowEntry::Write, {}, QStringLiteral("Test.Int"), QStringLiteral("5"), QStringLiteral("5")};
    const RowEntry sum{RowEntry::Evaluate, QStringLiteral("Test.Int + 1"), {}, {}, {}};
    RowEntry both{RowEntry::Evaluate | RowEntry::Write, QStringLiteral("Test.Int"), QStringLiteral("Test.Int"),
                  QStringLiteral("9"), QStringLiteral("5")};

    // A steps byte with an unknown bit: nothing of the request happens.
    c.Send(Frame(Request::EnterRows, request({write, sum}, 0x80 | RowEntry::Evaluate)));
    EXPECT_EQ(c.Reply(), static_cast<int>(Status::BadRequest));
    WireWriter eval;
    eval.U32(1);
    eval.Str(QStringLiteral("Test.Int"));
    QByteArray body;
    c.Send(Frame(Request::Evaluate, eval));
    ASSERT_EQ(c.Reply(&body), 0);
    WireReader before(body);
    before.U32();
    RuntimeResult unchanged;
    ASSERT_TRUE(RuntimeResult::Decode(before, unchanged));
    EXPECT_EQ(unchanged.value.ToText(), QStringLiteral("0"));

    // Write 5, then Test.Int + 1 sees it; the third row shows 5, the typed
    // text, so its write of 9 is skipped.
    c.Send(Frame(Request::EnterRows, request({write, sum, both}, both.steps)));
    ASSERT_EQ(c.Reply(&body), 0);
    WireReader in(body);
    ASSERT_EQ(in.U32(), 3u);
    RowAnswer answers[3];
    ASSERT_TRUE(RowAnswer::Decode(in, write.steps, answers[0]));
    ASSERT_TRUE(RowAnswer::Decode(in, sum.steps, answers[1]));
    ASSERT_TRUE(RowAnswer::Decode(in, both.steps, answers[2]));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(answers[0].written, RowAnswer::Written::ReadBack);
    EXPECT_EQ(answers[0].readBack.value.ToText(), QStringLiteral("5"));
    EXPECT_TRUE(answers[1].compiled);
    EXPECT_FALSE(answers[1].resolved);
    EXPECT_EQ(answers[1].result.value.ToText(), QStringLiteral("6"));
    EXPECT_TRUE(answers[2].resolved);
    EXPECT_EQ(answers[2].written, RowAnswer::Written::Unchanged);
}
