#include "CGridCtrl.h"

#include <QApplication>

#include <algorithm>

namespace {

// The wait cursor for as long as a selection change takes.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void CGridCtrl::RedrawFixedCellsOf(const CCellID& cell, const CCellID& other)
{
    if (!m_bTrackFocusCell)
        return;
    if (cell.col != other.col) {
        for (int row = 0; row < m_nFixedRows; ++row)
            RedrawCell(row, cell.col);
    }
    if (cell.row != other.row) {
        for (int col = 0; col < m_nFixedCols; ++col)
            RedrawCell(cell.row, col);
    }
}

CCellID CGridCtrl::SetFocusCell(int row, int col)
{
    const CCellID previous = m_idCurrentCell;
    CCellID cell(row, col);
    if (cell == m_idCurrentCell)
        return previous;
    if (cell.row != -1 && cell.row < m_nFixedRows)
        cell.row = m_nFixedRows;
    if (cell.col != -1 && cell.col < m_nFixedCols)
        cell.col = m_nFixedCols;
    m_idCurrentCell = cell;

    if (IsValid(previous)) {
        SetItemState(previous.row, previous.col, GetItemState(previous.row, previous.col) & ~GRIDIS_FOCUSED);
        RedrawCell(previous);
        RedrawFixedCellsOf(previous, cell);
    }
    if (IsValid(cell)) {
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GRIDIS_FOCUSED);
        RedrawCell(cell);
        RedrawFixedCellsOf(cell, previous);
    }
    return previous;
}

void CGridCtrl::SetSelectedRange(const CellSpan& span, BOOL forceRepaint, BOOL selectCells)
{
    SetSelectedRange(span.GetMinRow(), span.GetMinCol(), span.GetMaxRow(), span.GetMaxCol(), forceRepaint, selectCells);
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, BOOL forceRepaint, BOOL selectCells)
{
    if (!m_bEnableSelection)
        return;
    const auto raise = [](int& bound, int fixed) {
        if (bound >= 0 && bound < fixed)
            bound = fixed;
    };
    raise(minRow, m_nFixedRows);
    raise(maxRow, m_nFixedRows);
    raise(minCol, m_nFixedCols);
    raise(maxCol, m_nFixedCols);
    const CellSpan range(minRow, minCol, maxRow, maxCol);
    // Nothing to visit (the usual case when rows are inserted): no cursor flicker.
    if (m_SelectedCellMap.empty() && m_PrevSelectedCellMap.empty() && !IsValid(range))
        return;
    const WaitCursor wait;
    // Cells out of sight have nothing to paint; a large selection would
    // otherwise look up the rectangle of every cell in it.
    const CellSpan visible = GetVisibleNonFixedCellRange();
    const auto redraw = [&](const CCellID& cell) {
        if ((cell.row >= m_nFixedRows && cell.col >= m_nFixedCols) && !visible.InRange(cell))
            return;
        if (!forceRepaint) {
            InvalidateCellRect(cell);
            return;
        }
        CRect rect;
        if (m_bAllowDraw && m_bCreated && GetCellRect(cell, &rect))
            viewport()->repaint(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1);
    };

    if (selectCells) {
        // A copy: clearing the selected bit removes entries from the map.
        const CellMap selected = m_SelectedCellMap;
        for (const auto& [key, cell] : selected) {
            if (!IsValid(cell)) {
                m_SelectedCellMap.erase(key);
                continue;
            }
            SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~GRIDIS_SELECTED);
            if (!range.InRange(cell))
                redraw(cell);
        }
        // A Ctrl-drag adds to what was selected when it began.
        if (!(m_bListMode && m_bSingleRowSelection) && minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0) {
            for (const auto& [key, cell] : m_PrevSelectedCellMap) {
                if (!IsValid(cell))
                    continue;
                SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GRIDIS_SELECTED);
                redraw(cell);
            }
        }
    }
    if (!IsValid(range))
        return;
    if (selectCells)
        m_SelectedCellMap.reserve(m_SelectedCellMap.size() + static_cast<std::size_t>(maxRow - minRow + 1) *
                                                                 static_cast<std::size_t>(maxCol - minCol + 1));
    for (int row = minRow; row <= maxRow; ++row) {
        for (int col = minCol; col <= maxCol; ++col) {
            if (static_cast<bool>(IsCellSelected(row, col)) == static_cast<bool>(selectCells))
                continue;
            const UINT state = GetItemState(row, col);
            SetItemState(row, col, selectCells ? (state | GRIDIS_SELECTED) : (state & ~GRIDIS_SELECTED));
            redraw(CCellID(row, col));
        }
    }
}

void CGridCtrl::ResetSelectedRange()
{
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(-1, -1, -1, -1, FALSE, TRUE);
    SetFocusCell(-1, -1);
}

BOOL CGridCtrl::IsCellSelected(int row, int col) const
{
    if (!m_bEnableSelection)
        return FALSE;
    if (m_bVirtualMode)
        return m_SelectedCellMap.count(SelectionKey(row, col)) != 0;
    const CGridCellBase* cell = GetCell(row, col);
    return cell && cell->IsSelected();
}

CellSpan CGridCtrl::GetSelectedCellRange() const
{
    int minRow = m_nRows, minCol = m_nCols, maxRow = -1, maxCol = -1;
    for (const auto& [key, cell] : m_SelectedCellMap) {
        minRow = std::min(minRow, cell.row);
        minCol = std::min(minCol, cell.col);
        maxRow = std::max(maxRow, cell.row);
        maxCol = std::max(maxCol, cell.col);
    }
    return CellSpan(minRow, minCol, maxRow, maxCol);
}

void CGridCtrl::SelectAllCells()
{
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1, FALSE, TRUE);
}

void CGridCtrl::EnableSelection(BOOL enable)
{
    ResetSelectedRange();
    m_bEnableSelection = enable;
    ResetSelectedRange();
}

namespace {

// The lines between the anchor and the cell; the cell alone without an anchor.
void SpanBetween(int anchor, int line, int* low, int* high)
{
    if (anchor < 0)
        anchor = line;
    *low = std::min(anchor, line);
    *high = std::max(anchor, line);
}

} // namespace

void CGridCtrl::SelectColumns(CCellID currentCell, BOOL forceRedraw, BOOL selectCells)
{
    if (!m_bEnableSelection || currentCell.col < m_nFixedCols || !IsValid(currentCell))
        return;
    int minCol = currentCell.col;
    int maxCol = currentCell.col;
    if (!m_bSingleColSelection)
        SpanBetween(m_SelectionStartCell.col, currentCell.col, &minCol, &maxCol);
    SetSelectedRange(m_nFixedRows, minCol, m_nRows - 1, maxCol, forceRedraw, selectCells);
}

void CGridCtrl::SelectRows(CCellID currentCell, BOOL forceRedraw, BOOL selectCells)
{
    if (!m_bEnableSelection || currentCell.row < m_nFixedRows || !IsValid(currentCell))
        return;
    int minRow = currentCell.row;
    int maxRow = currentCell.row;
    if (!(m_bListMode && m_bSingleRowSelection))
        SpanBetween(m_SelectionStartCell.row, currentCell.row, &minRow, &maxRow);
    SetSelectedRange(minRow, m_nFixedCols, maxRow, m_nCols - 1, forceRedraw, selectCells);
}

void CGridCtrl::SelectCells(CCellID currentCell, BOOL forceRedraw, BOOL selectCells)
{
    if (!m_bEnableSelection || !IsValid(currentCell) || IsCellFixed(currentCell.row, currentCell.col))
        return;
    int minRow = 0;
    int maxRow = 0;
    int minCol = 0;
    int maxCol = 0;
    SpanBetween(m_SelectionStartCell.row, currentCell.row, &minRow, &maxRow);
    SpanBetween(m_SelectionStartCell.col, currentCell.col, &minCol, &maxCol);
    SetSelectedRange(minRow, minCol, maxRow, maxCol, forceRedraw, selectCells);
}

void CGridCtrl::SelectCurrentRange(const CCellID& cell)
{
    if (!m_bEnableSelection)
        return;
    switch (m_MouseMode) {
    case MouseMode::SelectAll: SelectAllCells(); break;
    case MouseMode::SelectColumns: SelectColumns(cell); break;
    case MouseMode::SelectRows: SelectRows(cell); break;
    case MouseMode::SelectCells: SelectCells(cell); break;
    default: break;
    }
}

void CGridCtrl::OnEditSelectAll()
{
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GRIDN_SELCHANGING);
    SelectAllCells();
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GRIDN_SELCHANGED);
}

void CGridCtrl::OnFixedColumnClick(const CCellID& cell)
{
    if (!IsValid(cell) || !m_bFixedColumnSelection)
        return;
    m_MouseMode = cell.row < m_nFixedRows ? MouseMode::SelectAll : MouseMode::SelectRows;
    SelectCurrentRange(cell);
}

void CGridCtrl::OnFixedRowClick(const CCellID& cell)
{
    SortByHeaderClick(cell);
    if (!IsValid(cell) || !m_bFixedRowSelection)
        return;
    m_MouseMode = cell.col < m_nFixedCols ? MouseMode::SelectAll : MouseMode::SelectColumns;
    SelectCurrentRange(cell);
}
