#include "VtConnection.h"

#include "ChannelOpener.h"
#include "ReplyDecoder.h"
#include "toolkit/protocol/ScramClient.h"
#include "toolkit/protocol/WireReader.h"
#include "toolkit/protocol/WireWriter.h"

#include <QtEndian>

#include <algorithm>

using vtproto::Request;
using vtproto::Status;

namespace {

HRESULT TlsResult(TlsLayer::Refusal refusal)
{
    switch (refusal) {
    case TlsLayer::Refusal::Untrusted: return VT_E_TLS_UNTRUSTED;
    case TlsLayer::Refusal::NameMismatch: return VT_E_TLS_NAME;
    case TlsLayer::Refusal::Expired: return VT_E_TLS_EXPIRED;
    case TlsLayer::Refusal::NoTls: return VT_E_TLS_ABSENT;
    default: return VT_E_TLS_FAILED;
    }
}

} // namespace

HRESULT VtConnection::OpenAndGreet(const ConnectionTarget& target)
{
    ChannelOpener::Outcome outcome;
    m_channel = ChannelOpener::Open(target, Deadline(kConnectTimeoutMs), outcome);
    m_fingerprint = outcome.fingerprint;
    if (!m_channel) {
        switch (outcome.failure) {
        case ChannelOpener::Failure::BadArgument: return VT_E_ARGUMENT;
        case ChannelOpener::Failure::Route: return VT_E_ROUTE;
        case ChannelOpener::Failure::Tls: return TlsResult(outcome.refusal);
        default: return VT_E_UNREACHABLE;
        }
    }
    m_lost = false;
    WireWriter hello;
    hello.U32(vtproto::kMagic);
    hello.U16(vtproto::kVersion);
    Reply reply;
    if (!Exchange(Request::Hello, hello, reply))
        return m_peerWantsTls ? VT_E_TLS_REQUIRED : VT_E_UNREACHABLE;
    ReplyDecoder::Greeting greeting;
    if (reply.status != Status::Ok || !ReplyDecoder::Hello(reply.body, greeting) ||
        greeting.version != vtproto::kVersion) {
        MarkLost();
        return VT_E_PROTOCOL;
    }
    m_loginRequired = greeting.loginRequired;
    m_keepAlive = std::chrono::milliseconds(std::clamp(greeting.keepAliveMs, kMinKeepAliveMs, kMaxKeepAliveMs));
    // A proxy or gateway may drop an idle tunnel, or lose it without closing our
    // end: there the caller's polling interval sets how soon that is noticed.
    if (target.Tunnelled() && target.pollingSeconds > 0)
        m_keepAlive = std::chrono::seconds(std::clamp(target.pollingSeconds, 1, kMaxPollingSeconds));
    return S_OK;
}

bool VtConnection::Greet(const ConnectionTarget& target)
{
    return OpenAndGreet(target) == S_OK;
}

HRESULT VtConnection::Open(const ConnectionTarget& target, const Credentials& credentials)
{
    const HRESULT greeted = OpenAndGreet(target);
    if (greeted != S_OK || !m_loginRequired)
        return greeted;
    if (!credentials.given) {
        MarkLost();
        return E_ACCESSDENIED;
    }
    const HRESULT result = LogOn(credentials);
    if (result != S_OK)
        MarkLost();
    return result;
}

HRESULT VtConnection::LogOn(const Credentials& credentials)
{
    ScramClient scram(credentials.user, credentials.password, m_channel->ChannelBinding());
    WireWriter first;
    first.Str(QString::fromUtf8(scram.ClientFirst()));
    Reply reply;
    if (!Exchange(Request::Login, first, reply))
        return VT_E_UNREACHABLE;
    if (reply.status != Status::Ok)
        return E_ACCESSDENIED;
    WireReader serverFirst(reply.body);
    const QByteArray serverFirstText = serverFirst.Str().toUtf8();
    QByteArray clientFinal;
    if (!serverFirst.Complete() || !scram.ClientFinal(serverFirstText, clientFinal))
        return VT_E_PROTOCOL;
    WireWriter proof;
    proof.Str(QString::fromLatin1(clientFinal));
    if (!Exchange(Request::LoginProof, proof, reply))
        return VT_E_UNREACHABLE;
    if (reply.status != Status::Ok)
        return reply.status == Status::NoReadRight ? E_ABORT : E_ACCESSDENIED;
    WireReader serverFinal(reply.body);
    const QByteArray serverFinalText = serverFinal.Str().toUtf8();
    // A peer that cannot sign the exchange does not know the user's verifier:
    // whatever it is, it is not the runtime the user meant.
    return serverFinal.Complete() && scram.VerifyServerFinal(serverFinalText) ? S_OK : VT_E_SERVER_PROOF;
}

bool VtConnection::Exchange(Request type, const WireWriter& body, Reply& reply)
{
    if (m_lost || !m_channel)
        return false;
    const Deadline deadline(kRequestTimeoutMs);
    const std::uint32_t sequence = ++m_sequence;
    WireWriter request;
    request.U8(static_cast<std::uint8_t>(type));
    request.U32(sequence);
    QByteArray payload = request.Payload() + body.Payload();
    if (payload.size() > static_cast<qsizetype>(vtproto::kMaxPayload)) {
        // Too large to send is a refusal of this request, not a broken link.
        reply.status = Status::BadRequest;
        reply.body.clear();
        return true;
    }
    QByteArray frame(vtproto::kHeaderSize, Qt::Uninitialized);
    qToBigEndian(static_cast<std::uint32_t>(payload.size()), frame.data());
    if (!m_channel->Send(frame + payload, deadline)) {
        MarkLost();
        return false;
    }
    char header[vtproto::kHeaderSize];
    if (!m_channel->Receive(header, sizeof header, deadline)) {
        MarkLost();
        return false;
    }
    // A TLS alert record where a frame should start: a runtime that speaks
    // only TLS turned our plain greeting away.
    m_peerWantsTls = header[0] == 0x15 && header[1] == 0x03;
    const std::uint32_t length = qFromBigEndian<std::uint32_t>(header);
    constexpr std::uint32_t kReplyHead = 6; // type, sequence, status
    if (length < kReplyHead || length > vtproto::kMaxPayload) {
        MarkLost();
        return false;
    }
    QByteArray bytes;
    // Grow with what really arrives rather than trusting the length up front.
    constexpr std::uint32_t kChunk = 256 * 1024;
    for (std::uint32_t got = 0; got < length;) {
        const std::uint32_t step = std::min(kChunk, length - got);
        bytes.resize(got + step);
        if (!m_channel->Receive(bytes.data() + got, step, deadline)) {
            MarkLost();
            return false;
        }
        got += step;
    }
    WireReader in(bytes);
    const std::uint8_t replyType = in.U8();
    const std::uint32_t replySequence = in.U32();
    reply.status = static_cast<Status>(in.U8());
    if (replyType != (static_cast<std::uint8_t>(type) | vtproto::kReplyBit) || replySequence != sequence) {
        MarkLost();
        return false;
    }
    reply.body = bytes.mid(kReplyHead);
    m_lastExchange = std::chrono::steady_clock::now();
    return true;
}

bool VtConnection::CheckLost()
{
    if (m_lost)
        return true;
    // The runtime never speaks unasked: anything readable now is a close, a
    // reset or a broken stream.
    if (m_channel->PeerHasSpoken()) {
        MarkLost();
        return true;
    }
    if (std::chrono::steady_clock::now() - m_lastExchange >= m_keepAlive) {
        Reply reply;
        Exchange(Request::Ping, WireWriter(), reply);
    }
    return m_lost;
}

void VtConnection::MarkLost()
{
    m_lost = true;
    m_channel.reset();
}
