#pragma once

#include "WinTypes.h"

// System metrics by their Windows indices, from QScreen, QStyle and QStyleHints.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;

// 0 for an unknown index or when no screen exists.
int GetSystemMetrics(int index);

// The longest time between two clicks of a double click, in milliseconds.
UINT GetDoubleClickTime();
