#include "RuntimeClient.h"

#include "toolkit/protocol/WireReader.h"
#include "toolkit/protocol/WireWriter.h"

using vtproto::Request;
using vtproto::Status;

namespace {

const QString kLinkFailed = QStringLiteral("the connection to the runtime is lost");

} // namespace

RuntimeClient::RuntimeClient(VtConnection& connection)
    : m_connection(connection)
{
}

bool RuntimeClient::Decoded(bool ok)
{
    if (!ok)
        m_connection.MarkLost();
    return ok;
}

bool RuntimeClient::Compile(const QString& text, QString& error)
{
    WireWriter w;
    w.Str(text);
    VtConnection::Reply reply;
    if (!m_connection.Exchange(Request::Compile, w, reply)) {
        error = kLinkFailed;
        return false;
    }
    if (reply.status == Status::Ok)
        return true;
    WireReader in(reply.body);
    error = in.Str();
    if (!in.Ok() || error.isEmpty())
        error = QStringLiteral("the runtime refused the expression");
    return false;
}

std::vector<RuntimeResult> RuntimeClient::Evaluate(const QStringList& texts)
{
    WireWriter w;
    w.U32(static_cast<std::uint32_t>(texts.size()));
    for (const QString& t : texts)
        w.Str(t);
    VtConnection::Reply reply;
    std::vector<RuntimeResult> results;
    if (m_connection.Exchange(Request::Evaluate, w, reply) && reply.status == Status::Ok) {
        WireReader in(reply.body);
        bool ok = in.U32() == static_cast<std::uint32_t>(texts.size());
        results.resize(static_cast<std::size_t>(texts.size()));
        for (std::size_t i = 0; ok && i < results.size(); ++i)
            ok = RuntimeResult::Decode(in, results[i]);
        if (Decoded(ok && in.AtEnd()))
            return results;
    }
    const QString reason = m_connection.IsLost() ? kLinkFailed : QStringLiteral("the runtime refused the request");
    return std::vector<RuntimeResult>(static_cast<std::size_t>(texts.size()),
                                      RuntimeResult::Failure(Status::EvaluationError, reason));
}

std::int64_t RuntimeClient::Resolve(const QString& name)
{
    WireWriter w;
    w.Str(name);
    VtConnection::Reply reply;
    if (!m_connection.Exchange(Request::Resolve, w, reply) || reply.status != Status::Ok)
        return -1;
    WireReader in(reply.body);
    const std::uint32_t id = in.U32();
    in.U8(); // type
    in.U8(); // writable
    return Decoded(in.Complete()) ? static_cast<std::int64_t>(id) : -1;
}

RuntimeResult RuntimeClient::Read(std::uint32_t id)
{
    WireWriter w;
    w.U32(id);
    VtConnection::Reply reply;
    if (!m_connection.Exchange(Request::Read, w, reply))
        return RuntimeResult::Failure(Status::EvaluationError, kLinkFailed);
    if (reply.status != Status::Ok)
        return RuntimeResult::Failure(reply.status, QStringLiteral("the runtime refused the read"));
    WireReader in(reply.body);
    RuntimeResult r;
    if (!Decoded(RuntimeResult::Decode(in, r) && in.AtEnd()))
        return RuntimeResult::Failure(Status::EvaluationError, kLinkFailed);
    return r;
}

bool RuntimeClient::Write(std::uint32_t id, const RuntimeValue& value)
{
    WireWriter w;
    w.U32(id);
    value.Encode(w);
    VtConnection::Reply reply;
    return m_connection.Exchange(Request::Write, w, reply) && reply.status == Status::Ok;
}
