#include "CGridCtrlVantel.h"

#include "cells/CGridCellVantel.h"
#include "platform/VirtualKeys.h"
#include "res/Resource.h"

#include <QApplication>

namespace {

// Whether the keyboard focus already lies in the grid or in its editor.
bool HoldsFocus(const QWidget* grid)
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == grid || grid->isAncestorOf(focus));
}

} // namespace

// ---------------------------------------------------------------- selection of rows and columns

void CGridCtrlVantel::SelectColumns(CCellID currentCell, BOOL forceRedraw, BOOL selectCells)
{
    CGridCtrl::SelectColumns(currentCell, forceRedraw, selectCells);
    FollowLineSelection(currentCell, false);
}

void CGridCtrlVantel::SelectRows(CCellID currentCell, BOOL forceRedraw, BOOL selectCells)
{
    CGridCtrl::SelectRows(currentCell, forceRedraw, selectCells);
    FollowLineSelection(currentCell, true);
}

// The far corner lets Shift and the arrow keys extend whole lines; the timer
// lets a selection dragged past the edge go on.
void CGridCtrlVantel::FollowLineSelection(const CCellID& cell, bool rows)
{
    const CellSpan span = GetSelectedCellRange();
    if (!IsValid(cell) || !IsValid(span))
        return;
    const int lines = rows ? span.GetMaxRow() - span.GetMinRow() : span.GetMaxCol() - span.GetMinCol();
    SetFocusCell(lines > 0 ? GetSelectionAnchor() : span.GetTopLeft());
    m_idFarCorner = rows ? CCellID(cell.row, GetColumnCount() - 1) : CCellID(GetRowCount() - 1, cell.col);
    if (m_bLMouseButtonDown)
        SetTimer(GRID_AUTOSCROLL_TIMER, m_nTimerInterval);
}

// ---------------------------------------------------------------- buttons

void CGridCtrlVantel::OnLButtonDown(UINT nFlags, CPoint point)
{
    // A click puts the selection somewhere new; a stale corner would extend it
    // from where the keyboard last left it.
    m_idFarCorner = CCellID();
    if (m_bReEditPending) {
        ReturnToRefusedCell();
        return;
    }
    const CCellID cell = GetCellFromPt(point);
    if ((nFlags & MK_CONTROL) && GetDragAndDrop() && IsValid(cell) && cell == GetFocusCell()) {
        PressToDragFocusCell(cell, point);
        return;
    }
    CGridCtrl::OnLButtonDown(nFlags, point);
}

// The press only brings the user back to the refused text. The window system
// moves the focus before the press arrives, which already closed and reopened
// the editor; taking the focus again would judge the same text twice.
void CGridCtrlVantel::ReturnToRefusedCell()
{
    m_LeftClickDownCell = CCellID();
    if (!HoldsFocus(this))
        setFocus(Qt::MouseFocusReason);
    if (IsValid(m_idLastChecked))
        SetFocusCell(m_idLastChecked);
    m_bReEditPending = FALSE;
}

// Ctrl on the focus cell drags that cell alone instead of taking it out of the
// selection; the move that follows starts the drag as the grid does.
void CGridCtrlVantel::PressToDragFocusCell(const CCellID& cell, const CPoint& point)
{
    setFocus(Qt::MouseFocusReason);
    EndEditing();
    m_bLMouseButtonDown = TRUE;
    m_LeftClickDownPoint = point;
    m_LeftClickDownCell = cell;
    m_SelectionStartCell = cell;
    ResetSelectedRange();
    SetFocusCell(cell);
    SetSelectedRange(cell.row, cell.col, cell.row, cell.col);
    m_MouseMode = MouseMode::PrepareDrag;
    m_bMouseCaptured = TRUE;
    m_LastMousePoint = point;
}

// A press on the focus cell's text that moves selects from that cell; the
// grid would drag the cell away instead.
void CGridCtrlVantel::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bLMouseButtonDown && m_MouseMode == MouseMode::PrepareEdit && IsValid(m_LeftClickDownCell) &&
        GetClientRect().PtInRect(point)) {
        m_bMouseCaptured = TRUE;
        StartSelecting(nFlags);
    }
    CGridCtrl::OnMouseMove(nFlags, point);
}

// An empty product cell asks for a name from the tag browser.
void CGridCtrlVantel::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_bReEditPending)
        return;
    CGridCtrl::OnLButtonDblClk(nFlags, point);
    m_idRightClickCell = GetCellFromPt(point);
    const auto* product = dynamic_cast<const CGridCellVantel*>(GetCell(m_idRightClickCell.row, m_idRightClickCell.col));
    if (!product || !product->GetText().isEmpty())
        return;
    switch (product->GetCheckKind()) {
    case 1:
    case 3: PostCommand(ID_BROWSE_TAG); break;
    case 2: PostCommand(ID_BROWSE_EXPRESSION_TAG); break;
    default: break;
    }
}

void CGridCtrlVantel::OnRButtonUp(UINT nFlags, CPoint point)
{
    m_idFarCorner = CCellID();
    if (m_bReEditPending) {
        if (!HoldsFocus(this))
            setFocus(Qt::MouseFocusReason);
        return;
    }
    CGridCtrl::OnRButtonUp(nFlags, point);
}

// ---------------------------------------------------------------- auto-scroll

// The view itself moves a line, so that the move at the edge finds a new cell
// there and the selection follows; the grid's own step moves the focus first,
// and the selection then stays behind. Keys are left alone while the button
// is held.
void CGridCtrlVantel::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != GRID_AUTOSCROLL_TIMER)
        return;
    AutoScroll([this](UINT nChar) {
        switch (nChar) {
        case VK_DOWN: OnVScroll(SB_LINEDOWN, 0); break;
        case VK_UP: OnVScroll(SB_LINEUP, 0); break;
        case VK_RIGHT: OnHScroll(SB_LINEDOWN, 0); break;
        default: OnHScroll(SB_LINEUP, 0); break;
        }
    });
}
