#include "CGridCtrl.h"

#include "cells/CGridCellBase.h"
#include "platform/CBrush.h"
#include "platform/CPen.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

void CGridCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    // With drawing off the area shows blank, not whatever was there before.
    if (!m_bAllowDraw)
        painter.fillRect(event->rect(), Qt::white);
    {
        // Qt's backing store is the off-screen buffer: the whole paint shows at
        // once, so double buffering needs no second bitmap copied into it.
        CDC dc(&painter);
        OnDraw(&dc);
    }
    // The divider bar inverts what lies beneath it, after the cells are down.
    if (!m_rcTrackBar.IsRectEmpty()) {
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(QRect(m_rcTrackBar.left, m_rcTrackBar.top, m_rcTrackBar.Width(), m_rcTrackBar.Height()),
                         Qt::white);
    }
}

void CGridCtrl::OnDraw(CDC* dc)
{
    CRect clip;
    if (!m_bAllowDraw || !dc || dc->GetClipBox(&clip) == NULLREGION)
        return;
    CRect visibleRect;
    const CellSpan visible = GetVisibleNonFixedCellRange(&visibleRect);
    EraseBackground(dc, clip, visibleRect);

    const CCellID topLeft = GetTopleftNonFixedCell();
    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColWidth = GetFixedColumnWidth();
    const int fixedCols = GetFixedColumnCount();
    if (m_bVirtualMode)
        SendCacheHintToParent(visible);
    NotifyCellVisibility(visible);

    // Corner, row headers, column headers, then the scrolling cells.
    DrawCellBlock(dc, clip, 0, m_nFixedRows - 1, 0, 0, fixedCols - 1, 0);
    DrawCellBlock(dc, clip, topLeft.row, visible.GetMaxRow(), fixedRowHeight, 0, fixedCols - 1, 0);
    DrawCellBlock(dc, clip, 0, m_nFixedRows - 1, 0, topLeft.col, visible.GetMaxCol(), fixedColWidth);
    DrawCellBlock(dc, clip, topLeft.row, visible.GetMaxRow(), fixedRowHeight, topLeft.col, visible.GetMaxCol(),
                  fixedColWidth);

    DrawGridLines(dc, clip, topLeft, visible, visibleRect);
    dc->SelectStockObject(NULL_PEN);
    if (m_bVirtualMode)
        SendCacheHintToParent(CellSpan());
}

void CGridCtrl::EraseBackground(CDC* dc, const CRect& clip, const CRect& visibleRect)
{
    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColWidth = GetFixedColumnWidth();
    const auto fill = [&](const CRect& area, COLORREF color) {
        CRect part;
        if (part.IntersectRect(area, clip)) {
            const CBrush brush(color);
            dc->FillRect(part, &brush);
        }
    };
    fill(CRect(0, fixedRowHeight, fixedColWidth, visibleRect.bottom), m_cellFixedColDef.GetBackClr());
    fill(CRect(fixedColWidth - 1, 0, visibleRect.right, fixedRowHeight), m_cellFixedRowDef.GetBackClr());
    fill(CRect(0, 0, fixedColWidth, fixedRowHeight), m_cellFixedRowColDef.GetBackClr());
    fill(CRect(fixedColWidth, fixedRowHeight, visibleRect.right, visibleRect.bottom), m_cellDefault.GetBackClr());
    // Beyond the cells: to their right, and below them.
    fill(CRect(visibleRect.right, clip.top, clip.right, clip.bottom), m_crGridBkColour);
    fill(CRect(clip.left, visibleRect.bottom, visibleRect.right, clip.bottom), m_crGridBkColour);
}

// Draws rows row0..row1 from y0 down and columns col0..col1 from x0 right,
// skipping hidden lines and lines outside the clip box.
void CGridCtrl::DrawCellBlock(CDC* dc, const CRect& clip, int row0, int row1, int y0, int col0, int col1, int x0)
{
    if (row0 < 0 || col0 < 0)
        return;
    CRect rect;
    rect.bottom = y0 - 1;
    for (int row = row0; row <= row1 && row < m_nRows; ++row) {
        const int height = GetRowHeight(row);
        if (height <= 0)
            continue;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + height - 1;
        if (rect.top > clip.bottom)
            break;
        if (rect.bottom < clip.top)
            continue;
        rect.right = x0 - 1;
        for (int col = col0; col <= col1 && col < m_nCols; ++col) {
            const int width = GetColumnWidth(col);
            if (width <= 0)
                continue;
            rect.left = rect.right + 1;
            rect.right = rect.left + width - 1;
            if (rect.left > clip.right)
                break;
            if (rect.right < clip.left)
                continue;
            if (CGridCellBase* cell = GetCell(row, col)) {
                cell->SetCoords(row, col);
                cell->Draw(dc, row, col, rect, FALSE);
            }
        }
    }
}

void CGridCtrl::DrawGridLines(CDC* dc, const CRect& clip, const CCellID& topLeft, const CellSpan& visible,
                              const CRect& visibleRect)
{
    const CPen pen(PS_SOLID, 0, m_crGridLineColour);
    dc->SelectObject(&pen);
    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColWidth = GetFixedColumnWidth();
    if (m_nGridLines == GVL_VERT || m_nGridLines == GVL_BOTH) {
        int x = fixedColWidth;
        for (int col = topLeft.col; col >= 0 && col <= visible.GetMaxCol(); ++col) {
            const int width = GetColumnWidth(col);
            if (width <= 0)
                continue;
            x += width;
            if (x - 1 > clip.right)
                break;
            dc->MoveTo(x - 1, fixedRowHeight);
            dc->LineTo(x - 1, visibleRect.bottom);
        }
    }
    if (m_nGridLines == GVL_HORZ || m_nGridLines == GVL_BOTH) {
        int y = fixedRowHeight;
        for (int row = topLeft.row; row >= 0 && row <= visible.GetMaxRow(); ++row) {
            const int height = GetRowHeight(row);
            if (height <= 0)
                continue;
            y += height;
            if (y - 1 > clip.bottom)
                break;
            dc->MoveTo(fixedColWidth, y - 1);
            dc->LineTo(visibleRect.right, y - 1);
        }
    }
}

// Every cell learns whether it lies in the visible span. Only changes are told:
// a cell that was not told "visible" last time counts as told "not visible".
void CGridCtrl::NotifyCellVisibility(const CellSpan& visible)
{
    std::unordered_set<CGridCellBase*> now;
    if (!m_bVirtualMode && IsValid(visible)) {
        now.reserve(static_cast<size_t>(visible.Count()));
        for (int row = visible.GetMinRow(); row <= visible.GetMaxRow(); ++row) {
            for (int col = visible.GetMinCol(); col <= visible.GetMaxCol(); ++col) {
                CGridCellBase* cell = GetCell(row, col);
                if (!cell || !now.insert(cell).second)
                    continue;
                if (!m_visibleCells.count(cell))
                    cell->SetVisible(TRUE);
            }
        }
    }
    for (CGridCellBase* cell : m_visibleCells) {
        if (!now.count(cell))
            cell->SetVisible(FALSE);
    }
    m_visibleCells.swap(now);
}

BOOL CGridCtrl::RedrawCell(int row, int col, CDC* dc)
{
    CRect rect;
    if (!m_bAllowDraw || !IsCellVisible(row, col) || !GetCellRect(row, col, &rect))
        return FALSE;
    if (!dc) {
        // A widget paints only in its paint event: ask for this cell's paint.
        InvalidateRect(CRect(rect.left, rect.top, rect.right + 1, rect.bottom + 1));
        return TRUE;
    }
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return FALSE;
    const BOOL result = cell->Draw(dc, row, col, rect, TRUE);
    if (cell->IsFixed())
        return result;
    const CPen pen(PS_SOLID, 0, m_crGridLineColour);
    const CPen* oldPen = dc->SelectObject(&pen);
    if (m_nGridLines == GVL_HORZ || m_nGridLines == GVL_BOTH) {
        dc->MoveTo(rect.left, rect.bottom);
        dc->LineTo(rect.right + 1, rect.bottom);
    }
    if (m_nGridLines == GVL_VERT || m_nGridLines == GVL_BOTH) {
        dc->MoveTo(rect.right, rect.top);
        dc->LineTo(rect.right, rect.bottom + 1);
    }
    dc->SelectObject(oldPen);
    return result;
}

void CGridCtrl::InvalidateRect(const CRect& rect)
{
    if (m_bCreated && m_bAllowDraw && !rect.IsRectEmpty())
        viewport()->update(rect.left, rect.top, rect.Width(), rect.Height());
}

BOOL CGridCtrl::InvalidateCellRect(const CCellID& cell)
{
    CRect rect;
    if (!m_bCreated || !m_bAllowDraw || !IsValid(cell) || !GetCellRect(cell, &rect))
        return FALSE;
    InvalidateRect(CRect(rect.left, rect.top, rect.right + 1, rect.bottom + 1));
    return TRUE;
}

BOOL CGridCtrl::InvalidateCellRect(const CellSpan& span)
{
    if (!m_bCreated || !m_bAllowDraw || !IsValid(span))
        return FALSE;
    const CellSpan visible = GetVisibleNonFixedCellRange().Intersect(span);
    CRect rect;
    if (!GetCellRangeRect(visible, &rect))
        return FALSE;
    InvalidateRect(CRect(rect.left, rect.top, rect.right + 1, rect.bottom + 1));
    return TRUE;
}

void CGridCtrl::Refresh()
{
    if (m_bCreated && m_bAllowDraw)
        viewport()->update();
}

void CGridCtrl::SetRedraw(BOOL allowDraw, BOOL resetScrollBars)
{
    const bool turnedOn = allowDraw && !m_bAllowDraw;
    m_bAllowDraw = allowDraw;
    if (turnedOn)
        Refresh();
    if (resetScrollBars)
        ResetScrollBars();
}

void CGridCtrl::SetGridLines(int whichLines)
{
    m_nGridLines = whichLines;
    Refresh();
}

void CGridCtrl::OnSetFont(const LOGFONTW& font)
{
    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
        cell->SetFont(&font);
    Refresh();
}

const CFont* CGridCtrl::OnGetFont()
{
    return m_cellDefault.GetFontObject();
}

// Colours that followed the system keep following it; chosen ones stay.
void CGridCtrl::OnSysColorChange()
{
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        if (cell->GetTextClr() == m_crWindowText)
            cell->SetTextClr(windowText);
        if (cell->GetBackClr() == m_crWindowColour)
            cell->SetBackClr(window);
    }
    if (m_crGridBkColour == m_crShadow)
        m_crGridBkColour = GetSysColor(COLOR_BTNSHADOW);
    m_crWindowText = windowText;
    m_crWindowColour = window;
    m_cr3DFace = GetSysColor(COLOR_BTNFACE);
    m_crShadow = GetSysColor(COLOR_BTNSHADOW);
    Refresh();
}

void CGridCtrl::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        OnSetFont(LogFontFromQFont(font()));
    else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        OnSysColorChange();
}
