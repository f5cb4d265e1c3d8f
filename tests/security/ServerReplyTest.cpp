// The toolkit against a server that lies: length prefixes and counts no
// runtime would send. Each is a failure the caller sees, never a crash, a huge
// allocation or a hang.
#include "LyingServer.h"

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/protocol/WireWriter.h"

#include <QtEndian>

#include <gtest/gtest.h>

using vtproto::Request;

namespace {

class LyingReplies : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(ToolkitStartup(), 0); }
    void TearDown() override
    {
        if (handle)
            CloseConnection(handle);
        ToolkitShutdown();
    }

    HRESULT Connect(const LyingServer& server) { return tk::Connect(server.Port(), handle); }

    VtHandle handle = nullptr;
};

QByteArray Prefix(std::uint32_t length)
{
    QByteArray bytes(vtproto::kHeaderSize, Qt::Uninitialized);
    qToBigEndian(length, bytes.data());
    return bytes;
}

TEST_F(LyingReplies, AGreetingWithAnImpossibleLengthIsNoRuntime)
{
    const QByteArray greeting = LyingServer::Honest(Request::Hello, 1, LyingServer::Greeting());
    const QByteArray lies[] = {
        Prefix(0xFFFFFFFFu),                                // 4 GiB
        Prefix(vtproto::kMaxPayload + 1) + greeting.mid(4), // just over the bound
        Prefix(2) + greeting.mid(4),                        // shorter than a reply head
        Prefix(vtproto::kMaxPayload) + greeting.mid(4),     // promises 16 MiB, sends a few bytes
        Prefix(0),
    };
    for (const QByteArray& lie : lies) {
        LyingServer server([&](Request, std::uint32_t) { return lie; }, true);
        EXPECT_NE(Connect(server), S_OK) << lie.toHex().toStdString();
        EXPECT_EQ(handle, nullptr);
    }
    // An honest frame around a body that is too short, or a reply to another request.
    LyingServer shortBody([](Request type, std::uint32_t sequence) {
        return LyingServer::Honest(type, sequence, LyingServer::Greeting().left(3));
    });
    EXPECT_EQ(Connect(shortBody), VT_E_PROTOCOL);
    LyingServer wrongSequence([](Request type, std::uint32_t sequence) {
        return LyingServer::Honest(type, sequence + 1, LyingServer::Greeting());
    });
    EXPECT_NE(Connect(wrongSequence), S_OK);
}

// A greeting and a compile as a runtime gives them; the evaluation's reply is
// the lie.
LyingServer::Script LieAtEvaluation(const QByteArray& evaluationBody)
{
    return [evaluationBody](Request type, std::uint32_t sequence) {
        if (type == Request::Hello)
            return LyingServer::Honest(type, sequence, LyingServer::Greeting());
        if (type == Request::Evaluate)
            return LyingServer::Honest(type, sequence, evaluationBody);
        return LyingServer::Honest(type, sequence, QByteArray());
    };
}

TEST_F(LyingReplies, ResultsWithImpossibleCountsOrLengthsAreRefused)
{
    WireWriter hugeCount;
    hugeCount.U32(0xFFFFFFFFu);
    WireWriter hugeString; // one result: ok, a string value 2 GiB long
    hugeString.U32(1);
    hugeString.U8(0);
    hugeString.U8(4);
    hugeString.U32(0x7FFFFFFFu);
    WireWriter noSuchType;
    noSuchType.U32(1);
    noSuchType.U8(0);
    noSuchType.U8(99);
    for (const WireWriter* body : {&hugeCount, &hugeString, &noSuchType}) {
        LyingServer server(LieAtEvaluation(body->Payload()));
        ASSERT_EQ(Connect(server), S_OK);
        ActivateConnection(handle);
        std::uint16_t quality = 0;
        const QString value = tk::Evaluate(QStringLiteral("1 + 1"), &quality);
        EXPECT_NE(value, QStringLiteral("2"));
        EXPECT_NE(quality, kQualityGood) << value.toStdString();
        EXPECT_EQ(IsConnectionLost(handle), 1) << "a runtime that lies is not asked again";
        CloseConnection(handle);
        handle = nullptr;
    }
}

} // namespace
