#include "ReplyDecoder.h"

#include "toolkit/protocol/WireReader.h"

bool ReplyDecoder::Hello(const QByteArray& body, Greeting& out)
{
    WireReader in(body);
    out.version = in.U16();
    const std::uint8_t login = in.U8();
    out.keepAliveMs = in.U32();
    out.loginRequired = login != 0;
    return in.Complete() && login <= 1;
}

bool ReplyDecoder::Results(const QByteArray& body, std::size_t count, std::vector<RuntimeResult>& out)
{
    WireReader in(body);
    if (in.U32() != count || !in.Ok())
        return false;
    out.assign(count, RuntimeResult());
    for (RuntimeResult& r : out) {
        if (!RuntimeResult::Decode(in, r))
            return false;
    }
    return in.AtEnd();
}

bool ReplyDecoder::Result(const QByteArray& body, RuntimeResult& out)
{
    WireReader in(body);
    return RuntimeResult::Decode(in, out) && in.AtEnd();
}

bool ReplyDecoder::Resolved(const QByteArray& body, std::uint32_t& id)
{
    WireReader in(body);
    id = in.U32();
    in.U8(); // type
    in.U8(); // writable
    return in.Complete();
}

bool ReplyDecoder::TagPage(const QByteArray& body, std::uint32_t& total, std::vector<TagEntry>& out)
{
    WireReader in(body);
    total = in.U32();
    const std::uint32_t count = in.U32();
    if (!in.Ok() || total > vtproto::kMaxBrowseTags || count > total - std::min<std::size_t>(out.size(), total))
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        TagEntry entry;
        if (!TagEntry::Decode(in, entry))
            return false;
        out.push_back(std::move(entry));
    }
    return in.AtEnd();
}

bool ReplyDecoder::EnteredRows(const QByteArray& body, const std::vector<std::uint8_t>& steps,
                               std::vector<RowAnswer>& out)
{
    out.clear();
    WireReader in(body);
    const std::uint32_t answered = in.U32();
    if (!in.Ok() || answered > steps.size())
        return false;
    out.resize(answered);
    for (std::uint32_t i = 0; i < answered; ++i) {
        if (!RowAnswer::Decode(in, steps[i], out[i])) {
            out.clear();
            return false;
        }
    }
    if (in.AtEnd())
        return true;
    out.clear();
    return false;
}
