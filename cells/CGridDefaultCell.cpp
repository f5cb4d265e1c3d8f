#include "CGridDefaultCell.h"

#include "grid/GridDefs.h"
#include "platform/CDC.h"

IMPLEMENT_DYNCREATE(CGridDefaultCell, CGridCell)

CGridDefaultCell::CGridDefaultCell()
{
    m_nFormat = DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    m_crFgClr = CLR_DEFAULT;
    m_crBkClr = CLR_DEFAULT;
    const LOGFONTW messageFont = GetMessageLogFont();
    CGridDefaultCell::SetFont(&messageFont);
}

CGridDefaultCell::~CGridDefaultCell() = default;

void CGridDefaultCell::SetData(LPARAM)
{
}

void CGridDefaultCell::SetState(DWORD)
{
}

void CGridDefaultCell::SetCoords(int, int)
{
}

DWORD CGridDefaultCell::GetState() const
{
    return CGridCell::GetState() | GRIDIS_READONLY;
}

// The font also sets the region's margin and default sizes, measured on the screen.
void CGridDefaultCell::SetFont(const LOGFONTW* font)
{
    if (!font)
        return;
    m_Font.DeleteObject();
    m_Font.CreateFontIndirect(font);
    CGridCell::SetFont(font);
    if (!CDC::IsScreenAvailable()) {
        SetMargin(3);
        SetWidth(40);
        SetHeight(16);
        return;
    }
    CDC screen;
    screen.SelectObject(&m_Font);
    SetMargin(static_cast<UINT>(screen.GetTextExtent(QStringLiteral(" ")).cx));
    const CSize size = screen.GetTextExtent(QStringLiteral(" XXXXXXXXXXXX "));
    SetWidth(size.cx);
    SetHeight(size.cy * 3 / 2);
}

const LOGFONTW* CGridDefaultCell::GetFont() const
{
    return m_plfFont.get();
}

const CFont* CGridDefaultCell::GetFontObject() const
{
    return &m_Font;
}

int CGridDefaultCell::GetExtraValue() const
{
    return m_nExtraValue;
}

void CGridDefaultCell::SetExtraValue(int value)
{
    m_nExtraValue = value;
}

int CGridDefaultCell::GetWidth() const
{
    return m_nWidth;
}

int CGridDefaultCell::GetHeight() const
{
    return m_nHeight;
}

void CGridDefaultCell::SetWidth(int width)
{
    m_nWidth = width;
}

void CGridDefaultCell::SetHeight(int height)
{
    m_nHeight = height;
}
