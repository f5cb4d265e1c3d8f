#include "CellRects.h"

#include "grid/CGridCtrl.h"

void InvalidateInGrid(CGridCtrl* grid, const CRect& rect)
{
    if (!grid || !grid->IsWindow() || rect.IsRectEmpty())
        return;
    grid->viewport()->update(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
}

CPoint InDrawnRect(const CRect& drawn, CPoint pointCellRelative)
{
    return CPoint(pointCellRelative.x + drawn.left, pointCellRelative.y + drawn.top);
}
