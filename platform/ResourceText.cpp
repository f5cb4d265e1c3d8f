#include "ResourceText.h"

QString ResourceText(const char16_t* text)
{
    if (!text)
        return {};
    qsizetype length = 0;
    while (length < kMaxResourceText && text[length] != u'\0')
        ++length;
    return QString::fromUtf16(text, length);
}
