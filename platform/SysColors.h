#pragma once

#include "WinTypes.h"

#include <QColor>

// COLORREF is 0x00BBGGRR; CLR_DEFAULT marks "no colour set, take the default".
constexpr COLORREF CLR_DEFAULT = 0xFF000000u;
constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;

constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c)
{
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

// System colour indices, numbered as GetSysColor numbers them.
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;

// The system colours come from the application palette, so a palette change is
// the system-colour change. Unknown indices give black.
COLORREF GetSysColor(int index);

QColor ColorRefToQColor(COLORREF color);
COLORREF QColorToColorRef(const QColor& color);
