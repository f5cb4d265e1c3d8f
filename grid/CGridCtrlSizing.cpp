#include "CGridCtrl.h"

#include "cells/CGridCellBase.h"

#include <algorithm>
#include <optional>

namespace {

// Auto-size measures on the screen, as the window's own context would.
CDC* MeasuringDC(std::optional<CDC>& holder)
{
    return CDC::IsScreenAvailable() ? &holder.emplace() : nullptr;
}

} // namespace

void CGridCtrl::MeasureRange(UINT style, int* startRow, int* endRow) const
{
    if (style == 0)
        style = m_nAutoSizeColumnStyle;
    *startRow = (style & GVS_HEADER) ? 0 : m_nFixedRows;
    *endRow = (style & GVS_DATA) ? m_nRows - 1 : m_nFixedRows - 1;
}

BOOL CGridCtrl::AutoSizeColumn(int col, UINT autoSizeStyle, BOOL resetScroll)
{
    if (col < 0 || col >= m_nCols || GetColumnWidth(col) == 0)
        return FALSE;
    int startRow = 0;
    int endRow = 0;
    MeasureRange(autoSizeStyle, &startRow, &endRow);
    if (m_bVirtualMode)
        SendCacheHintToParent(CellSpan(startRow, col, endRow, col));
    std::optional<CDC> holder;
    CDC* dc = MeasuringDC(holder);
    int width = 0;
    CSize size;
    for (int row = startRow; row <= endRow; ++row) {
        // A missing cell repeats the extent measured before it.
        if (CGridCellBase* cell = GetCell(row, col))
            size = cell->GetCellExtent(dc, row, col);
        width = std::max<int>(width, size.cx);
    }
    if (m_bVirtualMode)
        SendCacheHintToParent(CellSpan());
    m_colWidths.Set(col, static_cast<UINT>(width));
    ForgetTopLeft();
    if (resetScroll)
        ResetScrollBars();

    int available = GetClientRect().Width() - 4;
    if (col >= GetFixedColumnCount())
        available -= GetFixedColumnWidth();
    if (available > 0 && width > available) {
        m_colWidths.Set(col, static_cast<UINT>(available));
        if (resetScroll)
            ResetScrollBars();
    }
    return TRUE;
}

BOOL CGridCtrl::AutoSizeRow(int row, BOOL resetScroll, BOOL ignoreEmpty)
{
    if (row < 0 || row >= m_nRows || GetRowHeight(row) == 0)
        return FALSE;
    if (m_bVirtualMode)
        SendCacheHintToParent(CellSpan(row, 0, row, m_nCols - 1));
    std::optional<CDC> holder;
    CDC* dc = MeasuringDC(holder);
    int height = 0;
    for (int col = 0; col < m_nCols; ++col) {
        CGridCellBase* cell = GetCell(row, col);
        if (!cell)
            continue;
        if (ignoreEmpty && cell->GetDisplayText(row, col).isEmpty())
            height = std::max(height, GetRowHeight(row));
        else
            height = std::max<int>(height, cell->GetCellExtent(dc, row, col).cy);
    }
    if (m_bVirtualMode)
        SendCacheHintToParent(CellSpan());
    m_rowHeights.Set(row, static_cast<UINT>(height));
    ForgetTopLeft();
    if (resetScroll)
        ResetScrollBars();
    return TRUE;
}

void CGridCtrl::AutoSizeColumns(UINT autoSizeStyle)
{
    for (int col = 0; col < m_nCols; ++col) {
        if (GetColumnWidth(col) > 0)
            AutoSizeColumn(col, autoSizeStyle, FALSE);
    }
    ResetScrollBars();
}

void CGridCtrl::AutoSizeRows(BOOL ignoreEmpty)
{
    for (int row = 0; row < m_nRows; ++row) {
        if (GetRowHeight(row) > 0)
            AutoSizeRow(row, FALSE, ignoreEmpty);
    }
    ResetScrollBars();
}

void CGridCtrl::AutoSize(UINT autoSizeStyle)
{
    int startRow = 0;
    int endRow = 0;
    MeasureRange(autoSizeStyle, &startRow, &endRow);
    // Hidden lines stay hidden: only lines of non-zero size take part.
    std::vector<int> rows;
    std::vector<int> cols;
    for (int row = std::max(startRow, 0); row <= endRow; ++row) {
        if (GetRowHeight(row) > 0)
            rows.push_back(row);
    }
    for (int col = 0; col < m_nCols; ++col) {
        if (GetColumnWidth(col) > 0)
            cols.push_back(col);
    }
    for (int row : rows)
        m_rowHeights.Set(row, 1);
    for (int col : cols)
        m_colWidths.Set(col, 0);
    if (m_bVirtualMode)
        SendCacheHintToParent(CellSpan(startRow, 0, endRow, m_nCols - 1));
    std::optional<CDC> holder;
    CDC* dc = MeasuringDC(holder);
    for (int col : cols) {
        for (int row : rows) {
            CGridCellBase* cell = GetCell(row, col);
            if (!cell)
                continue;
            const CSize size = cell->GetCellExtent(dc, row, col);
            m_colWidths.Set(col, std::max<UINT>(m_colWidths.Size(col), static_cast<UINT>(std::max<int>(size.cx, 0))));
            m_rowHeights.Set(row, std::max<UINT>(m_rowHeights.Size(row), static_cast<UINT>(std::max<int>(size.cy, 0))));
        }
    }
    if (m_bVirtualMode)
        SendCacheHintToParent(CellSpan());
    ResetScrollBars();
    Refresh();
}

namespace {

// Spreads 'room' over the lines of non-zero size from 'first' on; a shrink
// works its remainder off one pixel per line and never goes below zero.
void Spread(GridAxis& axis, int first, long long room)
{
    int count = 0;
    for (int i = first; i < axis.Count(); ++i)
        count += axis.Size(i) > 0 ? 1 : 0;
    if (count == 0)
        return;
    const long long each = room / count;
    long long remainder = room <= 0 ? room - each * count : 0;
    for (int i = first; i < axis.Count(); ++i) {
        if (axis.Size(i) == 0)
            continue;
        long long size = static_cast<long long>(axis.Size(i)) + each;
        if (remainder < 0) {
            --size;
            ++remainder;
        }
        axis.Set(i, static_cast<UINT>(std::max<long long>(size, 0)));
    }
}

} // namespace

void CGridCtrl::ExpandColumnsToFit(BOOL expandFixed)
{
    ShowScrollBar(SB_HORZ, false);
    Spread(m_colWidths, expandFixed ? 0 : GetFixedColumnCount(), GetClientRect().Width() - GetVirtualWidth());
    ForgetTopLeft();
    Refresh();
}

void CGridCtrl::ExpandRowsToFit(BOOL expandFixed)
{
    ShowScrollBar(SB_VERT, false);
    Spread(m_rowHeights, expandFixed ? 0 : m_nFixedRows, GetClientRect().Height() - GetVirtualHeight());
    ForgetTopLeft();
    Refresh();
}

void CGridCtrl::ExpandToFit(BOOL expandFixed)
{
    // Columns twice: fitting the rows may have removed the vertical bar.
    ExpandColumnsToFit(expandFixed);
    ExpandRowsToFit(expandFixed);
    ExpandColumnsToFit(expandFixed);
    Refresh();
}
