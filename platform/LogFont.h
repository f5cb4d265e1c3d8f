#pragma once

#include "WinTypes.h"

#include <QFont>

constexpr int LF_FACESIZE = 32;
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

// Logical font description. lfHeight < 0 is the character height in pixels,
// > 0 the cell height (character plus internal leading), 0 the default size.
// lfEscapement is in tenths of a degree; 900 draws text upwards.
struct LOGFONTW
{
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};

bool operator==(const LOGFONTW& a, const LOGFONTW& b);

QFont QFontFromLogFont(const LOGFONTW& lf);
LOGFONTW LogFontFromQFont(const QFont& font);

// The font the system uses for message boxes (the dialog font).
LOGFONTW GetMessageLogFont();
