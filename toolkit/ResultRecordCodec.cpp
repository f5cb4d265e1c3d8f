#include "ResultRecordCodec.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// The layout inside ResultRecord::value: a head, then the text. Both are
// copied in and out with memcpy since the bytes there carry no alignment, and
// only as much text as there is: a record is 2 KB, and a refresh fills
// thousands of them.
struct StoredHead
{
    std::int64_t number; // integer or Boolean, or the bits of a real
    std::int64_t timeStamp;
    std::uint8_t type;
    std::uint8_t reserved;
    std::uint16_t length; // characters of text: a string value or the failure reason
};
// The text follows the head's last field, before the struct's padding.
constexpr std::size_t kTextOffset = offsetof(StoredHead, length) + sizeof(StoredHead::length);
static_assert(kTextOffset + ResultRecordCodec::kMaxText * sizeof(char16_t) <= sizeof(ResultRecord::value));

void Put(const StoredHead& head, const QString& text, ResultRecord& record)
{
    StoredHead stored = head;
    stored.length = static_cast<std::uint16_t>(std::min<qsizetype>(text.size(), ResultRecordCodec::kMaxText));
    std::memcpy(record.value, &stored, kTextOffset);
    std::memcpy(record.value + kTextOffset, text.utf16(), stored.length * sizeof(char16_t));
}

StoredHead HeadOf(const ResultRecord& record)
{
    StoredHead head = {};
    std::memcpy(&head, record.value, kTextOffset);
    head.length = std::min<std::uint16_t>(head.length, ResultRecordCodec::kMaxText);
    return head;
}

} // namespace

void ResultRecordCodec::Store(const RuntimeResult& result, ResultRecord& record)
{
    if (!result.IsOk()) {
        StoreFailure(result.error, record);
        return;
    }
    StoredHead head = {};
    const RuntimeValue& v = result.value;
    head.type = static_cast<std::uint8_t>(v.GetType());
    head.timeStamp = result.timeStamp;
    if (v.GetType() == RuntimeValue::Type::Real) {
        const double d = v.AsReal();
        std::memcpy(&head.number, &d, sizeof d);
    } else {
        head.number = v.GetType() == RuntimeValue::Type::Bool ? (v.AsBool() ? 1 : 0) : v.AsInt();
    }
    Put(head, v.GetType() == RuntimeValue::Type::String ? v.AsString() : QString(), record);
    record.valid = 1;
    record.quality = result.quality;
}

void ResultRecordCodec::StoreFailure(const QString& reason, ResultRecord& record)
{
    Put(StoredHead{}, reason, record);
    record.valid = 0;
    record.quality = kQualityBad;
}

QString ResultRecordCodec::Format(const ResultRecord& record)
{
    const StoredHead stored = HeadOf(record);
    QString text(stored.length, Qt::Uninitialized);
    std::memcpy(text.data(), record.value + kTextOffset, stored.length * sizeof(char16_t));
    if (!record.valid)
        return text.isEmpty() ? QString() : QStringLiteral("Error: ") + text;
    switch (static_cast<RuntimeValue::Type>(stored.type)) {
    case RuntimeValue::Type::Bool: return RuntimeValue::FromBool(stored.number != 0).ToText();
    case RuntimeValue::Type::Int: return RuntimeValue::FromInt(stored.number).ToText();
    case RuntimeValue::Type::Real: {
        double d;
        std::memcpy(&d, &stored.number, sizeof d);
        return RuntimeValue::FromReal(d).ToText();
    }
    case RuntimeValue::Type::String: return text;
    default: return {};
    }
}
