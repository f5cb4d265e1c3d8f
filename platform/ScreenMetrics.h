#pragma once

#include "WinTypes.h"

#include <QRect>
#include <QSize>

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

// Stored coordinates are only text in a file: a size is kept within what a
// window can have, and a rectangle that no screen shows any more is brought
// back onto the primary screen, so that the window stays reachable.
QRect ReachableRect(qint64 left, qint64 top, qint64 right, qint64 bottom, const QSize& minimum);
