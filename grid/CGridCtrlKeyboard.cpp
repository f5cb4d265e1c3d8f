#include "CGridCtrl.h"

#include "platform/VirtualKeys.h"

#include <algorithm>

namespace {

bool IsDown(int virtualKey)
{
    return GetKeyState(virtualKey) < 0;
}

} // namespace

UINT CGridCtrl::OnGetDlgCode() const
{
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_bHandleTabKey && !IsDown(VK_CONTROL))
        code |= DLGC_WANTTAB;
    return code;
}

void CGridCtrl::OnKeyDown(UINT nChar, UINT, UINT)
{
    m_bKeyHandled = HandleKeyDown(nChar);
}

// FALSE when the key is left to the default handling.
bool CGridCtrl::HandleKeyDown(UINT nChar)
{
    if (!IsValid(m_idCurrentCell))
        return false;
    if (HandleShortcut(nChar))
        return true;
    bool handled = true;
    int wrapped = 0;
    const CCellID next = NextFocusForKey(m_idCurrentCell, nChar, &handled, &wrapped);
    if (!handled)
        return false;
    if (next == m_idCurrentCell)
        return true;
    if (m_MouseMode == MouseMode::None)
        SelectForKeyMove(next, nChar);
    SetFocusCell(next);
    ScrollFocusIntoView(next, nChar, wrapped);
    return true;
}

bool CGridCtrl::HandleShortcut(UINT nChar)
{
    if (IsDown(VK_CONTROL)) {
        switch (nChar) {
        case 'C':
        case VK_INSERT: OnEditCopy(); return true;
        case 'X': OnEditCut(); return true;
        case 'V': OnEditPaste(); return true;
        case 'A': OnEditSelectAll(); return true;
        default: break;
        }
    }
    if (nChar == VK_INSERT && IsDown(VK_SHIFT)) {
        OnEditPaste();
        return true;
    }
    return false;
}

// The next line of non-zero size from 'from' in the direction of 'step',
// not before 'first'; -1 when there is none.
int CGridCtrl::NextVisibleLine(bool rows, int from, int step, int first) const
{
    const int count = rows ? m_nRows : m_nCols;
    for (int line = from + step; line >= first && line < count; line += step) {
        if (LineSize(rows, line) > 0)
            return line;
    }
    return -1;
}

// The cell a key moves to from 'from' (the focus here; a derived grid may move
// from elsewhere). F2 and Delete act and leave it where it was.
CCellID CGridCtrl::NextFocusForKey(const CCellID& from, UINT nChar, bool* handled, int* wrapped)
{
    CCellID next = from;
    const auto step = [&](bool rows, int direction) {
        int& coordinate = rows ? next.row : next.col;
        const int line = NextVisibleLine(rows, coordinate, direction, rows ? m_nFixedRows : m_nFixedCols);
        if (line >= 0)
            coordinate = line;
    };
    switch (nChar) {
    case VK_DOWN:
    case VK_RETURN: step(true, 1); break;
    case VK_UP: step(true, -1); break;
    case VK_RIGHT: step(false, 1); break;
    case VK_LEFT: step(false, -1); break;
    case VK_TAB: next = TabTarget(from, IsDown(VK_SHIFT), handled, wrapped); break;
    case VK_PRIOR:
    case VK_NEXT: next.row = PageRow(nChar == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN, next.row); break;
    case VK_END: next = EndTarget(from, IsDown(VK_CONTROL)); break;
    case VK_HOME: next = HomeTarget(from, IsDown(VK_CONTROL)); break;
    case VK_F2: OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), VK_LBUTTON); break;
    case VK_DELETE: CutSelectedText(); break;
    default: *handled = false; break;
    }
    return next;
}

// Tab runs along the row and on into the next one; Shift+Tab runs back.
CCellID CGridCtrl::TabTarget(const CCellID& focus, bool backwards, bool* handled, int* wrapped)
{
    const int direction = backwards ? -1 : 1;
    const int col = NextVisibleLine(false, focus.col, direction, m_nFixedCols);
    if (col >= 0)
        return CCellID(focus.row, col);
    const int row = NextVisibleLine(true, focus.row, direction, m_nFixedRows);
    const int wrapCol = backwards ? NextVisibleLine(false, m_nCols, -1, m_nFixedCols)
                                  : NextVisibleLine(false, m_nFixedCols - 1, 1, m_nFixedCols);
    if (row < 0 || wrapCol < 0) {
        *handled = false;
        return focus;
    }
    *wrapped = direction;
    return CCellID(row, wrapCol);
}

// The focus row follows the rows the view moved by; to the first or last
// row when the view could not move.
int CGridCtrl::PageRow(UINT code, int row)
{
    const int before = GetTopleftNonFixedCell().row;
    OnVScroll(code, 0);
    const int after = GetTopleftNonFixedCell(TRUE).row;
    if (after == before)
        return code == SB_PAGEUP ? m_nFixedRows : m_nRows - 1;
    return std::clamp(row + after - before, m_nFixedRows, m_nRows - 1);
}

CCellID CGridCtrl::EndTarget(const CCellID& from, bool control)
{
    CCellID next = from;
    if (control) {
        OnVScroll(SB_BOTTOM, 0);
        next.row = m_nRows - 1;
    }
    OnHScroll(SB_BOTTOM, 0);
    next.col = m_nCols - 1;
    while (next.col > m_nFixedCols + 1 && GetColumnWidth(next.col) == 0)
        --next.col;
    while (next.row > m_nFixedRows && GetRowHeight(next.row) == 0)
        --next.row;
    return next;
}

CCellID CGridCtrl::HomeTarget(const CCellID& from, bool control)
{
    CCellID next = from;
    if (control) {
        OnVScroll(SB_TOP, 0);
        next.row = m_nFixedRows;
    }
    OnHScroll(SB_TOP, 0);
    const int col = NextVisibleLine(false, m_nFixedCols - 1, 1, m_nFixedCols);
    next.col = col >= 0 ? col : m_nFixedCols;
    while (next.row < m_nRows - 1 && GetRowHeight(next.row) == 0)
        ++next.row;
    return next;
}

void CGridCtrl::SelectForKeyMove(const CCellID& next, UINT nChar)
{
    m_PrevSelectedCellMap.clear();
    m_MouseMode = m_bListMode ? MouseMode::SelectRows : MouseMode::SelectCells;
    // Shift extends from the anchor; Shift+Tab is only a move backwards.
    if (!IsDown(VK_SHIFT) || nChar == VK_TAB)
        m_SelectionStartCell = next;
    SendMessageToParent(next.row, next.col, GRIDN_SELCHANGING);
    SelectCurrentRange(next);
    SendMessageToParent(next.row, next.col, GRIDN_SELCHANGED);
    m_MouseMode = MouseMode::None;
}

// Keys that step off the view first scroll one line their way, so the view
// creeps rather than jumps; a wrapped Tab starts the row at the left edge.
void CGridCtrl::ScrollFocusIntoView(const CCellID& cell, UINT nChar, int wrapped)
{
    const bool offView = !IsCellVisible(cell);
    if (offView) {
        switch (nChar) {
        case VK_RIGHT: OnHScroll(SB_LINEDOWN, 0); break;
        case VK_LEFT: OnHScroll(SB_LINEUP, 0); break;
        case VK_DOWN: OnVScroll(SB_LINEDOWN, 0); break;
        case VK_UP: OnVScroll(SB_LINEUP, 0); break;
        case VK_TAB:
            if (wrapped > 0) {
                OnVScroll(SB_LINEDOWN, 0);
                SetScrollPos32(SB_HORZ, 0);
            } else if (wrapped < 0) {
                OnVScroll(SB_LINEUP, 0);
                SetScrollPos32(SB_HORZ, GetScrollMax(SB_HORZ));
            } else {
                OnHScroll(IsDown(VK_SHIFT) ? SB_LINEUP : SB_LINEDOWN, 0);
            }
            break;
        default: break;
        }
    }
    EnsureVisible(cell);
    if (offView)
        Refresh();
}
