#pragma once

#include "WinTypes.h"

class CDC;

// DrawFrameControl types and states: the classic look of buttons and of the
// scroll-bar arrow, drawn where no visual-style theme is available.
constexpr UINT DFC_SCROLL = 3;
constexpr UINT DFC_BUTTON = 4;
constexpr UINT DFCS_BUTTONCHECK = 0x0000;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;
constexpr UINT DFCS_SCROLLDOWN = 0x0001;
constexpr UINT DFCS_PUSHED = 0x0200;
constexpr UINT DFCS_CHECKED = 0x0400;

BOOL DrawFrameControl(CDC* dc, const RECT* rect, UINT type, UINT state);
