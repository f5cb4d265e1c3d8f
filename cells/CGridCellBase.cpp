#include "CGridCellBase.h"

#include "CGridDefaultCell.h"
#include "CellsLog.h"

#include "grid/CGridCtrl.h"
#include "platform/CBrush.h"
#include "platform/CFont.h"
#include "platform/CImageList.h"
#include "platform/CPen.h"
#include "platform/SysColors.h"
#include "res/Resources.h"

#include <optional>

IMPLEMENT_DYNAMIC(CGridCellBase, CObject)

namespace {

// Escapement is in tenths of a degree: a quarter turn up.
constexpr LONG kQuarterTurn = 900;

bool IsVerticalFont(const LOGFONTW* font, bool downwardsToo)
{
    return font && (font->lfEscapement == kQuarterTurn || (downwardsToo && font->lfEscapement == -kQuarterTurn));
}

// The image's rectangle in the grid's list, when the cell has one there.
std::optional<IMAGEINFO> ImageInfo(const CGridCellBase* cell)
{
    const CGridCtrl* grid = cell->GetGrid();
    const CImageList* images = grid ? grid->GetImageList() : nullptr;
    IMAGEINFO info{};
    if (!images || cell->GetImage() < 0 || !images->GetImageInfo(cell->GetImage(), &info))
        return std::nullopt;
    return info;
}

} // namespace

void CGridCellBase::SetTextFromResource(UINT id)
{
    SetText(LoadResString(id));
}

void CGridCellBase::SetState(DWORD state)
{
    m_nState = state;
}

WORD CGridCellBase::GetQuality() const
{
    return m_wQuality;
}

void CGridCellBase::SetQuality(WORD quality)
{
    m_wQuality = quality;
}

QString CGridCellBase::GetTipText() const
{
    return GetText();
}

QString CGridCellBase::GetDisplayText(int, int) const
{
    return GetText();
}

DWORD CGridCellBase::GetState() const
{
    return m_nState;
}

QString CGridCellBase::GetCopyText() const
{
    return GetText();
}

CGridDefaultCell* CGridCellBase::GetDefaultCell() const
{
    CGridCtrl* grid = GetGrid();
    if (!grid)
        return nullptr;
    // The state bits decide the region, not the coordinates; the grid keeps them in step.
    return grid->GetDefaultCell(IsFixedRow(), IsFixedCol());
}

void CGridCellBase::CopyFrom(const CGridCellBase* source)
{
    if (!source || source == this)
        return;
    // Through the getters, so a copy takes the effective format and margin as its own.
    SetGrid(source->GetGrid());
    SetQuality(source->GetQuality());
    SetText(source->GetText());
    SetImage(source->GetImage());
    SetData(source->GetData());
    SetState(source->GetState());
    SetFormat(source->GetFormat());
    SetTextClr(source->GetTextClr());
    SetBackClr(source->GetBackClr());
    SetFont(source->IsDefaultFont() ? nullptr : source->GetFont());
    SetMargin(source->GetMargin());
}

void CGridCellBase::Reset()
{
    m_nState = 0;
    m_wQuality = QUALITY_GOOD;
}

CGridCellBase& CGridCellBase::operator=(const CGridCellBase& source)
{
    if (this != &source)
        CopyFrom(&source);
    return *this;
}

BOOL CGridCellBase::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd)
{
    CGridCtrl* grid = GetGrid();
    if (!grid || !dc) {
        qCWarning(lcCells, "Draw(%d, %d): %s", row, col, grid ? "no device context" : "the cell has no grid");
        return FALSE;
    }
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return FALSE;
    const int savedDC = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    if (!defaultCell) {
        dc->RestoreDC(savedDC);
        return FALSE;
    }
    const COLORREF textClr = GetTextClr() == CLR_DEFAULT ? defaultCell->GetTextClr() : GetTextClr();
    COLORREF backClr = GetBackClr();
    if (backClr == CLR_DEFAULT)
        backClr = defaultCell->GetBackClr();
    else
        eraseBkgnd = TRUE;
    PaintBackground(dc, rect, textClr, backClr, eraseBkgnd);

    HTHEME theme = nullptr;
    if (IsFixed() && grid->GetGridLines() != GVL_NONE) {
        theme = OpenThemeDataEx(grid, QStringLiteral("HEADER"), 1);
        if (!theme)
            theme = OpenThemeData(grid, QStringLiteral("HEADER"));
        PaintFixedLook(dc, row, col, rect, theme);
    }
    if (!dc->IsPrinting()) {
        if (const CFont* font = GetFontObject())
            dc->SelectObject(font);
    }
    rect.DeflateRect(static_cast<int>(GetMargin()), 0);
    PaintImage(dc, rect);
    if (grid->GetSortColumn() == col && row == 0)
        PaintSortArrow(dc, rect, theme);
    if (theme)
        CloseThemeData(theme);

    GetTextRect(&rect);
    dc->DrawText(MaskedText(GetDisplayText(row, col)), &rect, GetFormat() | DT_NOPREFIX);
    dc->RestoreDC(savedDC);
    return TRUE;
}

// Focus, drop-highlight and selection colours, or the plain background.
void CGridCellBase::PaintBackground(CDC* dc, CRect& rect, COLORREF textClr, COLORREF backClr, BOOL erase)
{
    const CGridCtrl* grid = GetGrid();
    const bool gridLines = grid->GetGridLines() != GVL_NONE;
    if (IsFocused() || IsDropHighlighted()) {
        if (IsSelected()) {
            backClr = grid->GetFocusCellBkColour();
            textClr = grid->GetFocusCellTextColour();
            erase = TRUE;
        }
        rect.InflateRect(0, 0, 1, 1);
        if (erase) {
            const CBrush brush(backClr);
            dc->FillRect(rect, &brush);
        }
        if (gridLines)
            rect.DeflateRect(0, 0, 1, 1);
        if (grid->GetFrameFocusCell()) {
            const CBrush frame(textClr);
            dc->FrameRect(rect, &frame);
        }
        dc->SetTextColor(textClr);
        if (!gridLines)
            rect.DeflateRect(0, 0, 1, 1);
        rect.DeflateRect(0, 1, 1, 1);
    } else if (IsSelected()) {
        rect.InflateRect(0, 0, 1, 1);
        dc->FillSolidRect(rect, grid->GetHighLightColour());
        rect.DeflateRect(0, 0, 1, 1);
        dc->SetTextColor(grid->GetHighLightTextColour());
    } else {
        if (erase) {
            rect.InflateRect(0, 0, 1, 1);
            const CBrush brush(backClr);
            dc->FillRect(rect, &brush);
            rect.DeflateRect(0, 0, 1, 1);
        }
        dc->SetTextColor(textClr);
    }
}

// Header look of a fixed cell: themed, or sunken when it tracks the focus, else raised.
void CGridCellBase::PaintFixedLook(CDC* dc, int row, int col, CRect& rect, HTHEME theme)
{
    CGridCtrl* grid = GetGrid();
    const CCellID focus = grid->GetFocusCell();
    const bool hot = grid->GetTrackFocusCell() && grid->IsValid(focus) && (focus.row == row || focus.col == col);
    if (theme) {
        DrawThemeBackground(theme, dc, HP_HEADERITEM, hot ? HIS_PRESSED : HIS_NORMAL, &rect, nullptr);
        return;
    }
    if (!hot) {
        DrawRaisedFrame(dc, rect);
        return;
    }
    rect.InflateRect(0, 0, 1, 1);
    CRect inner = rect;
    inner.DeflateRect(1, 1);
    if (row < grid->GetFixedRowCount() && grid->GetFixedRowHighlightFill())
        dc->FillSolidRect(inner, grid->GetFixedRowHighlightColour());
    if (col < grid->GetFixedColumnCount() && grid->GetFixedColumnHighlightFill())
        dc->FillSolidRect(inner, grid->GetFixedColumnHighlightColour());
    dc->DrawEdge(&rect, BDR_SUNKENINNER, BF_RECT);
    rect.DeflateRect(1, 1);
}

void CGridCellBase::DrawRaisedFrame(CDC* dc, CRect& rect)
{
    const CPen light(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    const CPen dark(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW));
    const CPen* oldPen = dc->SelectObject(&light);
    dc->MoveTo(rect.right, rect.top);
    dc->LineTo(rect.left, rect.top);
    dc->LineTo(rect.left, rect.bottom);
    dc->SelectObject(&dark);
    dc->MoveTo(rect.right, rect.top);
    dc->LineTo(rect.right, rect.bottom);
    dc->LineTo(rect.left, rect.bottom);
    dc->SelectObject(oldPen);
    rect.DeflateRect(1, 1);
}

void CGridCellBase::PaintImage(CDC* dc, const CRect& rect)
{
    const std::optional<IMAGEINFO> info = ImageInfo(this);
    if (!info)
        return;
    const int w = info->rcImage.right - info->rcImage.left + 1;
    const int h = info->rcImage.bottom - info->rcImage.top + 1;
    const int margin = static_cast<int>(GetMargin());
    if (w <= rect.Width() + 2 * margin && h <= rect.Height() + 2 * margin)
        GetGrid()->GetImageList()->Draw(dc, GetImage(), rect.TopLeft(), ILD_NORMAL);
}

void CGridCellBase::PaintSortArrow(CDC* dc, CRect& rect, HTHEME theme)
{
    const bool ascending = GetGrid()->GetSortAscending();
    SIZE part{};
    const int state = ascending ? HSAS_SORTEDDOWN : HSAS_SORTEDUP;
    if (theme && GetThemePartSize(theme, dc, HP_HEADERSORTARROW, state, nullptr, TS_DRAW, &part) == S_OK) {
        CRect box;
        box.right = rect.right;
        box.left = box.right - part.cx;
        box.bottom = rect.bottom - 2 - part.cy;
        box.top = box.bottom - part.cy;
        DrawThemeBackground(theme, dc, HP_HEADERSORTARROW, state, &box, nullptr);
        return;
    }
    const CSize m = dc->GetTextExtent(QStringLiteral("M"));
    int arrowH = m.cy - 4;
    if (arrowH >= rect.Height())
        arrowH = rect.Height() - 4;
    const int arrowW = arrowH;
    const bool vertical = IsVerticalFont(GetFont(), false);
    const int margin = static_cast<int>(GetMargin());
    if (rect.left + arrowW >= rect.right + 2 * margin)
        return;
    const int y = rect.bottom - 2 - arrowH;
    const int x = vertical ? (rect.left + rect.right - arrowW) / 2 : rect.right - arrowW;
    const CPen shadow(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW));
    const CPen light(PS_SOLID, 0, GetSysColor(COLOR_BTNHIGHLIGHT));
    const CPen* oldPen = dc->SelectObject(&light);
    // Highlight first, one pixel down and right, so the shadow outline sits on top.
    const int tipY = ascending ? 0 : arrowH;
    const int baseY = ascending ? arrowH : 0;
    dc->MoveTo(x + 1, y + baseY + 1);
    dc->LineTo(x + arrowW / 2 + 1, y + tipY + 1);
    dc->LineTo(x + arrowW + 1, y + baseY + 1);
    dc->LineTo(x + 1, y + baseY + 1);
    dc->SelectObject(&shadow);
    dc->MoveTo(x, y + baseY);
    dc->LineTo(x + arrowW / 2, y + tipY);
    dc->LineTo(x + arrowW, y + baseY);
    dc->LineTo(x, y + baseY);
    dc->SelectObject(oldPen);
    if (!vertical)
        rect.right -= arrowH;
}

int CGridCellBase::GetTextHeight(const QString& text)
{
    const DWORD format = GetFormat();
    const bool oneLine = !(format & DT_WORDBREAK) || (format & DT_SINGLELINE);
    // A line is as high as its font whatever it holds; only its width needs the text.
    if (!oneLine || text.isEmpty() || !GetGrid() || !CDC::IsScreenAvailable() || IsVerticalFont(GetFont(), true))
        return GetTextExtent(text).cy;
    CDC dc;
    if (const CFont* font = GetFontObject())
        dc.SelectObject(font);
    TEXTMETRICW metrics{};
    dc.GetTextMetrics(&metrics);
    return metrics.tmHeight + 2 * static_cast<int>(GetMargin());
}

QString CGridCellBase::MaskedText(const QString& text) const
{
    if (GetQuality() == QUALITY_GOOD)
        return text;
    return QString(text.size(), u'?');
}

BOOL CGridCellBase::GetTextRect(LPRECT rect)
{
    if (!rect)
        return FALSE;
    if (const std::optional<IMAGEINFO> info = ImageInfo(this))
        rect->left += info->rcImage.right - info->rcImage.left + 1 + static_cast<int>(GetMargin());
    return TRUE;
}

BOOL CGridCellBase::GetTipTextRect(LPRECT rect)
{
    return GetTextRect(rect);
}

CSize CGridCellBase::GetTextExtent(const QString& text, CDC* dc)
{
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    // The grid window's context measures on the screen.
    std::optional<CDC> windowDC;
    if (!dc && !text.isEmpty() && GetGrid() && CDC::IsScreenAvailable())
        dc = &windowDC.emplace();
    if (!dc || text.isEmpty())
        return defaultCell ? CSize(defaultCell->GetWidth(), defaultCell->GetHeight()) : CSize();

    const CFont* oldFont = nullptr;
    const CFont* font = GetFontObject();
    if (font)
        oldFont = dc->SelectObject(font);
    const DWORD format = GetFormat();
    CSize size;
    if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE)) {
        size = dc->GetTextExtent(text);
    } else {
        int widest = 0;
        for (const QString& line : text.split(u'\n'))
            widest = std::max<int>(widest, dc->GetTextExtent(line).cx);
        CRect rect(0, 0, widest + 1, 0);
        dc->DrawText(text, &rect, format | DT_CALCRECT);
        size = CSize(rect.Width(), rect.Height());
    }
    TEXTMETRICW tm{};
    dc->GetTextMetrics(&tm);
    size.cx += tm.tmOverhang;
    if (font)
        dc->SelectObject(oldFont);

    const int margin = static_cast<int>(GetMargin());
    size.cx += 4 * margin;
    size.cy += 2 * margin;
    if (IsVerticalFont(GetFont(), true)) {
        std::swap(size.cx, size.cy);
        size.cy += 4 * margin;
    }
    return size;
}

CSize CGridCellBase::GetCellExtent(CDC* dc, int row, int col)
{
    const CSize text = GetTextExtent(GetDisplayText(row, col), dc);
    CSize image;
    if (const std::optional<IMAGEINFO> info = ImageInfo(this))
        image = CSize(info->rcImage.right - info->rcImage.left + 1, info->rcImage.bottom - info->rcImage.top + 1);
    return CSize(text.cx + image.cx, std::max(text.cy, image.cy));
}

BOOL CGridCellBase::Edit(int, int, CRect, CPoint, UINT, UINT)
{
    return FALSE;
}

BOOL CGridCellBase::ValidateEdit(const QString&)
{
    return TRUE;
}

void CGridCellBase::EndEdit()
{
}

BOOL CGridCellBase::PrintCell(CDC* dc, int row, int col, CRect rect)
{
    CGridCtrl* grid = GetGrid();
    if (!grid || !dc) {
        qCWarning(lcCells, "PrintCell(%d, %d): %s", row, col, grid ? "no device context" : "the cell has no grid");
        return FALSE;
    }
    if (rect.Width() < 1 || rect.Height() < 1)
        return FALSE;
    const int savedDC = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    COLORREF textClr = RGB(0, 0, 0);
    if (grid->GetPrintColour()) {
        const CGridDefaultCell* defaultCell = GetDefaultCell();
        if (!defaultCell) {
            dc->RestoreDC(savedDC);
            return FALSE;
        }
        COLORREF backClr = GetBackClr();
        if (IsFixed()) {
            if (backClr == CLR_DEFAULT)
                backClr = defaultCell->GetBackClr();
        } else if (backClr == defaultCell->GetBackClr()) {
            // Paper stays white where the cell only has its region's colour.
            backClr = CLR_DEFAULT;
        }
        textClr = GetTextClr() == CLR_DEFAULT ? defaultCell->GetTextClr() : GetTextClr();
        if (dc->GetDeviceCaps(NUMCOLORS) == 2 && backClr == CLR_DEFAULT)
            textClr = RGB(static_cast<int>(GetRValue(textClr) * 0.30), static_cast<int>(GetGValue(textClr) * 0.59),
                          static_cast<int>(GetBValue(textClr) * 0.11));
        if (backClr != CLR_DEFAULT) {
            CRect fill = rect;
            fill.InflateRect(0, 0, 1, 1);
            dc->FillSolidRect(fill, backClr);
        }
    }
    dc->SetTextColor(textClr);
    if (const CFont* font = GetFontObject())
        dc->SelectObject(font);
    if (grid->GetGridLines() != GVL_NONE && IsFixed())
        DrawRaisedFrame(dc, rect);
    const int margin = static_cast<int>(GetMargin());
    rect.DeflateRect(margin, 0);
    if (const std::optional<IMAGEINFO> info = ImageInfo(this)) {
        grid->GetImageList()->Draw(dc, GetImage(), rect.TopLeft(), ILD_NORMAL);
        rect.left += margin + info->rcImage.right - info->rcImage.left;
    }
    dc->DrawText(GetDisplayText(row, col), &rect, GetFormat() | DT_NOPREFIX);
    dc->RestoreDC(savedDC);
    return TRUE;
}

void CGridCellBase::SetVisible(BOOL)
{
}
void CGridCellBase::OnEndEdit()
{
}
void CGridCellBase::OnMouseEnter()
{
}
void CGridCellBase::OnMouseOver()
{
}
void CGridCellBase::OnMouseLeave()
{
}
void CGridCellBase::OnClick(CPoint)
{
}
void CGridCellBase::OnClickDown(CPoint)
{
}
void CGridCellBase::OnRClick(CPoint)
{
}
void CGridCellBase::OnDblClick(CPoint)
{
}

BOOL CGridCellBase::OnSetCursor()
{
    if (CGridCtrl* grid = GetGrid())
        grid->viewport()->setCursor(Qt::ArrowCursor);
    return TRUE;
}
