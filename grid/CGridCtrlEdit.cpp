#include "CGridCtrl.h"

#include "cells/CGridCellBase.h"
#include "platform/VirtualKeys.h"

void CGridCtrl::OnEditCell(int row, int col, CPoint point, UINT nChar)
{
    m_TitleTip.Hide();
    const CCellID cell(row, col);
    if (!IsValid(cell) || !IsCellEditable(cell))
        return;
    EnsureVisible(row, col);
    CRect rect;
    if (!IsCellVisible(row, col) || !GetCellRect(row, col, &rect))
        return;
    if (SendMessageToParent(row, col, GRIDN_BEGINEDIT) < 0)
        return;
    if (CGridCellBase* target = GetCell(row, col))
        target->Edit(row, col, rect, point, IDC_INPLACE_CONTROL, nChar);
}

// The text is already in the cell while the checks run, so both can read it;
// a refusal puts the old text back.
void CGridCtrl::OnEndEditCell(int row, int col, const QString& text)
{
    const QString previous = GetItemText(row, col);
    if (text != previous) {
        SetItemText(row, col, text);
        if (ValidateEdit(row, col, text) && SendMessageToParent(row, col, GRIDN_ENDEDIT) >= 0) {
            SetModified(TRUE, row, col);
            RedrawCell(row, col);
        } else {
            SetItemText(row, col, previous);
        }
    }
    // Fetched again: the checks may have changed the rows.
    if (CGridCellBase* cell = GetCell(row, col))
        cell->OnEndEdit();
}

BOOL CGridCtrl::ValidateEdit(int row, int col, const QString& text)
{
    CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->ValidateEdit(text) : TRUE;
}

void CGridCtrl::EndEditing()
{
    if (CGridCellBase* cell = IsValid(m_idCurrentCell) ? GetCell(m_idCurrentCell.row, m_idCurrentCell.col) : nullptr)
        cell->EndEdit();
}

// The key that ended the edit moves the focus as if it had been pressed here.
LRESULT CGridCtrl::OnNotify(WPARAM wParam, NMHDR* header)
{
    if (!header || wParam != IDC_INPLACE_CONTROL || header->code != GRIDN_ENDEDIT)
        return 0;
    const auto* info = reinterpret_cast<const GridDispInfo*>(header);
    OnEndEditCell(info->item.row, info->item.col, info->item.strText);
    const UINT key = static_cast<UINT>(info->item.lParam);
    if (key == VK_TAB || key == VK_RETURN || (key >= VK_PRIOR && key <= VK_DOWN))
        OnKeyDown(key, 0, 0);
    return 0;
}

bool CGridCtrl::IsEditStartChar(UINT nChar) const
{
    if (GetKeyState(VK_CONTROL) < 0 || m_MouseMode != MouseMode::None)
        return false;
    return nChar != VK_ESCAPE && nChar != VK_RETURN && !(nChar == VK_TAB && m_bHandleTabKey);
}

void CGridCtrl::OnChar(UINT nChar, UINT, UINT)
{
    if (IsEditStartChar(nChar))
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), nChar);
}

LRESULT CGridCtrl::OnImeChar(WPARAM wCharCode, LPARAM)
{
    const UINT nChar = static_cast<UINT>(wCharCode);
    if (GetKeyState(VK_CONTROL) >= 0 && m_MouseMode == MouseMode::None && nChar != VK_ESCAPE)
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), nChar);
    return 0;
}
