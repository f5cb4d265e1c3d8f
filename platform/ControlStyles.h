#pragma once

#include "WinTypes.h"

// Creation styles of the edit, combo-box and date-time controls; the in-place
// editors honour the ones they have a Qt counterpart for.
constexpr DWORD WS_VSCROLL = 0x00200000u;

constexpr DWORD ES_LEFT = 0x0000u;
constexpr DWORD ES_CENTER = 0x0001u;
constexpr DWORD ES_RIGHT = 0x0002u;
constexpr DWORD ES_MULTILINE = 0x0004u;
constexpr DWORD ES_AUTOVSCROLL = 0x0040u;
constexpr DWORD ES_AUTOHSCROLL = 0x0080u;

constexpr DWORD CBS_SIMPLE = 0x0001u;
constexpr DWORD CBS_DROPDOWN = 0x0002u;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003u;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040u;

constexpr DWORD DTS_UPDOWN = 0x0001u;
constexpr DWORD DTS_LONGDATEFORMAT = 0x0004u;
constexpr DWORD DTS_TIMEFORMAT = 0x0009u;
