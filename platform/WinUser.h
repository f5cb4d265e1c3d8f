#pragma once

#include "WinTypes.h"

// Window style bits; a QWidget honours the ones it has a counterpart for.
constexpr DWORD WS_CHILD = 0x40000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_BORDER = 0x00800000u;
constexpr DWORD WS_TABSTOP = 0x00010000u;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200u;
