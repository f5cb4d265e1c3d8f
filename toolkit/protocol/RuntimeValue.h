#pragma once

#include <QString>

#include <cstdint>

class WireReader;
class WireWriter;

// A typed value as tags hold it and expressions produce it.
class RuntimeValue
{
public:
    enum class Type : std::uint8_t { None = 0, Bool = 1, Int = 2, Real = 3, String = 4 };

    RuntimeValue() = default;
    static RuntimeValue FromBool(bool v);
    static RuntimeValue FromInt(std::int64_t v);
    static RuntimeValue FromReal(double v);
    static RuntimeValue FromString(const QString& v);

    Type GetType() const { return m_type; }
    bool IsNumeric() const;
    bool AsBool() const { return m_bool; }
    std::int64_t AsInt() const { return m_int; }
    // Bool, int and real as a real number; 0 for other types.
    double AsReal() const;
    const QString& AsString() const { return m_string; }

    // The value as the watch window shows it: Booleans as 1 and 0 (so that the
    // window's toggle, which reads the shown text as a number, flips them), reals
    // with up to 15 significant digits.
    QString ToText() const;

    void Encode(WireWriter& w) const;
    // False for an unknown type or a short payload.
    static bool Decode(WireReader& r, RuntimeValue& out);

    static QString TypeName(Type t);

private:
    Type m_type = Type::None;
    bool m_bool = false;
    std::int64_t m_int = 0;
    double m_real = 0.0;
    QString m_string;
};
