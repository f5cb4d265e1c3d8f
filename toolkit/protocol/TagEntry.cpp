#include "TagEntry.h"

#include "TagName.h"
#include "WireReader.h"
#include "WireWriter.h"

void TagEntry::Encode(WireWriter& w) const
{
    w.Str(name);
    w.U8(static_cast<std::uint8_t>(type));
    w.U8(writable ? 1 : 0);
    w.U16(quality);
    value.Encode(w);
}

bool TagEntry::Decode(WireReader& r, TagEntry& out)
{
    out.name = r.Str();
    const std::uint8_t type = r.U8();
    const std::uint8_t writable = r.U8();
    out.quality = r.U16();
    if (!RuntimeValue::Decode(r, out.value) || !r.Ok())
        return false;
    if (type < static_cast<std::uint8_t>(RuntimeValue::Type::Bool) ||
        type > static_cast<std::uint8_t>(RuntimeValue::Type::String) || writable > 1 || !TagName::IsValid(out.name))
        return false;
    out.type = static_cast<RuntimeValue::Type>(type);
    out.writable = writable != 0;
    return true;
}
