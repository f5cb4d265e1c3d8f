#include "CGridCtrl.h"

#include "cells/CGridCellBase.h"
#include "platform/VirtualKeys.h"

#include <QCursor>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kWheelDelta = 120;
constexpr int kTrackBarWidth = 2;

} // namespace

// ---------------------------------------------------------------- helpers

CPoint CGridCtrl::CellRelative(const CCellID& cell, const CPoint& point)
{
    POINT origin;
    if (!GetCellOrigin(cell.row, cell.col, &origin))
        return point;
    return point - CPoint(origin);
}

bool CGridCtrl::PointInTextRect(const CCellID& cell, const CPoint& point)
{
    CGridCellBase* target = GetCell(cell.row, cell.col);
    CRect rect;
    return target && GetCellRect(cell, &rect) && target->GetTextRect(&rect) && rect.PtInRect(point);
}

void CGridCtrl::SetGridCursor(Qt::CursorShape shape)
{
    viewport()->setCursor(shape);
}

// Scrolled-off lines lie before the fixed band, at negative positions.
int CGridCtrl::LineStart(bool rows, int line)
{
    const GridAxis& axis = rows ? m_rowHeights : m_colWidths;
    const int fixed = rows ? m_nFixedRows : GetFixedColumnCount();
    if (line < fixed)
        return GridAxis::Pixels(axis.Sum(0, line));
    const CCellID topLeft = GetTopleftNonFixedCell();
    const int first = rows ? topLeft.row : topLeft.col;
    const long long fixedSize = axis.Sum(0, fixed);
    const long long offset = line >= first ? axis.Sum(first, line) : -axis.Sum(line, first);
    return GridAxis::Pixels(fixedSize + offset);
}

int CGridCtrl::LineSize(bool rows, int line) const
{
    return rows ? GetRowHeight(line) : GetColumnWidth(line);
}

// Where the tracked point may go while a divider is dragged. The window system
// offers no way to confine the pointer to a rectangle, so the point the grid
// tracks is held inside it instead: the bar and the new size look the same.
CPoint CGridCtrl::Confined(const CPoint& point) const
{
    if (!m_bConfined)
        return point;
    return CPoint(std::clamp<int>(point.x, m_rcConfine.left, std::max(m_rcConfine.left, m_rcConfine.right - 1)),
                  std::clamp<int>(point.y, m_rcConfine.top, std::max(m_rcConfine.top, m_rcConfine.bottom - 1)));
}

// The bar is an overlay the paint event inverts; only the two rectangles repaint.
void CGridCtrl::DrawTrackBar(const CRect& bar)
{
    InvalidateRect(m_rcTrackBar);
    m_rcTrackBar = bar;
    InvalidateRect(m_rcTrackBar);
}

CRect CGridCtrl::TrackBarAt(bool rows, const CPoint& point) const
{
    const CRect client = GetClientRect();
    if (rows)
        return CRect(client.left, point.y, client.right, point.y + kTrackBarWidth);
    return CRect(point.x, client.top, point.x + kTrackBarWidth, client.bottom);
}

// ---------------------------------------------------------------- left button down

void CGridCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    setFocus(Qt::MouseFocusReason);
    m_bLMouseButtonDown = TRUE;
    m_LeftClickDownPoint = point;
    m_LeftClickDownCell = GetCellFromPt(point);
    if (!IsValid(m_LeftClickDownCell))
        return;
    if (!(nFlags & MK_SHIFT))
        m_SelectionStartCell = m_LeftClickDownCell;
    else if (!IsValid(m_SelectionStartCell))
        m_SelectionStartCell = m_idCurrentCell;

    EndEditing();
    if (CGridCellBase* cell = GetCell(m_LeftClickDownCell.row, m_LeftClickDownCell.col))
        cell->OnClickDown(CellRelative(m_LeftClickDownCell, point));

    if (m_LeftClickDownCell == m_idCurrentCell && !(nFlags & MK_CONTROL) &&
        PointInTextRect(m_LeftClickDownCell, point) && IsCellEditable(m_LeftClickDownCell)) {
        m_MouseMode = MouseMode::PrepareEdit;
        return;
    }
    if (!FocusClickedCell(nFlags))
        return;

    m_bMouseCaptured = TRUE;
    if (m_MouseMode == MouseMode::None)
        TrackDividers(point);
    if (m_MouseMode == MouseMode::OverColumnDivider || m_MouseMode == MouseMode::OverRowDivider) {
        if (!StartSizing(m_MouseMode == MouseMode::OverRowDivider, point))
            return;
    } else if (m_MouseMode != MouseMode::PrepareDrag) {
        StartSelecting(nFlags);
    }
    m_LastMousePoint = point;
}

// FALSE when the click only took a cell out of the selection.
bool CGridCtrl::FocusClickedCell(UINT nFlags)
{
    const CCellID clicked = m_LeftClickDownCell;
    if (!IsCellSelected(clicked.row, clicked.col)) {
        if (m_MouseMode != MouseMode::OverRowDivider && m_MouseMode != MouseMode::OverColumnDivider)
            SetFocusCell(IsCellFixed(clicked.row, clicked.col) ? CCellID() : clicked);
        return true;
    }
    SetFocusCell(clicked);
    if (nFlags & MK_CONTROL) {
        if (m_bListMode)
            SelectRows(clicked, FALSE, FALSE);
        else
            SelectCells(clicked, FALSE, FALSE);
        return false;
    }
    if (m_bAllowDragAndDrop)
        m_MouseMode = MouseMode::PrepareDrag;
    return true;
}

void CGridCtrl::TrackDividers(const CPoint& point)
{
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
        SetGridCursor(Qt::SizeHorCursor);
        m_MouseMode = MouseMode::OverColumnDivider;
    } else if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
        SetGridCursor(Qt::SizeVerCursor);
        m_MouseMode = MouseMode::OverRowDivider;
    } else {
        SetGridCursor(Qt::ArrowCursor);
        m_MouseMode = MouseMode::None;
    }
}

// The line a divider press sizes: the one left of (above) the divider, found
// from the clicked header cell; -1 when only hidden lines lie there.
int CGridCtrl::LineToSize(bool rows, const CPoint& point)
{
    const int count = rows ? m_nRows : m_nCols;
    const int last = count - 1;
    const int along = rows ? point.y : point.x;
    int line = rows ? m_LeftClickDownCell.row : m_LeftClickDownCell.col;
    // A last line thinner than the grab distance is grabbed at the end of the cells.
    const bool thinLast = LineSize(rows, last) < m_nResizeCaptureRange;
    CRect visible;
    GetVisibleNonFixedCellRange(&visible);
    if (thinLast && std::abs(along - (rows ? visible.bottom : visible.right)) < m_nResizeCaptureRange)
        line = last;
    const bool nearStart = along - LineStart(rows, line) < m_nResizeCaptureRange;
    if (nearStart && !(line == last && thinLast))
        --line;
    const BOOL unhide = rows ? m_bHiddenRowUnhide : m_bHiddenColUnhide;
    if (!unhide && !(line == last && !nearStart)) {
        while (line >= 0 && LineSize(rows, line) == 0)
            --line;
    }
    return line;
}

bool CGridCtrl::StartSizing(bool rows, const CPoint& point)
{
    const int line = LineToSize(rows, point);
    if (line < 0) {
        m_MouseMode = MouseMode::None;
        return false;
    }
    m_MouseMode = rows ? MouseMode::SizingRow : MouseMode::SizingColumn;
    m_nSizingLine = line;
    DrawTrackBar(TrackBarAt(rows, point));

    // No bigger than the grid can show; one pixel past the line's start, or
    // its very start when the line may be dragged to nothing.
    const CRect client = GetClientRect();
    const BOOL mayHide = rows ? m_bAllowRowHide : m_bAllowColHide;
    const int start = LineStart(rows, line) + (mayHide ? 0 : 1);
    m_rcConfine = client;
    if (rows) {
        m_rcConfine.top = start;
        m_rcConfine.bottom = start + 1 + client.Height() - GetFixedRowHeight();
    } else {
        m_rcConfine.left = start;
        m_rcConfine.right = start + 1 + client.Width() - GetFixedColumnWidth();
    }
    m_bConfined = true;
    return true;
}

void CGridCtrl::StartSelecting(UINT nFlags)
{
    const CCellID clicked = m_LeftClickDownCell;
    m_TitleTip.Hide();
    SendMessageToParent(clicked.row, clicked.col, GRIDN_SELCHANGING);
    m_PrevSelectedCellMap.clear();
    // Ctrl keeps what was selected, so the new range adds to it.
    if (nFlags & MK_CONTROL)
        m_PrevSelectedCellMap = m_SelectedCellMap;
    if (clicked.row < m_nFixedRows) {
        OnFixedRowClick(clicked);
    } else if (clicked.col < m_nFixedCols) {
        OnFixedColumnClick(clicked);
    } else {
        m_MouseMode = m_bListMode ? MouseMode::SelectRows : MouseMode::SelectCells;
        SelectCurrentRange(clicked);
        SetTimer(GRID_AUTOSCROLL_TIMER, m_nTimerInterval);
    }
}

// ---------------------------------------------------------------- move

void CGridCtrl::OnMouseMove(UINT, CPoint point)
{
    point = Confined(point);
    if (!GetClientRect().PtInRect(point) && m_MouseMode != MouseMode::DragDrop)
        return;
    if (!m_bLMouseButtonDown || m_MouseMode == MouseMode::None) {
        TrackDividers(point);
        if (m_MouseMode == MouseMode::None && (!m_bVirtualMode || m_bTitleTips))
            HoverCell(point);
    } else if (IsValid(m_LeftClickDownCell)) {
        DragTo(point);
    }
    m_LastMousePoint = point;
}

void CGridCtrl::HoverCell(const CPoint& point)
{
    const CCellID id = GetCellFromPt(point);
    CGridCellBase* cell = IsValid(id) ? GetCell(id.row, id.col) : nullptr;
    if (cell)
        cell->OnMouseOver();
    if (!m_TitleTip.GetHoverRect().PtInRect(point))
        m_TitleTip.Hide();
    if (!m_bTitleTips || !cell || cell->IsEditing())
        return;
    const QString tip = cell->GetTipText();
    CRect cellRect;
    if (tip.isEmpty() || !GetCellRect(id, &cellRect))
        return;
    CRect textRect = cellRect;
    if (!cell->GetTipTextRect(&textRect))
        return;
    m_TitleTip.Create(this);
    m_TitleTip.Show(textRect, tip, 0, -1, &cellRect, cell->GetFont(), m_crTTipTextClr, m_crTTipBackClr);
}

void CGridCtrl::DragTo(const CPoint& point)
{
    switch (m_MouseMode) {
    case MouseMode::SelectColumns:
    case MouseMode::SelectRows:
    case MouseMode::SelectCells: {
        const CCellID cell = GetCellFromPt(point);
        if (!IsValid(cell) || cell == m_idCurrentCell)
            break;
        SelectCurrentRange(cell);
        if (!IsCellFixed(cell.row, cell.col) || m_MouseMode != MouseMode::SelectCells)
            SetFocusCell(cell);
        break;
    }
    case MouseMode::SizingRow:
    case MouseMode::SizingColumn: DrawTrackBar(TrackBarAt(m_MouseMode == MouseMode::SizingRow, point)); break;
    case MouseMode::PrepareEdit:
    case MouseMode::PrepareDrag:
        m_MouseMode = MouseMode::PrepareDrag;
        StartDragDrop();
        break;
    default: break;
    }
}

// ---------------------------------------------------------------- button up

void CGridCtrl::OnLButtonUp(UINT, CPoint point)
{
    point = Confined(point);
    m_bLMouseButtonDown = FALSE;
    m_bConfined = false;
    if (m_bMouseCaptured) {
        m_bMouseCaptured = FALSE;
        KillTimer(GRID_AUTOSCROLL_TIMER);
    }
    switch (m_MouseMode) {
    case MouseMode::PrepareEdit:
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CellRelative(m_idCurrentCell, point), VK_LBUTTON);
        break;
    case MouseMode::PrepareDrag: FinishDragPending(point); break;
    case MouseMode::SizingColumn:
    case MouseMode::SizingRow: FinishSizing(m_MouseMode == MouseMode::SizingRow, point); break;
    default: FinishClick(point); break;
    }
    m_MouseMode = MouseMode::None;
    SetGridCursor(Qt::ArrowCursor);
    if (IsValid(m_LeftClickDownCell))
        PostCommandToReceiver();
}

// A press on a selected cell that never became a drag.
void CGridCtrl::FinishDragPending(const CPoint& point)
{
    if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
        cell->OnClick(CellRelative(m_idCurrentCell, point));
    if (m_LeftClickDownCell == m_idCurrentCell)
        return;
    ResetSelectedRange();
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, NM_CLICK);
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GRIDN_SELCHANGED);
}

void CGridCtrl::FinishSizing(bool rows, const CPoint& point)
{
    DrawTrackBar(CRect());
    if (point == m_LeftClickDownPoint || point == CPoint(0, 0))
        return;
    const BOOL mayHide = rows ? m_bAllowRowHide : m_bAllowColHide;
    const int size = std::max((rows ? point.y : point.x) - LineStart(rows, m_nSizingLine), mayHide ? 0 : 1);
    if (rows)
        SetRowHeight(m_nSizingLine, size);
    else
        SetColumnWidth(m_nSizingLine, size);
    ResetScrollBars();
    Refresh();
}

// A click (or a drag) that selected. A press outside the cells clicks no cell.
void CGridCtrl::FinishClick(const CPoint& point)
{
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GRIDN_SELCHANGED);
    CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col);
    if (cell && IsValid(m_LeftClickDownCell))
        cell->OnClick(CellRelative(m_idCurrentCell, point));
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, NM_CLICK);
}

void CGridCtrl::PostCommandToReceiver()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (CNotifyReceiver* receiver = NotifyReceiver())
                receiver->OnControlCommand(m_nID, this);
        },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------- double click, right button

void CGridCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    const CCellID cell = GetCellFromPt(point);
    if (!IsValid(cell))
        return;
    if (m_MouseMode == MouseMode::OverColumnDivider || m_MouseMode == MouseMode::OverRowDivider) {
        AutoSizeLineLeftOf(m_MouseMode == MouseMode::OverRowDivider, cell, point);
    } else if (m_MouseMode == MouseMode::None && !IsCellFixed(cell.row, cell.col) &&
               (IsValid(m_LeftClickDownCell) || m_bListMode) && PointInTextRect(cell, point)) {
        OnEditCell(cell.row, cell.col, CellRelative(cell, point), VK_LBUTTON);
    }
    if (CGridCellBase* target = GetCell(cell.row, cell.col))
        target->OnDblClick(CellRelative(cell, point));
    SendMessageToParent(cell.row, cell.col, NM_DBLCLK);
}

void CGridCtrl::AutoSizeLineLeftOf(bool rows, const CCellID& cell, const CPoint& point)
{
    int line = rows ? cell.row : cell.col;
    if ((rows ? point.y : point.x) - LineStart(rows, line) < m_nResizeCaptureRange)
        --line;
    while (line >= 0 && LineSize(rows, line) == 0)
        --line;
    if (line < 0)
        return;
    if (rows)
        AutoSizeRow(line);
    else
        AutoSizeColumn(line, m_nAutoSizeColumnStyle);
    Refresh();
}

void CGridCtrl::OnRButtonUp(UINT, CPoint point)
{
    EndEditing();
    const CCellID cell = GetCellFromPt(point);
    if (!IsValid(cell)) {
        SendMessageToParent(-1, -1, NM_RCLICK);
        return;
    }
    SetFocusCell(-1, -1);
    SetFocusCell(std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols));
    if (CGridCellBase* target = GetCell(cell.row, cell.col))
        target->OnRClick(CellRelative(cell, point));
    SendMessageToParent(cell.row, cell.col, NM_RCLICK);
}

// ---------------------------------------------------------------- cursor, wheel, leave, capture, timer

BOOL CGridCtrl::OnSetCursor()
{
    switch (m_MouseMode) {
    case MouseMode::OverRowDivider: SetGridCursor(Qt::SizeVerCursor); return TRUE;
    case MouseMode::OverColumnDivider: SetGridCursor(Qt::SizeHorCursor); return TRUE;
    case MouseMode::DragDrop: return TRUE;
    default: break;
    }
    const CCellID id = GetCellFromPt(m_LastMousePoint);
    CGridCellBase* cell = (!m_bVirtualMode && IsValid(id)) ? GetCell(id.row, id.col) : nullptr;
    if (cell)
        return cell->OnSetCursor();
    SetGridCursor(Qt::ArrowCursor);
    return TRUE;
}

BOOL CGridCtrl::OnMouseWheel(UINT, short zDelta, CPoint)
{
    const int perNotch = m_nRowsPerWheelNotch == -1 ? 1 : m_nRowsPerWheelNotch;
    WheelSteps(static_cast<double>(zDelta) * perNotch / kWheelDelta);
    return TRUE;
}

// A touchpad moves by pixels: the rows (or pages) they make up.
void CGridCtrl::WheelPixels(int pixels)
{
    int extent = 0;
    if (m_nRowsPerWheelNotch == -1)
        extent = GetClientRect().Height() - GetFixedRowHeight();
    else
        extent = GetRowHeight(GetTopleftNonFixedCell().row);
    if (extent <= 0)
        extent = m_cellDefault.GetHeight();
    WheelSteps(static_cast<double>(pixels) / std::max(1, extent));
}

// Fine wheels and touchpads send many small deltas: what does not make a
// whole step yet is kept for the next one, and dropped when the direction turns.
void CGridCtrl::WheelSteps(double steps)
{
    if (steps == 0)
        return;
    if ((steps > 0) != (m_dWheelSteps > 0))
        m_dWheelSteps = 0;
    m_dWheelSteps += steps;
    const int whole = static_cast<int>(m_dWheelSteps);
    m_dWheelSteps -= whole;
    const bool forward = whole > 0;
    const UINT code =
        m_nRowsPerWheelNotch == -1 ? (forward ? SB_PAGEUP : SB_PAGEDOWN) : (forward ? SB_LINEUP : SB_LINEDOWN);
    for (int i = 0; i < std::abs(whole); ++i)
        QMetaObject::invokeMethod(
            this, [this, code] { OnVScroll(code, 0); }, Qt::QueuedConnection);
}

void CGridCtrl::OnMouseLeave()
{
    m_TitleTip.Hide();
}

void CGridCtrl::OnCaptureChanged()
{
    m_bMouseCaptured = FALSE;
    KillTimer(GRID_AUTOSCROLL_TIMER);
    if (m_MouseMode == MouseMode::DragDrop)
        m_MouseMode = MouseMode::None;
}

// While the mouse selects outside the cells, the view follows it a line at a
// time and the selection grows to the cell now at the edge.
void CGridCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == GRID_AUTOSCROLL_TIMER)
        AutoScroll([this](UINT nChar) { OnKeyDown(nChar, 0, 0); });
}

// step moves one line towards the arrow key's direction; a move at the edge
// then carries the selection along.
void CGridCtrl::AutoScroll(const std::function<void(UINT nChar)>& step)
{
    const QPoint cursor = viewport()->mapFromGlobal(QCursor::pos());
    const CPoint point(cursor.x(), cursor.y());
    // The last pixel inside, since a move outside the client area does nothing.
    const CRect client = GetClientRect();
    const int fixedBottom = GetFixedRowHeight();
    const int fixedRight = GetFixedColumnWidth();
    if (point.y >= client.bottom) {
        step(VK_DOWN);
        OnMouseMove(MK_LBUTTON, CPoint(point.x, client.bottom - 1));
    } else if (point.y < fixedBottom) {
        step(VK_UP);
        OnMouseMove(MK_LBUTTON, CPoint(point.x, fixedBottom + 1));
    }
    if (point.x >= client.right) {
        step(VK_RIGHT);
        OnMouseMove(MK_LBUTTON, CPoint(client.right - 1, point.y));
    } else if (point.x < fixedRight) {
        step(VK_LEFT);
        OnMouseMove(MK_LBUTTON, CPoint(fixedRight + 1, point.y));
    }
}

void CGridCtrl::SetTimer(UINT_PTR nIDEvent, UINT elapse)
{
    KillTimer(nIDEvent);
    m_nQtTimerID = startTimer(static_cast<int>(elapse));
    m_nTimerID = m_nQtTimerID ? nIDEvent : 0;
}

void CGridCtrl::KillTimer(UINT_PTR nIDEvent)
{
    if (m_nTimerID != nIDEvent || !m_nQtTimerID)
        return;
    killTimer(m_nQtTimerID);
    m_nQtTimerID = 0;
    m_nTimerID = 0;
}
