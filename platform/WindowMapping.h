#pragma once

#include "CPoint.h"
#include "CRect.h"

class QWidget;

// A window's client area: the viewport of a scrolling window (whose frame and
// scroll bars lie outside it), else the window itself. Child windows placed
// "in the client area" are children of this widget.
QWidget* ClientArea(QWidget* window);

// Client coordinates of a window's client area to and from the screen.
CPoint ClientToScreen(QWidget* window, const CPoint& point);
CPoint ScreenToClient(QWidget* window, const CPoint& point);
CRect ClientToScreen(QWidget* window, const CRect& rect);
CRect ScreenToClient(QWidget* window, const CRect& rect);
