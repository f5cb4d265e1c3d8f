#include "RowAnswer.h"

#include "RowEntry.h"
#include "WireReader.h"
#include "WireWriter.h"

namespace {

// A result record holds this many characters of a string or a failure reason,
// and a Value cell's formatted value text as many.
constexpr int kRecordChars = 1024;
constexpr int kShownChars = 1024;

// Cut to maxChars without leaving half of a surrogate pair at the end.
QString Cut(const QString& text, int maxChars)
{
    if (text.size() <= maxChars)
        return text;
    qsizetype n = maxChars;
    if (n > 0 && text.at(n - 1).isHighSurrogate())
        --n;
    return text.left(n);
}

} // namespace

void RowAnswer::Encode(WireWriter& w, std::uint8_t steps) const
{
    if (steps & RowEntry::Evaluate) {
        w.U8(compiled ? 1 : 0);
        if (compiled)
            result.Encode(w);
        w.U8(resolved ? 1 : 0);
    }
    if (steps & RowEntry::Write) {
        w.U8(static_cast<std::uint8_t>(written));
        if (written == Written::ReadBack)
            readBack.Encode(w);
    }
}

bool RowAnswer::Decode(WireReader& r, std::uint8_t steps, RowAnswer& out)
{
    if (steps & RowEntry::Evaluate) {
        out.compiled = r.U8() != 0;
        if (out.compiled && !RuntimeResult::Decode(r, out.result))
            return false;
        out.resolved = r.U8() != 0;
    }
    if (steps & RowEntry::Write) {
        const std::uint8_t written = r.U8();
        if (written > static_cast<std::uint8_t>(Written::ReadBack))
            return false;
        out.written = static_cast<Written>(written);
        if (out.written == Written::ReadBack && !RuntimeResult::Decode(r, out.readBack))
            return false;
    }
    return r.Ok();
}

QString RowAnswer::ShownText(bool compiled, const RuntimeResult& result, const QString& invalid)
{
    if (!compiled)
        return invalid;
    if (!result.IsOk()) {
        const QString reason = result.error.left(kRecordChars);
        return reason.isEmpty() ? QString() : Cut(QStringLiteral("Error: ") + reason, kShownChars);
    }
    if (result.value.GetType() == RuntimeValue::Type::String)
        return Cut(result.value.AsString().left(kRecordChars), kShownChars);
    return Cut(result.value.ToText(), kShownChars);
}
