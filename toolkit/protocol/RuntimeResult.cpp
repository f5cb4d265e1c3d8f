#include "RuntimeResult.h"

#include "WireReader.h"
#include "WireWriter.h"

RuntimeResult RuntimeResult::Failure(vtproto::Status status, const QString& error)
{
    RuntimeResult r;
    r.status = status;
    r.error = error;
    return r;
}

void RuntimeResult::Encode(WireWriter& w) const
{
    w.U8(static_cast<std::uint8_t>(status));
    value.Encode(w);
    w.U16(quality);
    w.I64(timeStamp);
    w.Str(error);
}

bool RuntimeResult::Decode(WireReader& r, RuntimeResult& out)
{
    out.status = static_cast<vtproto::Status>(r.U8());
    if (!RuntimeValue::Decode(r, out.value))
        return false;
    out.quality = r.U16();
    out.timeStamp = r.I64();
    out.error = r.Str();
    return r.Ok();
}
