#pragma once

#include "WinTypes.h"

#include <QString>
#include <Qt>

class QKeyEvent;

// Virtual-key codes with their Windows values: key tables and the keys that
// travel in notifications use these numbers, whatever the windowing system.
constexpr UINT VK_LBUTTON = 0x01;
constexpr UINT VK_RBUTTON = 0x02;
constexpr UINT VK_MBUTTON = 0x04;
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_PAUSE = 0x13;
constexpr UINT VK_CAPITAL = 0x14;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_APPS = 0x5D;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F2 = 0x71;
// Digits and letters are their upper-case ASCII codes ('0'..'9', 'A'..'Z').

// Key-state flags that come with mouse messages.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;

// The virtual key of a Qt key; 0 for keys without one. Shift+Tab arrives from
// Qt as Backtab and is the Tab key here, with Shift down.
UINT VirtualKeyFromQtKey(int qtKey);
UINT VirtualKeyFromEvent(const QKeyEvent* event);

// The characters a key press types, as a window receives them one by one:
// Tab 9, Return 13 (Ctrl+Return 10), Escape 27, Backspace 8 and the printable
// text. Other keys held with Ctrl or Alt type nothing.
QString TypedCharacters(const QKeyEvent* event);

// High bit set (negative) while the key or mouse button is down. The
// modifiers are asked of the window system, the buttons of the application.
short GetKeyState(int virtualKey);
short GetAsyncKeyState(int virtualKey);

// The MK_ flags of a mouse message.
UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
