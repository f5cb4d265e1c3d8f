#include "RuntimeClient.h"

#include "ReplyDecoder.h"
#include "toolkit/protocol/WireReader.h"
#include "toolkit/protocol/WireWriter.h"

using vtproto::Request;
using vtproto::Status;

namespace {

const QString kLinkFailed = QStringLiteral("the connection to the runtime is lost");

} // namespace

RuntimeClient::RuntimeClient(VtConnection& connection) : m_connection(connection)
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
    if (m_connection.Exchange(Request::Evaluate, w, reply) && reply.status == Status::Ok &&
        Decoded(ReplyDecoder::Results(reply.body, static_cast<std::size_t>(texts.size()), results)))
        return results;
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
    std::uint32_t id = 0;
    return Decoded(ReplyDecoder::Resolved(reply.body, id)) ? static_cast<std::int64_t>(id) : -1;
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
    RuntimeResult r;
    if (!Decoded(ReplyDecoder::Result(reply.body, r)))
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

bool RuntimeClient::EnterRows(const std::vector<RowEntry>& rows, const QString& invalid,
                              std::vector<RowAnswer>& answers)
{
    // Rows are taken while the request stays within half a frame.
    WireWriter encoded;
    std::vector<std::uint8_t> steps;
    for (const RowEntry& row : rows) {
        if (steps.size() == vtproto::kMaxBatch ||
            static_cast<std::uint32_t>(encoded.Payload().size()) >= vtproto::kMaxPayload / 2)
            break;
        row.Encode(encoded);
        steps.push_back(row.steps);
    }
    WireWriter w;
    w.Str(invalid);
    w.U32(static_cast<std::uint32_t>(steps.size()));
    w.Raw(encoded.Payload());
    VtConnection::Reply reply;
    answers.clear();
    return m_connection.Exchange(Request::EnterRows, w, reply) && reply.status == Status::Ok &&
           Decoded(ReplyDecoder::EnteredRows(reply.body, steps, answers));
}

bool RuntimeClient::ListTags(std::vector<TagEntry>& tags, QString& error)
{
    tags.clear();
    std::uint32_t total = 0;
    // Every page but the last adds at least one tag, so this ends; the bound
    // only guards against a runtime whose count changes under us.
    for (std::uint32_t page = 0; page <= vtproto::kMaxBrowseTags; ++page) {
        WireWriter w;
        w.U32(static_cast<std::uint32_t>(tags.size()));
        w.U32(vtproto::kMaxBrowseTags);
        VtConnection::Reply reply;
        if (!m_connection.Exchange(Request::Browse, w, reply)) {
            error = kLinkFailed;
            return false;
        }
        if (reply.status != Status::Ok) {
            error = QStringLiteral("the runtime refused to list its tags");
            return false;
        }
        const std::size_t before = tags.size();
        if (!Decoded(ReplyDecoder::TagPage(reply.body, total, tags)) || (tags.size() == before && before < total)) {
            m_connection.MarkLost();
            error = kLinkFailed;
            return false;
        }
        if (tags.size() >= total)
            return true;
    }
    error = kLinkFailed;
    return false;
}
