#include "CGridCellDateTime.h"

#include "CInPlaceDateTime.h"

#include "grid/CGridCtrl.h"
#include "platform/ControlStyles.h"
#include "platform/GdiDefs.h"

IMPLEMENT_DYNCREATE(CGridCellDateTime, CGridCell)

CGridCellDateTime::CGridCellDateTime() = default;

CGridCellDateTime::CGridCellDateTime(DWORD style)
{
    Init(style);
}

void CGridCellDateTime::Init(DWORD style)
{
    m_dwStyle = style;
    SetTime(QDateTime::currentDateTime());
    SetFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// Other styles leave the text as it is.
void CGridCellDateTime::SetTime(const QDateTime& time)
{
    m_cTime = time;
    const QDateTime local = time.toLocalTime();
    if (m_dwStyle == DTS_TIMEFORMAT)
        SetText(local.isValid() ? local.toString(QStringLiteral("HH:mm:ss")) : QString());
    else if (m_dwStyle == 0)
        SetText(local.isValid() ? local.toString(QStringLiteral("dd/MM/yyyy")) : QString());
}

// The picker writes the chosen time into the cell; the text comes back with
// the end of the edit.
BOOL CGridCellDateTime::Edit(int row, int col, CRect rect, CPoint, UINT id, UINT nChar)
{
    CGridCtrl* grid = GetGrid();
    if (!grid)
        return FALSE;
    m_bEditing = TRUE;
    m_pEditWnd = CInPlaceDateTime::Open(grid, rect, m_dwStyle | DTS_UPDOWN, id, row, col, GetTextClr(), GetBackClr(),
                                        &m_cTime, nChar);
    if (!m_pEditWnd)
        m_bEditing = FALSE;
    return TRUE;
}

void CGridCellDateTime::EndEdit()
{
    if (auto* editor = qobject_cast<CInPlaceDateTime*>(m_pEditWnd.data()))
        editor->EndEdit();
}
