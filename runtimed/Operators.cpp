#include "Operators.h"

#include <cmath>

namespace {

using T = RuntimeValue::Type;

bool BothInts(const RuntimeValue& a, const RuntimeValue& b)
{
    const auto intLike = [](const RuntimeValue& v) { return v.GetType() == T::Int || v.GetType() == T::Bool; };
    return intLike(a) && intLike(b);
}

std::int64_t IntOf(const RuntimeValue& v)
{
    return v.GetType() == T::Bool ? (v.AsBool() ? 1 : 0) : v.AsInt();
}

bool Arithmetic(BinaryOp op, const RuntimeValue& a, const RuntimeValue& b, RuntimeValue& out, QString& error)
{
    if (!a.IsNumeric() || !b.IsNumeric()) {
        error = QStringLiteral("arithmetic needs numbers");
        return false;
    }
    const bool divides = op == BinaryOp::Div || op == BinaryOp::Mod;
    if (divides && b.AsReal() == 0.0) {
        error = QStringLiteral("division by zero");
        return false;
    }
    if (BothInts(a, b) && op != BinaryOp::Div && op != BinaryOp::Pow) {
        const std::int64_t x = IntOf(a);
        const std::int64_t y = IntOf(b);
        std::int64_t r = 0;
        bool overflow = false;
        switch (op) {
        case BinaryOp::Add: overflow = __builtin_add_overflow(x, y, &r); break;
        case BinaryOp::Sub: overflow = __builtin_sub_overflow(x, y, &r); break;
        case BinaryOp::Mul: overflow = __builtin_mul_overflow(x, y, &r); break;
        default: // Mod; INT64_MIN % -1 traps, and its remainder is 0 anyway.
            r = y == -1 ? 0 : x % y;
            break;
        }
        if (!overflow) {
            out = RuntimeValue::FromInt(r);
            return true;
        }
    }
    const double x = a.AsReal();
    const double y = b.AsReal();
    switch (op) {
    case BinaryOp::Add: return Operators::Finite(x + y, out, error);
    case BinaryOp::Sub: return Operators::Finite(x - y, out, error);
    case BinaryOp::Mul: return Operators::Finite(x * y, out, error);
    case BinaryOp::Div: return Operators::Finite(x / y, out, error);
    case BinaryOp::Mod: return Operators::Finite(std::fmod(x, y), out, error);
    default: return Operators::Finite(std::pow(x, y), out, error);
    }
}

bool Compare(BinaryOp op, const RuntimeValue& a, const RuntimeValue& b, RuntimeValue& out, QString& error)
{
    int c = 0;
    if (a.GetType() == T::String && b.GetType() == T::String)
        c = a.AsString().compare(b.AsString());
    else if (a.IsNumeric() && b.IsNumeric()) {
        if (BothInts(a, b))
            c = IntOf(a) < IntOf(b) ? -1 : (IntOf(a) > IntOf(b) ? 1 : 0);
        else
            c = a.AsReal() < b.AsReal() ? -1 : (a.AsReal() > b.AsReal() ? 1 : 0);
    } else {
        error = QStringLiteral("a text cannot be compared with a number");
        return false;
    }
    bool r = false;
    switch (op) {
    case BinaryOp::Eq: r = c == 0; break;
    case BinaryOp::Ne: r = c != 0; break;
    case BinaryOp::Lt: r = c < 0; break;
    case BinaryOp::Le: r = c <= 0; break;
    case BinaryOp::Gt: r = c > 0; break;
    default: r = c >= 0; break;
    }
    out = RuntimeValue::FromBool(r);
    return true;
}

} // namespace

bool Operators::Finite(double v, RuntimeValue& out, QString& error)
{
    if (!std::isfinite(v)) {
        error = QStringLiteral("the result is not a finite number");
        return false;
    }
    out = RuntimeValue::FromReal(v);
    return true;
}

bool Operators::Truth(const RuntimeValue& v, bool& out, QString& error)
{
    if (!v.IsNumeric()) {
        error = QStringLiteral("a logical operator needs numbers or Booleans");
        return false;
    }
    out = v.AsReal() != 0.0;
    return true;
}

bool Operators::Unary(UnaryOp op, const RuntimeValue& a, RuntimeValue& out, QString& error)
{
    if (op == UnaryOp::Not) {
        bool t = false;
        if (!Truth(a, t, error))
            return false;
        out = RuntimeValue::FromBool(!t);
        return true;
    }
    if (!a.IsNumeric()) {
        error = QStringLiteral("a sign needs a number");
        return false;
    }
    if (op == UnaryOp::Plus) {
        out = a;
        return true;
    }
    if (a.GetType() != T::Real && IntOf(a) != INT64_MIN) {
        out = RuntimeValue::FromInt(-IntOf(a));
        return true;
    }
    return Finite(-a.AsReal(), out, error);
}

bool Operators::Binary(BinaryOp op, const RuntimeValue& a, const RuntimeValue& b, RuntimeValue& out, QString& error)
{
    switch (op) {
    case BinaryOp::Or:
    case BinaryOp::And: {
        bool x = false;
        bool y = false;
        if (!Truth(a, x, error) || !Truth(b, y, error))
            return false;
        out = RuntimeValue::FromBool(op == BinaryOp::Or ? (x || y) : (x && y));
        return true;
    }
    case BinaryOp::Concat: {
        const QString s = a.ToText() + b.ToText();
        if (s.size() > kMaxStringLength) {
            error = QStringLiteral("the text is too long");
            return false;
        }
        out = RuntimeValue::FromString(s);
        return true;
    }
    case BinaryOp::Add:
        // "+" joins texts too, as users of other runtimes expect.
        if (a.GetType() == T::String || b.GetType() == T::String)
            return Binary(BinaryOp::Concat, a, b, out, error);
        return Arithmetic(op, a, b, out, error);
    case BinaryOp::Sub:
    case BinaryOp::Mul:
    case BinaryOp::Div:
    case BinaryOp::Mod:
    case BinaryOp::Pow: return Arithmetic(op, a, b, out, error);
    default: return Compare(op, a, b, out, error);
    }
}
