#pragma once

// The style bits of dialog templates beyond the common window and control
// styles, with their Windows values. Free of Qt, as the language libraries use it.

#include "ControlStyles.h"
#include "WinUser.h"

constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_DISABLED = 0x08000000u;
constexpr DWORD WS_CAPTION = 0x00C00000u;
constexpr DWORD WS_SYSMENU = 0x00080000u;
constexpr DWORD WS_THICKFRAME = 0x00040000u;
constexpr DWORD WS_GROUP = 0x00020000u;

constexpr DWORD WS_EX_APPWINDOW = 0x00040000u;

constexpr DWORD DS_SETFONT = 0x0040u;
constexpr DWORD DS_MODALFRAME = 0x0080u;
constexpr DWORD DS_CENTER = 0x0800u;

constexpr DWORD BS_PUSHBUTTON = 0x0000u;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001u;
constexpr DWORD BS_TYPEMASK = 0x000Fu;

constexpr DWORD SS_LEFT = 0x0000u;
constexpr DWORD SS_CENTER = 0x0001u;
constexpr DWORD SS_RIGHT = 0x0002u;
constexpr DWORD SS_ICON = 0x0003u;
constexpr DWORD SS_TYPEMASK = 0x001Fu;
constexpr DWORD SS_NOPREFIX = 0x0080u;

constexpr DWORD ES_PASSWORD = 0x0020u;
