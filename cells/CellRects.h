#pragma once

#include "platform/CPoint.h"
#include "platform/CRect.h"

class CGridCtrl;

// Helpers of the cell types that remember the rectangle they were last drawn in.

// Repaints a rectangle of the grid's client area (with its background).
void InvalidateInGrid(CGridCtrl* grid, const CRect& rect);

// A point relative to the cell, moved into the client coordinates of the drawn rectangle.
CPoint InDrawnRect(const CRect& drawn, CPoint pointCellRelative);

// Runs a cell's drawing over its standard print with the print rectangle
// standing in for the drawn one, and puts the drawn one back.
template <typename Overlay> void OverlayOnPrintRect(CRect& drawn, const CRect& print, Overlay overlay)
{
    const CRect saved = drawn;
    drawn = print;
    overlay();
    drawn = saved;
}
