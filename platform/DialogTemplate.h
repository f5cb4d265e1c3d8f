#pragma once

// A dialog template as data: the window and its controls in dialog units, with
// the font whose base units turn them into pixels. Templates come from the
// resource tables of the program or of a language library, which is why this
// header stays free of Qt.

#include "WinTypes.h"

#include <cstddef>

// The predefined control classes, numbered as their class atoms.
enum class DialogControlKind : WORD {
    Button = 0x0080,
    Edit = 0x0081,
    Static = 0x0082,
};

struct DialogItemTemplate
{
    UINT id;
    DialogControlKind kind;
    DWORD style;
    DWORD exStyle;
    short x;
    short y;
    short cx;
    short cy;
    const char16_t* text;
};

struct DialogTemplate
{
    UINT id;
    DWORD style;
    DWORD exStyle;
    short x;
    short y;
    short cx;
    short cy;
    const char16_t* caption;
    WORD pointSize;
    const char16_t* faceName;
    const DialogItemTemplate* items;
    std::size_t itemCount;
};

// A template names at most this many controls, as the count field of the
// Windows format allows; the rest of a longer list is ignored.
inline constexpr std::size_t kMaxDialogItems = 0xFFFF;
