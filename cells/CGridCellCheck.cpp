#include "CGridCellCheck.h"

#include "CCellMessageEvent.h"
#include "CellRects.h"

#include "grid/CGridCtrl.h"
#include "platform/FrameControl.h"
#include "platform/GdiDefs.h"
#include "platform/ScreenMetrics.h"
#include "platform/VirtualKeys.h"
#include "platform/VisualStyles.h"

IMPLEMENT_DYNCREATE(CGridCellCheck, CGridCell)

CGridCellCheck::CGridCellCheck() = default;

QString CGridCellCheck::GetCopyText() const
{
    return m_bChecked ? QStringLiteral("1") : QStringLiteral("0");
}

BOOL CGridCellCheck::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd)
{
    const BOOL drawn = CGridCell::Draw(dc, row, col, rect, eraseBkgnd);
    m_Rect = rect;
    DrawCheckBox(dc);
    return drawn;
}

BOOL CGridCellCheck::PrintCell(CDC* dc, int row, int col, CRect rect)
{
    const BOOL printed = CGridCell::PrintCell(dc, row, col, rect);
    OverlayOnPrintRect(m_Rect, rect, [&] { DrawCheckBox(dc); });
    return printed;
}

void CGridCellCheck::DrawCheckBox(CDC* dc)
{
    if (!dc || !dc->GetPainter())
        return;
    const CRect box = GetCheckPlacement();
    HTHEME theme = OpenThemeData(GetGrid(), QStringLiteral("BUTTON"));
    if (theme) {
        DrawThemeBackground(theme, dc, BP_CHECKBOX, m_bChecked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL, &box,
                            nullptr);
        CloseThemeData(theme);
        return;
    }
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (m_bChecked ? DFCS_CHECKED : 0));
}

// The box is as wide as the arrow of a horizontal scroll bar, which is the
// width of a vertical bar.
CRect CGridCellCheck::GetCheckPlacement() const
{
    CRect place = m_Rect;
    const int boxWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int boxHeight = GetSystemMetrics(SM_CYHSCROLL);
    const int dy = (place.Height() - boxHeight) / 2;
    if (dy > 0) {
        place.top += dy;
        place.bottom = place.top + boxHeight;
    }
    const DWORD format = GetFormat();
    const int margin = static_cast<int>(GetMargin());
    if (format & DT_CENTER) {
        const int dx = (place.Width() - boxWidth) / 2;
        if (dx > 0) {
            place.left += dx;
            place.right = place.left + boxWidth;
        }
    } else if (format & DT_RIGHT) {
        place.OffsetRect(-margin, 0);
        place.left = place.right - boxWidth;
    } else {
        place.OffsetRect(margin, 0);
        place.right = place.left + boxWidth;
    }
    return place;
}

void CGridCellCheck::Toggle()
{
    m_bChecked = !m_bChecked;
    InvalidateInGrid(GetGrid(), m_Rect);
    CCellMessageEvent::Post(GetGrid(), m_nCheckMessage, this);
}

void CGridCellCheck::OnClick(CPoint pointCellRelative)
{
    if (GetCheckPlacement().PtInRect(InDrawnRect(m_Rect, pointCellRelative)))
        Toggle();
}

// No editor is ever opened: the mouse and the space bar toggle the box.
BOOL CGridCellCheck::Edit(int, int, CRect, CPoint point, UINT, UINT nChar)
{
    // The second press of a double click already toggled through the click
    // before it; the edit it starts must not toggle again.
    if (GetAsyncKeyState(VK_LBUTTON) < 0 && nChar == VK_LBUTTON)
        return TRUE;
    if (nChar == VK_LBUTTON)
        OnClick(point);
    else if (nChar == VK_SPACE)
        Toggle();
    SetText(QStringLiteral(" "));
    return TRUE;
}

BOOL CGridCellCheck::ValidateEdit(const QString& text)
{
    if (text == u"0" || text.isEmpty())
        m_bChecked = FALSE;
    else if (text == u"1")
        m_bChecked = TRUE;
    else
        return FALSE;
    SetText(QStringLiteral(" "));
    CCellMessageEvent::Post(GetGrid(), m_nCheckMessage, this);
    return TRUE;
}

void CGridCellCheck::SetCheckMessage(UINT message)
{
    m_nCheckMessage = message;
}

BOOL CGridCellCheck::SetCheck(BOOL checked)
{
    const BOOL previous = m_bChecked;
    m_bChecked = checked;
    InvalidateInGrid(GetGrid(), m_Rect);
    SetText(QStringLiteral(" "));
    return previous;
}
