#include "CGridCell.h"

#include "CGridDefaultCell.h"
#include "CellsLog.h"

#include "CInPlaceEdit.h"

#include "grid/CGridCtrl.h"
#include "platform/CFont.h"
#include "platform/ControlStyles.h"
#include "platform/GdiDefs.h"
#include "platform/VirtualKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>

IMPLEMENT_DYNCREATE(CGridCell, CGridCellBase)

namespace {

// Cells with a font of their own share one font object, rebuilt on each
// request, so the number of fonts does not grow with the number of cells.
CFont& SharedCellFont()
{
    static CFont font;
    return font;
}

// Types one character into a window, as a key press carrying it.
void TypeInto(QWidget* window, UINT nChar)
{
    int key = Qt::Key_unknown;
    switch (nChar) {
    case VK_BACK: key = Qt::Key_Backspace; break;
    case VK_TAB: key = Qt::Key_Tab; break;
    case VK_RETURN: key = Qt::Key_Return; break;
    case VK_ESCAPE: key = Qt::Key_Escape; break;
    default: break;
    }
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(char16_t(nChar))));
    QCoreApplication::sendEvent(window, &press);
}

} // namespace

CGridCell::CGridCell()
{
    CGridCell::Reset();
}

CGridCell::~CGridCell() = default;

void CGridCell::SetTextLimit(int limit)
{
    m_nTextLimit = limit;
}

int CGridCell::GetTextLimit() const
{
    return m_nTextLimit;
}

void CGridCell::SetText(const QString& text)
{
    m_strText = text;
}

void CGridCell::SetImage(int image)
{
    m_nImage = image;
}

void CGridCell::SetData(LPARAM data)
{
    m_lParam = data;
}

void CGridCell::SetFormat(DWORD format)
{
    m_nFormat = format;
}

void CGridCell::SetTextClr(COLORREF color)
{
    m_crFgClr = color;
}

void CGridCell::SetBackClr(COLORREF color)
{
    m_crBkClr = color;
}

void CGridCell::SetFont(const LOGFONTW* font)
{
    if (!font) {
        m_plfFont.reset();
        return;
    }
    if (!m_plfFont)
        m_plfFont = std::make_unique<LOGFONTW>();
    *m_plfFont = *font;
}

void CGridCell::SetMargin(UINT margin)
{
    m_nMargin = margin;
}

void CGridCell::SetGrid(CGridCtrl* grid)
{
    m_pGrid = grid;
}

void CGridCell::SetCoords(int row, int col)
{
    m_nRow = row;
    m_nCol = col;
}

BOOL CGridCell::IsEditable() const
{
    return m_bEditable && !(GetState() & GRIDIS_READONLY);
}

QString CGridCell::GetText() const
{
    return m_strText;
}

int CGridCell::GetImage() const
{
    return m_nImage;
}

LPARAM CGridCell::GetData() const
{
    return m_lParam;
}

DWORD CGridCell::GetFormat() const
{
    if (m_nFormat != 0xFFFFFFFFu)
        return m_nFormat;
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    return defaultCell ? defaultCell->GetFormat() : 0;
}

COLORREF CGridCell::GetTextClr() const
{
    return m_crFgClr;
}

COLORREF CGridCell::GetBackClr() const
{
    return m_crBkClr;
}

const LOGFONTW* CGridCell::GetFont() const
{
    if (m_plfFont)
        return m_plfFont.get();
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    return defaultCell ? defaultCell->GetFont() : nullptr;
}

const CFont* CGridCell::GetFontObject() const
{
    if (m_plfFont) {
        // Valid until the next request for any cell: callers select it at once.
        CFont& shared = SharedCellFont();
        shared.DeleteObject();
        shared.CreateFontIndirect(m_plfFont.get());
        return &shared;
    }
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    return defaultCell ? defaultCell->GetFontObject() : nullptr;
}

CGridCtrl* CGridCell::GetGrid() const
{
    return m_pGrid;
}

QWidget* CGridCell::GetEditWnd() const
{
    return m_pEditWnd;
}

UINT CGridCell::GetMargin() const
{
    if (m_nMargin != 0xFFFFFFFFu)
        return m_nMargin;
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    return defaultCell ? defaultCell->GetMargin() : 0;
}

BOOL CGridCell::IsDefaultFont() const
{
    return m_plfFont == nullptr;
}

BOOL CGridCell::IsEditing() const
{
    return m_bEditing;
}

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_strText.clear();
    m_nImage = -1;
    m_pGrid = nullptr;
    m_bEditing = FALSE;
    m_pEditWnd = nullptr;
    m_nFormat = 0xFFFFFFFFu;
    m_crBkClr = CLR_DEFAULT;
    m_crFgClr = CLR_DEFAULT;
    m_nMargin = 0xFFFFFFFFu;
    m_plfFont.reset();
    m_nTextLimit = -1;
}

BOOL CGridCell::Edit(int row, int col, CRect rect, CPoint, UINT id, UINT nChar)
{
    if (!m_pGrid) {
        qCWarning(lcCells, "Edit(%d, %d): the cell has no grid", row, col);
        return FALSE;
    }
    if (!m_bEditable)
        return FALSE;
    if (m_bEditing) {
        // Further typing goes to the editor already open.
        if (m_pEditWnd)
            TypeInto(m_pEditWnd, nChar);
        return TRUE;
    }
    const DWORD format = GetFormat();
    const DWORD style = (format & DT_RIGHT) ? ES_RIGHT : (format & DT_CENTER) ? ES_CENTER : 0;
    m_bEditing = TRUE;
    CInPlaceEdit* editor = CInPlaceEdit::Open(m_pGrid, rect, style, id, row, col, GetText(), nChar, m_nTextLimit,
                                              GetDisplayText(row, col), m_pGrid->GetMultiLineEdit());
    m_pEditWnd = editor;
    if (editor) {
        editor->setLayoutDirection(m_pGrid->GetRTLReading() == 1 ? Qt::RightToLeft : Qt::LeftToRight);
        m_pGrid->SetSavedTitleTips(m_pGrid->GetTitleTips());
        m_pGrid->EnableTitleTips(FALSE);
        editor->SetRefusedChars(m_pGrid->GetRefusedChars());
    }
    return TRUE;
}

void CGridCell::EndEdit()
{
    if (auto* editor = qobject_cast<CInPlaceEdit*>(m_pEditWnd.data()))
        editor->EndEdit();
}

void CGridCell::OnEndEdit()
{
    if (m_pGrid)
        m_pGrid->EnableTitleTips(m_pGrid->GetSavedTitleTips());
    m_bEditing = FALSE;
    m_pEditWnd = nullptr;
}

void CGridCell::SetEditable(BOOL editable)
{
    m_bEditable = editable;
}

int CGridCell::GetCoordCol() const
{
    return m_nCol;
}

int CGridCell::GetCoordRow() const
{
    return m_nRow;
}

BOOL CGridCell::Redraw() const
{
    return m_pGrid ? m_pGrid->RedrawCell(m_nRow, m_nCol) : FALSE;
}
