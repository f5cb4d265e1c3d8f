#pragma once

#include <QString>

// A text of a resource table: null reads as "", and a text without a
// terminator within kMaxResourceText characters is cut there.
inline constexpr qsizetype kMaxResourceText = 32767;
QString ResourceText(const char16_t* text);
