#pragma once

#include "toolkit/protocol/RuntimeValue.h"

#include <QString>

// Converts a written value or a text from a plant file to a tag's type. Nothing
// is wrapped or silently clipped: a value the type cannot hold is refused.
class ValueConverter
{
public:
    static bool Convert(const RuntimeValue& in, RuntimeValue::Type type, RuntimeValue& out);
    static bool FromText(const QString& text, RuntimeValue::Type type, RuntimeValue& out);

    // Longest string a tag holds, in UTF-16 units: what the watch window's value cell takes.
    static constexpr int kMaxStringLength = 1024;
};
