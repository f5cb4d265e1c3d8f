#include "RuntimeValue.h"

#include "WireReader.h"
#include "WireWriter.h"

RuntimeValue RuntimeValue::FromBool(bool v)
{
    RuntimeValue r;
    r.m_type = Type::Bool;
    r.m_bool = v;
    return r;
}

RuntimeValue RuntimeValue::FromInt(std::int64_t v)
{
    RuntimeValue r;
    r.m_type = Type::Int;
    r.m_int = v;
    return r;
}

RuntimeValue RuntimeValue::FromReal(double v)
{
    RuntimeValue r;
    r.m_type = Type::Real;
    r.m_real = v;
    return r;
}

RuntimeValue RuntimeValue::FromString(const QString& v)
{
    RuntimeValue r;
    r.m_type = Type::String;
    r.m_string = v;
    return r;
}

bool RuntimeValue::IsNumeric() const
{
    return m_type == Type::Bool || m_type == Type::Int || m_type == Type::Real;
}

double RuntimeValue::AsReal() const
{
    switch (m_type) {
    case Type::Bool: return m_bool ? 1.0 : 0.0;
    case Type::Int: return static_cast<double>(m_int);
    case Type::Real: return m_real;
    default: return 0.0;
    }
}

QString RuntimeValue::ToText() const
{
    switch (m_type) {
    case Type::Bool: return m_bool ? QStringLiteral("1") : QStringLiteral("0");
    case Type::Int: return QString::number(m_int);
    case Type::Real: return QString::number(m_real, 'g', 15);
    case Type::String: return m_string;
    default: return {};
    }
}

void RuntimeValue::Encode(WireWriter& w) const
{
    w.U8(static_cast<std::uint8_t>(m_type));
    switch (m_type) {
    case Type::Bool: w.U8(m_bool ? 1 : 0); break;
    case Type::Int: w.I64(m_int); break;
    case Type::Real: w.F64(m_real); break;
    case Type::String: w.Str(m_string); break;
    default: break;
    }
}

bool RuntimeValue::Decode(WireReader& r, RuntimeValue& out)
{
    switch (static_cast<Type>(r.U8())) {
    case Type::None: out = RuntimeValue(); break;
    case Type::Bool: out = FromBool(r.U8() != 0); break;
    case Type::Int: out = FromInt(r.I64()); break;
    case Type::Real: out = FromReal(r.F64()); break;
    case Type::String: out = FromString(r.Str()); break;
    default: return false;
    }
    return r.Ok();
}

QString RuntimeValue::TypeName(Type t)
{
    switch (t) {
    case Type::Bool: return QStringLiteral("bool");
    case Type::Int: return QStringLiteral("int");
    case Type::Real: return QStringLiteral("real");
    case Type::String: return QStringLiteral("string");
    default: return QStringLiteral("none");
    }
}
