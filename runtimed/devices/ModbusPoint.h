#pragma once

#include "toolkit/protocol/RuntimeValue.h"

#include <cstdint>

// Where a tag lives on a Modbus device and how its bits or registers read as
// the tag's value.
struct ModbusPoint
{
    enum class Table : std::uint8_t { Coil, Discrete, Input, Holding };
    enum class Format : std::uint8_t { Int16, UInt16, Int32, UInt32, Float32 };

    Table table = Table::Holding;
    int address = 0; // 0-based protocol address
    Format format = Format::Int16;
    bool swapped = false; // 32-bit formats: low word first
    double scale = 1.0;
    double offset = 0.0;

    bool IsBit() const { return table == Table::Coil || table == Table::Discrete; }
    // Bits or registers the point covers.
    int Width() const
    {
        return !IsBit() && (format == Format::Int32 || format == Format::UInt32 || format == Format::Float32) ? 2 : 1;
    }

    // words[0..Width()) as read from the device (a bit is 0 or 1) to a value of `type`.
    RuntimeValue Decode(const std::uint16_t* words, RuntimeValue::Type type) const;
    // A value already in the tag's type to the words to write; false when it does
    // not fit the format once scale and offset are taken off.
    bool Encode(const RuntimeValue& value, std::uint16_t words[2]) const;
};
