#include "CGridCellCombo.h"

#include "CGridDefaultCell.h"
#include "CInPlaceList.h"
#include "CellsLog.h"

#include "grid/CGridCtrl.h"
#include "platform/FrameControl.h"
#include "platform/ScreenMetrics.h"
#include "platform/VirtualKeys.h"
#include "platform/VisualStyles.h"

#include <QLineEdit>

IMPLEMENT_DYNCREATE(CGridCellCombo, CGridCell)

CGridCellCombo::CGridCellCombo() = default;

QWidget* CGridCellCombo::GetEditWnd() const
{
    auto* list = qobject_cast<CInPlaceList*>(m_pEditWnd.data());
    if (!list || (m_dwStyle & 3) == CBS_DROPDOWNLIST)
        return nullptr;
    return list->lineEdit();
}

// Empty when no button is shown: only an editable cell not being edited
// offers one, and only when it fits.
CRect CGridCellCombo::DropDownButton(int row, int col, const CRect& rect) const
{
    const CGridCtrl* grid = GetGrid();
    const int height = GetSystemMetrics(SM_CYHSCROLL);
    if (!grid || !grid->IsCellEditable(CCellID(row, col)) || IsEditing() || height >= rect.Width() ||
        height >= rect.Height())
        return CRect();
    return CRect(rect.right - GetSystemMetrics(SM_CXVSCROLL), rect.top, rect.right, rect.top + height);
}

BOOL CGridCellCombo::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd)
{
    const CRect button = DropDownButton(row, col, rect);
    if (!button.IsRectEmpty()) {
        // The text area ends at the button; below it the cell's background goes on.
        if (dc && dc->GetPainter() && rect.bottom > button.bottom)
            dc->FillSolidRect(CRect(button.left, button.bottom, rect.right + 1, rect.bottom + 1), ShownBackColour());
        rect.right = button.left;
    }
    BOOL drawn = FALSE;
    if (IsEditing()) {
        // Nothing shows under the editor.
        const QString text = m_strText;
        m_strText.clear();
        drawn = CGridCell::Draw(dc, row, col, rect, eraseBkgnd);
        m_strText = text;
    } else {
        drawn = CGridCell::Draw(dc, row, col, rect, eraseBkgnd);
    }
    if (!button.IsRectEmpty())
        DrawDropDownButton(dc, button);
    return drawn;
}

COLORREF CGridCellCombo::ShownBackColour() const
{
    const CGridCtrl* grid = GetGrid();
    if (IsSelected())
        return IsFocused() ? grid->GetFocusCellBkColour() : grid->GetHighLightColour();
    if (GetBackClr() != CLR_DEFAULT)
        return GetBackClr();
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    return defaultCell ? defaultCell->GetBackClr() : GetSysColor(COLOR_WINDOW);
}

// The platform's themes know the combo-box arrow button, which looks as the
// scroll-bar arrow the button is on other systems.
void CGridCellCombo::DrawDropDownButton(CDC* dc, const CRect& button)
{
    if (!dc || !dc->GetPainter())
        return;
    HTHEME theme = OpenThemeData(GetGrid(), QStringLiteral("COMBOBOX"));
    if (theme) {
        DrawThemeBackground(theme, dc, CP_DROPDOWNBUTTON, 1, &button, nullptr);
        CloseThemeData(theme);
        return;
    }
    DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLDOWN);
}

CSize CGridCellCombo::GetCellExtent(CDC* dc, int row, int col)
{
    const CSize size = CGridCell::GetCellExtent(dc, row, col);
    return CSize(size.cx + GetSystemMetrics(SM_CXVSCROLL), size.cy + GetSystemMetrics(SM_CYHSCROLL));
}

BOOL CGridCellCombo::Edit(int row, int col, CRect rect, CPoint, UINT id, UINT nChar)
{
    CGridCtrl* grid = GetGrid();
    if (!grid) {
        qCWarning(lcCells, "Edit(%d, %d): the cell has no grid", row, col);
        return FALSE;
    }
    m_bEditing = TRUE;
    CInPlaceList* list = CInPlaceList::Open(grid, rect, m_dwStyle, id, row, col, GetTextClr(), GetBackClr(), m_Strings,
                                            GetText(), nChar, m_bEndOnSelChange);
    m_pEditWnd = list;
    if (!list) {
        m_bEditing = FALSE;
        return TRUE;
    }
    // A typed character picks its option and commits at once.
    if (nChar != VK_SPACE && nChar != VK_LBUTTON)
        list->EndEdit();
    return TRUE;
}

void CGridCellCombo::EndEdit()
{
    if (auto* list = qobject_cast<CInPlaceList*>(m_pEditWnd.data()))
        list->EndEdit();
}
