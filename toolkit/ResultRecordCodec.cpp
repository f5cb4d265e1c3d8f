#include "ResultRecordCodec.h"

#include <algorithm>
#include <cstring>

namespace {

// The layout inside ResultRecord::value, copied in and out with memcpy since
// the bytes there carry no alignment.
struct StoredValue
{
    std::int64_t number; // integer or Boolean, or the bits of a real
    std::int64_t timeStamp;
    std::uint8_t type;
    std::uint8_t reserved;
    std::uint16_t length; // characters of text: a string value or the failure reason
    char16_t text[ResultRecordCodec::kMaxText];
};
static_assert(sizeof(StoredValue) <= sizeof(ResultRecord::value));

void Put(const StoredValue& stored, ResultRecord& record)
{
    std::memcpy(record.value, &stored, sizeof stored);
}

void SetText(StoredValue& stored, const QString& text)
{
    stored.length = static_cast<std::uint16_t>(std::min<qsizetype>(text.size(), ResultRecordCodec::kMaxText));
    std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), stored.length, stored.text);
}

} // namespace

void ResultRecordCodec::Store(const RuntimeResult& result, ResultRecord& record)
{
    if (!result.IsOk()) {
        StoreFailure(result.error, record);
        return;
    }
    StoredValue stored = {};
    const RuntimeValue& v = result.value;
    stored.type = static_cast<std::uint8_t>(v.GetType());
    stored.timeStamp = result.timeStamp;
    if (v.GetType() == RuntimeValue::Type::Real) {
        const double d = v.AsReal();
        std::memcpy(&stored.number, &d, sizeof d);
    } else {
        stored.number = v.GetType() == RuntimeValue::Type::Bool ? (v.AsBool() ? 1 : 0) : v.AsInt();
    }
    if (v.GetType() == RuntimeValue::Type::String)
        SetText(stored, v.AsString());
    Put(stored, record);
    record.valid = 1;
    record.quality = result.quality;
}

void ResultRecordCodec::StoreFailure(const QString& reason, ResultRecord& record)
{
    StoredValue stored = {};
    SetText(stored, reason);
    Put(stored, record);
    record.valid = 0;
    record.quality = kQualityBad;
}

QString ResultRecordCodec::Format(const ResultRecord& record)
{
    StoredValue stored;
    std::memcpy(&stored, record.value, sizeof stored);
    const QString text(reinterpret_cast<const QChar*>(stored.text), std::min<int>(stored.length, kMaxText));
    if (!record.valid)
        return text.isEmpty() ? QString() : QStringLiteral("Error: ") + text;
    switch (static_cast<RuntimeValue::Type>(stored.type)) {
    case RuntimeValue::Type::Bool:
        return RuntimeValue::FromBool(stored.number != 0).ToText();
    case RuntimeValue::Type::Int:
        return RuntimeValue::FromInt(stored.number).ToText();
    case RuntimeValue::Type::Real: {
        double d;
        std::memcpy(&d, &stored.number, sizeof d);
        return RuntimeValue::FromReal(d).ToText();
    }
    case RuntimeValue::Type::String:
        return text;
    default:
        return {};
    }
}
