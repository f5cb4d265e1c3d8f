#include "ModbusPoint.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

std::uint32_t Join(const std::uint16_t* words, bool swapped)
{
    const std::uint32_t first = words[0];
    const std::uint32_t second = words[1];
    return swapped ? (second << 16) | first : (first << 16) | second;
}

void Split(std::uint32_t raw, bool swapped, std::uint16_t words[2])
{
    const auto high = static_cast<std::uint16_t>(raw >> 16);
    const auto low = static_cast<std::uint16_t>(raw & 0xFFFF);
    words[0] = swapped ? low : high;
    words[1] = swapped ? high : low;
}

// The raw number of the registers: integer formats exactly, float32 as read.
double RawNumber(const std::uint16_t* words, ModbusPoint::Format format, bool swapped)
{
    switch (format) {
    case ModbusPoint::Format::Int16: return static_cast<std::int16_t>(words[0]);
    case ModbusPoint::Format::UInt16: return words[0];
    case ModbusPoint::Format::Int32: return static_cast<std::int32_t>(Join(words, swapped));
    case ModbusPoint::Format::UInt32: return Join(words, swapped);
    case ModbusPoint::Format::Float32: return std::bit_cast<float>(Join(words, swapped));
    }
    return 0.0;
}

struct Range
{
    double low;
    double high;
};

// By format, in the order of ModbusPoint::Format; float32 has none.
constexpr Range kIntegerRanges[] = {
    {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()},
    {0, std::numeric_limits<std::uint16_t>::max()},
    {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()},
    {0, std::numeric_limits<std::uint32_t>::max()},
};

} // namespace

RuntimeValue ModbusPoint::Decode(const std::uint16_t* words, RuntimeValue::Type type) const
{
    if (IsBit())
        return RuntimeValue::FromBool(words[0] != 0);
    const double raw = RawNumber(words, format, swapped);
    if (type == RuntimeValue::Type::Real)
        return RuntimeValue::FromReal(raw * scale + offset);
    return RuntimeValue::FromInt(static_cast<std::int64_t>(raw));
}

bool ModbusPoint::Encode(const RuntimeValue& value, std::uint16_t words[2]) const
{
    words[0] = words[1] = 0;
    if (IsBit()) {
        words[0] = value.AsBool() ? 1 : 0;
        return true;
    }
    const bool real = value.GetType() == RuntimeValue::Type::Real;
    const double raw = real ? (value.AsReal() - offset) / scale : static_cast<double>(value.AsInt());
    if (!std::isfinite(raw))
        return false;
    if (format == Format::Float32) {
        if (std::fabs(raw) > std::numeric_limits<float>::max())
            return false;
        Split(std::bit_cast<std::uint32_t>(static_cast<float>(raw)), swapped, words);
        return true;
    }
    // An integer tag writes exactly; a real one to the nearest raw step.
    const double rounded = real ? std::nearbyint(raw) : raw;
    const Range& range = kIntegerRanges[static_cast<std::size_t>(format)];
    if (rounded < range.low || rounded > range.high)
        return false;
    const auto bits = static_cast<std::uint32_t>(static_cast<std::int64_t>(rounded));
    if (Width() == 1)
        words[0] = static_cast<std::uint16_t>(bits);
    else
        Split(bits, swapped, words);
    return true;
}
