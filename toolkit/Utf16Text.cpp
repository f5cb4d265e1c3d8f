#include "Utf16Text.h"

#include "runtime/VtText.h"

#include <algorithm>

QString Utf16Text::Read(const VtChar* text, std::size_t maxChars)
{
    if (!text)
        return {};
    std::size_t n = 0;
    while (n < maxChars && text[n] != 0)
        ++n;
    return QString(reinterpret_cast<const QChar*>(text), static_cast<qsizetype>(n));
}

bool Utf16Text::Write(const QString& text, VtChar* buffer, std::size_t capacity)
{
    if (!buffer || capacity == 0)
        return false;
    std::size_t n = std::min(static_cast<std::size_t>(text.size()), capacity - 1);
    // Never leave half of a surrogate pair at the end.
    if (n > 0 && n < static_cast<std::size_t>(text.size()) && text[static_cast<qsizetype>(n) - 1].isHighSurrogate())
        --n;
    std::copy_n(VtText(text), n, buffer);
    buffer[n] = 0;
    return n == static_cast<std::size_t>(text.size());
}
