#pragma once

#include "runtime/VantelToolkit.h"

#include <QString>

// Moves texts between the caller's NUL-terminated UTF-16 buffers and QString,
// never reading or writing past the bounds it is given.
class Utf16Text
{
public:
    // Up to the terminator, or up to maxChars characters when none comes first.
    static QString Read(const VtChar* text, std::size_t maxChars);
    // Copies as much as fits and always terminates; false when the text was cut.
    static bool Write(const QString& text, VtChar* buffer, std::size_t capacity);

    static constexpr std::size_t kMaxText = 65536;
};
