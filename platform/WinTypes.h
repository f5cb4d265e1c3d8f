#pragma once

// Plain integer and record types with the widths the Windows API gives them.
// Free of Qt so that the toolkit, the server and the program can share them.

#include <cstdint>

using BOOL = int;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using LONG = std::int32_t;
using HRESULT = std::int32_t;
using LPARAM = std::intptr_t;
using WPARAM = std::uintptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);

// 100-nanosecond intervals since 1601-01-01 UTC.
struct FILETIME
{
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

// A window as the toolkit sees it: opaque, used only to parent its own dialogs.
using HWND = void*;

using WCHAR = char16_t;
using UINT_PTR = std::uintptr_t;

// Geometry records with Windows semantics: a RECT excludes its right and bottom edges.
struct POINT
{
    LONG x;
    LONG y;
};

struct SIZE
{
    LONG cx;
    LONG cy;
};

struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;

// Header of every notification record a control sends to its receiver.
struct NMHDR
{
    HWND hwndFrom;
    UINT_PTR idFrom;
    int code;
};
