#include "RowEntry.h"

#include "WireReader.h"
#include "WireWriter.h"

void RowEntry::Encode(WireWriter& w) const
{
    w.U8(steps);
    if (steps & Evaluate)
        w.Str(expression);
    if (steps & Write) {
        w.Str(tag);
        w.Str(value);
        w.Str(typed);
    }
}

bool RowEntry::Decode(WireReader& r, RowEntry& out)
{
    out.steps = r.U8();
    if (out.steps & ~(Evaluate | Write))
        return false;
    if (out.steps & Evaluate)
        out.expression = r.Str();
    if (out.steps & Write) {
        out.tag = r.Str();
        out.value = r.Str();
        out.typed = r.Str();
    }
    return r.Ok();
}
