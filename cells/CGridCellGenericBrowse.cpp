#include "CGridCellGenericBrowse.h"

#include "CCellMessageEvent.h"
#include "CellRects.h"

#include "grid/CGridCtrl.h"
#include "platform/FrameControl.h"
#include "platform/GdiDefs.h"
#include "platform/SysColors.h"
#include "platform/VisualStyles.h"

IMPLEMENT_DYNCREATE(CGridCellGenericBrowse, CGridCell)

CGridCellGenericBrowse::CGridCellGenericBrowse() = default;

void CGridCellGenericBrowse::SetButtonPlacement(DWORD placement)
{
    m_dwPlacement = placement;
}

CRect CGridCellGenericBrowse::GetButtonRect() const
{
    CRect button = m_Rect;
    const bool roomy = button.Width() > BUTTON_WIDTH;
    if ((m_dwPlacement & PLACE_CENTER) && roomy) {
        button.left += (button.Width() - BUTTON_WIDTH) / 2;
        button.right = button.left + BUTTON_WIDTH;
    } else if ((m_dwPlacement & PLACE_RIGHT) && roomy) {
        button.left = button.right - BUTTON_WIDTH;
    } else if (button.right - BUTTON_WIDTH >= button.left) {
        button.right = button.left + BUTTON_WIDTH;
    }
    return button;
}

// The text keeps clear of a button at the right, wherever the button is.
BOOL CGridCellGenericBrowse::GetTextRect(LPRECT rect)
{
    if (!CGridCell::GetTextRect(rect))
        return FALSE;
    rect->right -= BUTTON_WIDTH;
    return rect->left < rect->right;
}

BOOL CGridCellGenericBrowse::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd)
{
    const BOOL drawn = CGridCell::Draw(dc, row, col, rect, eraseBkgnd);
    m_Rect = rect;
    DrawButton(dc);
    return drawn;
}

BOOL CGridCellGenericBrowse::PrintCell(CDC* dc, int row, int col, CRect rect)
{
    const BOOL printed = CGridCell::PrintCell(dc, row, col, rect);
    OverlayOnPrintRect(m_Rect, rect, [&] { DrawButton(dc); });
    return printed;
}

void CGridCellGenericBrowse::DrawButton(CDC* dc)
{
    if (!dc || !dc->GetPainter())
        return;
    CRect button = GetButtonRect();
    HTHEME theme = OpenThemeData(GetGrid(), QStringLiteral("BUTTON"));
    if (theme) {
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, m_bPressed ? PBS_PRESSED : PBS_NORMAL, &button, nullptr);
        CloseThemeData(theme);
    } else {
        DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH | (m_bPressed ? DFCS_PUSHED : 0));
    }
    const int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(GetSysColor(COLOR_BTNTEXT));
    dc->DrawText(m_strButtonText, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->RestoreDC(saved);
}

void CGridCellGenericBrowse::OnClickDown(CPoint pointCellRelative)
{
    if (!GetButtonRect().PtInRect(InDrawnRect(m_Rect, pointCellRelative)))
        return;
    m_bPressed = TRUE;
    InvalidateInGrid(GetGrid(), m_Rect);
}

// Any button-up over the cell releases the button; only one over it clicks.
void CGridCellGenericBrowse::OnClick(CPoint pointCellRelative)
{
    if (m_bPressed && GetButtonRect().PtInRect(InDrawnRect(m_Rect, pointCellRelative)))
        CCellMessageEvent::Post(GetGrid(), m_nClickMessage, this);
    m_bPressed = FALSE;
    InvalidateInGrid(GetGrid(), m_Rect);
}
