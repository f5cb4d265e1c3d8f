#pragma once

#include "Program.h"

#include <QString>

// The arithmetic, comparison and logic of expressions. Integers stay exact and
// turn into reals where they would overflow; a real result must be finite.
class Operators
{
public:
    static bool Unary(UnaryOp op, const RuntimeValue& a, RuntimeValue& out, QString& error);
    static bool Binary(BinaryOp op, const RuntimeValue& a, const RuntimeValue& b, RuntimeValue& out, QString& error);
    static bool Truth(const RuntimeValue& v, bool& out, QString& error);
    // The result if it is a finite number; an error for infinity and NaN.
    static bool Finite(double v, RuntimeValue& out, QString& error);

    static constexpr int kMaxStringLength = 65536;
};
