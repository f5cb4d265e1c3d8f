#pragma once

#include "RuntimeValue.h"

#include <QString>

#include <cstdint>

class WireReader;
class WireWriter;

// One tag as a Browse reply lists it: name, declared type, access, quality and
// current value.
struct TagEntry
{
    QString name;
    RuntimeValue::Type type = RuntimeValue::Type::None;
    bool writable = false;
    std::uint16_t quality = 0;
    RuntimeValue value;

    void Encode(WireWriter& w) const;
    // False for a short payload, an unknown type or a name that is no tag name.
    static bool Decode(WireReader& r, TagEntry& out);
};
