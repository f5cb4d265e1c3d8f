#include "ValueConverter.h"

#include <QStringList>

#include <cmath>
#include <limits>

namespace {

bool RealToInt(double v, RuntimeValue& out)
{
    if (!std::isfinite(v))
        return false;
    const double r = std::round(v);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (r >= 9223372036854775808.0 || r < -9223372036854775808.0)
        return false;
    out = RuntimeValue::FromInt(static_cast<std::int64_t>(r));
    return true;
}

bool TextToBool(const QString& t, RuntimeValue& out)
{
    static const QStringList kTrue = {"1", "true", "on", "yes"};
    static const QStringList kFalse = {"0", "false", "off", "no"};
    if (kTrue.contains(t, Qt::CaseInsensitive)) {
        out = RuntimeValue::FromBool(true);
        return true;
    }
    if (kFalse.contains(t, Qt::CaseInsensitive)) {
        out = RuntimeValue::FromBool(false);
        return true;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = RuntimeValue::FromBool(v != 0.0);
    return true;
}

} // namespace

bool ValueConverter::Convert(const RuntimeValue& in, RuntimeValue::Type type, RuntimeValue& out)
{
    using T = RuntimeValue::Type;
    if (in.GetType() == T::String)
        return FromText(in.AsString(), type, out);
    if (!in.IsNumeric())
        return false;
    switch (type) {
    case T::Bool: out = RuntimeValue::FromBool(in.AsReal() != 0.0); return true;
    case T::Int:
        if (in.GetType() == T::Real)
            return RealToInt(in.AsReal(), out);
        out = RuntimeValue::FromInt(in.GetType() == T::Bool ? (in.AsBool() ? 1 : 0) : in.AsInt());
        return true;
    case T::Real: out = RuntimeValue::FromReal(in.AsReal()); return std::isfinite(in.AsReal());
    case T::String: out = RuntimeValue::FromString(in.ToText()); return true;
    default: return false;
    }
}

bool ValueConverter::FromText(const QString& text, RuntimeValue::Type type, RuntimeValue& out)
{
    using T = RuntimeValue::Type;
    const QString t = text.trimmed();
    bool ok = false;
    switch (type) {
    case T::Bool: return TextToBool(t, out);
    case T::Int: {
        const qlonglong v = t.toLongLong(&ok);
        if (ok) {
            out = RuntimeValue::FromInt(v);
            return true;
        }
        const double d = t.toDouble(&ok);
        return ok && RealToInt(d, out);
    }
    case T::Real: {
        const double d = t.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return false;
        out = RuntimeValue::FromReal(d);
        return true;
    }
    case T::String:
        // Strings keep their spaces: only numbers are read leniently.
        if (text.size() > kMaxStringLength)
            return false;
        out = RuntimeValue::FromString(text);
        return true;
    default: return false;
    }
}
