#include "CGridCtrl.h"

#include "cells/CGridCellBase.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

QPoint VirtualScreenOrigin()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry().topLeft() : QPoint(0, 0);
}

} // namespace

CRect CGridCtrl::GetClientRect() const
{
    const QRect r = viewport()->rect();
    return CRect(0, 0, r.width(), r.height());
}

// The first non-fixed line whose leading edge is at or past the scroll position.
int CGridCtrl::TopLeftIndex(const GridAxis& axis, int fixed, int pos) const
{
    const int count = axis.Count();
    if (fixed >= count - 1)
        return fixed;
    return std::min(axis.FirstReaching(fixed, pos), count - 1);
}

CCellID CGridCtrl::GetTopleftNonFixedCell(BOOL forceRecalculation)
{
    if (m_idTopLeftCell.IsValid() && !forceRecalculation)
        return m_idTopLeftCell;
    m_idTopLeftCell = CCellID(TopLeftIndex(m_rowHeights, m_nFixedRows, GetScrollPos32(SB_VERT)),
                              TopLeftIndex(m_colWidths, GetFixedColumnCount(), GetScrollPos32(SB_HORZ)));
    return m_idTopLeftCell;
}

// From 'first', adds sizes to 'start' until 'limit' is reached; the line that
// reaches it is the last visible one. *end receives the edge reached.
int CGridCtrl::LastVisibleIndex(const GridAxis& axis, int first, int start, int limit, int* end) const
{
    int edge = start;
    int i = first;
    for (; i < axis.Count(); ++i) {
        edge += static_cast<int>(axis.Size(i));
        if (edge >= limit) {
            edge = limit;
            break;
        }
    }
    *end = edge;
    return std::min(i, axis.Count() - 1);
}

CellSpan CGridCtrl::GetVisibleNonFixedCellRange(LPRECT rect, BOOL forceRecalculation)
{
    const CRect client = GetClientRect();
    const CCellID topLeft = GetTopleftNonFixedCell(forceRecalculation);
    int bottom = 0;
    int right = 0;
    const int maxRow = LastVisibleIndex(m_rowHeights, topLeft.row, GetFixedRowHeight(), client.bottom, &bottom);
    const int maxCol = LastVisibleIndex(m_colWidths, topLeft.col, GetFixedColumnWidth(), client.right, &right);
    if (rect)
        *rect = RECT{0, 0, right, bottom};
    return CellSpan(topLeft.row, topLeft.col, maxRow, maxCol);
}

BOOL CGridCtrl::GetCellOrigin(int row, int col, POINT* origin)
{
    if (!IsValid(row, col) || !origin)
        return FALSE;
    const CCellID topLeft = GetTopleftNonFixedCell();
    const int fixedCols = GetFixedColumnCount();
    // Scrolled off above or to the left.
    if ((row >= m_nFixedRows && row < topLeft.row) || (col >= fixedCols && col < topLeft.col))
        return FALSE;
    origin->x = GridAxis::Pixels(col < fixedCols ? m_colWidths.Sum(0, col)
                                                 : GetFixedColumnWidth() + m_colWidths.Sum(topLeft.col, col));
    origin->y = GridAxis::Pixels(row < m_nFixedRows ? m_rowHeights.Sum(0, row)
                                                    : GetFixedRowHeight() + m_rowHeights.Sum(topLeft.row, row));
    return TRUE;
}

BOOL CGridCtrl::GetCellRect(int row, int col, LPRECT rect)
{
    POINT origin;
    if (!rect || !GetCellOrigin(row, col, &origin))
        return FALSE;
    // Inclusive: a column of width w starting at x covers x to x + w - 1.
    *rect = RECT{origin.x, origin.y, origin.x + GetColumnWidth(col) - 1, origin.y + GetRowHeight(row) - 1};
    return TRUE;
}

BOOL CGridCtrl::GetCellRangeRect(const CellSpan& span, LPRECT rect)
{
    POINT minOrigin;
    POINT maxOrigin;
    if (!rect || !GetCellOrigin(span.GetMinRow(), span.GetMinCol(), &minOrigin) ||
        !GetCellOrigin(span.GetMaxRow(), span.GetMaxCol(), &maxOrigin))
        return FALSE;
    *rect = RECT{minOrigin.x, minOrigin.y, maxOrigin.x + GetColumnWidth(span.GetMaxCol()) - 1,
                 maxOrigin.y + GetRowHeight(span.GetMaxRow()) - 1};
    return TRUE;
}

int CGridCtrl::CellAt(const GridAxis& axis, int fixed, int topLeft, int offset, int screenOrigin, BOOL allowFixed) const
{
    const int fixedSize = GridAxis::Pixels(axis.Sum(0, fixed));
    if (offset < screenOrigin || (!allowFixed && offset < fixedSize))
        return -1;
    if (offset < fixedSize)
        return axis.IndexAt(0, offset);
    const int index = axis.IndexAt(topLeft, offset - fixedSize);
    return index >= axis.Count() ? -1 : index;
}

CCellID CGridCtrl::GetCellFromPt(POINT point, BOOL allowFixedCellCheck)
{
    const CCellID topLeft = GetTopleftNonFixedCell();
    const QPoint screen = VirtualScreenOrigin();
    return CCellID(CellAt(m_rowHeights, m_nFixedRows, topLeft.row, point.y, screen.y(), allowFixedCellCheck),
                   CellAt(m_colWidths, GetFixedColumnCount(), topLeft.col, point.x, screen.x(), allowFixedCellCheck));
}

BOOL CGridCtrl::MouseOverRowResizeArea(const CPoint& point)
{
    return OverDivider(true, point);
}

BOOL CGridCtrl::MouseOverColumnResizeArea(const CPoint& point)
{
    return OverDivider(false, point);
}

// Row dividers are grabbed in the row headers, column dividers in the column
// headers, within the capture distance of a line's edge (never before line 0).
bool CGridCtrl::OverDivider(bool rows, const CPoint& point)
{
    if ((rows ? point.x : point.y) >= (rows ? GetFixedColumnWidth() : GetFixedRowHeight()))
        return false;
    const CCellID cell = GetCellFromPt(point);
    POINT start;
    if (!GetCellOrigin(cell.row, cell.col, &start))
        return false;
    const int along = rows ? point.y : point.x;
    const int begin = rows ? start.y : start.x;
    const int end = begin + (rows ? GetRowHeight(cell.row) : GetColumnWidth(cell.col));
    const int index = rows ? cell.row : cell.col;
    return (along - begin < m_nResizeCaptureRange && index != 0) || end - along < m_nResizeCaptureRange;
}

// No line from the first one drawn up to 'index' may begin at or beyond 'limit'.
// Sizes are never negative, so it is enough that 'index' itself begins inside.
bool CGridCtrl::StartsInsideClient(const GridAxis& axis, int fixed, int topLeft, int index, int limit) const
{
    const long long start = index < fixed ? axis.Sum(0, index) : axis.Sum(0, fixed) + axis.Sum(topLeft, index);
    return start < limit;
}

BOOL CGridCtrl::IsCellVisible(int row, int col)
{
    if (!m_bCreated || !IsValid(row, col))
        return FALSE;
    const CCellID topLeft = GetTopleftNonFixedCell();
    const int fixedCols = GetFixedColumnCount();
    if ((row >= m_nFixedRows && row < topLeft.row) || (col >= fixedCols && col < topLeft.col))
        return FALSE;
    const CRect client = GetClientRect();
    // Rows first: of many cells asked about, most lie below the window.
    return StartsInsideClient(m_rowHeights, m_nFixedRows, topLeft.row, row, client.bottom) &&
           StartsInsideClient(m_colWidths, fixedCols, topLeft.col, col, client.right);
}
