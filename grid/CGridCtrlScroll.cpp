#include "CGridCtrl.h"

#include "cells/CGridCellBase.h"

#include <QApplication>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace {

// The scroll handlers do not nest: a scroll that triggers another is dropped.
class ScrollGuard
{
public:
    explicit ScrollGuard(BOOL& flag) : m_flag(flag) { m_flag = TRUE; }
    ~ScrollGuard() { m_flag = FALSE; }
    ScrollGuard(const ScrollGuard&) = delete;
    ScrollGuard& operator=(const ScrollGuard&) = delete;

private:
    BOOL& m_flag;
};

} // namespace

int CGridCtrl::ScrollBarExtent(bool vertical) const
{
    const QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    int extent = bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
    if (style()->styleHint(QStyle::SH_ScrollView_FrameOnlyAroundContents, nullptr, this))
        extent += style()->pixelMetric(QStyle::PM_ScrollView_ScrollBarSpacing, nullptr, this);
    return extent;
}

BOOL CGridCtrl::IsScrollBarShown(int bar) const
{
    return (bar == SB_VERT ? verticalScrollBarPolicy() : horizontalScrollBarPolicy()) == Qt::ScrollBarAlwaysOn;
}

void CGridCtrl::ShowScrollBar(int bar, bool show)
{
    const Qt::ScrollBarPolicy policy = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (bar == SB_VERT || bar == SB_BOTH) {
        if (verticalScrollBarPolicy() != policy)
            setVerticalScrollBarPolicy(policy);
    }
    if (bar == SB_HORZ || bar == SB_BOTH) {
        if (horizontalScrollBarPolicy() != policy)
            setHorizontalScrollBarPolicy(policy);
    }
}

void CGridCtrl::EnableScrollBars(int bar, BOOL enable)
{
    if (bar == SB_VERT || bar == SB_BOTH)
        m_bVScrollAllowed = enable;
    if (bar == SB_HORZ || bar == SB_BOTH)
        m_bHScrollAllowed = enable;
    ResetScrollBars();
}

int CGridCtrl::GetScrollPos32(int bar, BOOL getTrackPos) const
{
    const QScrollBar* scrollBar = bar == SB_VERT ? verticalScrollBar() : horizontalScrollBar();
    return getTrackPos ? scrollBar->sliderPosition() : scrollBar->value();
}

BOOL CGridCtrl::SetScrollPos32(int bar, int pos, BOOL)
{
    ForgetTopLeft();
    (bar == SB_VERT ? verticalScrollBar() : horizontalScrollBar())->setValue(pos);
    return TRUE;
}

void CGridCtrl::ResetScrollBars()
{
    ForgetTopLeft();
    if (!m_bAllowDraw || !m_bCreated)
        return;
    CRect rect = GetClientRect();
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    // The client area as it would be without scroll bars, less the fixed band.
    if (IsScrollBarShown(SB_VERT))
        rect.right += ScrollBarExtent(true);
    if (IsScrollBarShown(SB_HORZ))
        rect.bottom += ScrollBarExtent(false);
    rect.left += GetFixedColumnWidth();
    rect.top += GetFixedRowHeight();
    if (rect.left >= rect.right || rect.top >= rect.bottom) {
        ShowScrollBar(SB_BOTH, false);
        return;
    }
    const long long height = GetVirtualHeight() - GetFixedRowHeight();
    const long long width = GetVirtualWidth() - GetFixedColumnWidth();
    // A vertical bar takes width, which may in turn call for a horizontal bar.
    if (rect.Height() < height)
        rect.right -= ScrollBarExtent(true);
    if (rect.Width() < width)
        rect.bottom -= ScrollBarExtent(false);
    const bool needVert = rect.Height() < height;
    const bool needHorz = rect.Width() < width;
    m_nVScrollMax = needVert ? static_cast<int>(std::min<long long>(height - 1, INT32_MAX)) : 0;
    m_nHScrollMax = needHorz ? static_cast<int>(std::min<long long>(width - 1, INT32_MAX)) : 0;
    ShowScrollBar(SB_VERT, needVert && m_bVScrollAllowed);
    ShowScrollBar(SB_HORZ, needHorz && m_bHScrollAllowed);

    const auto setRange = [](QScrollBar* bar, int maximum, int page) {
        // The grid places its bars itself; the scroll area's queued
        // show-or-hide pass for every range change would only pile up.
        const QSignalBlocker blocker(bar);
        bar->setPageStep(std::max(1, page));
        bar->setSingleStep(1);
        bar->setRange(0, maximum > 0 ? std::max(0, maximum - page + 1) : 0);
    };
    setRange(horizontalScrollBar(), m_nHScrollMax, m_nHScrollMax > 0 ? rect.Width() : 0);
    setRange(verticalScrollBar(), m_nVScrollMax, m_nVScrollMax > 0 ? rect.Height() : 0);
    ForgetTopLeft();
}

CRect CGridCtrl::ScrollArea(bool vertical) const
{
    CRect area = GetClientRect();
    if (vertical)
        area.top = GetFixedRowHeight();
    else
        area.left = GetFixedColumnWidth();
    return area;
}

// The picture depends only on the top-left cell: what stays in view moves by
// the lines that scrolled past, and only the strip that comes in is painted.
void CGridCtrl::ScrollContents(bool vertical, const CCellID& topLeftBefore)
{
    const CCellID topLeftAfter = GetTopleftNonFixedCell();
    const int from = vertical ? topLeftBefore.row : topLeftBefore.col;
    const int to = vertical ? topLeftAfter.row : topLeftAfter.col;
    if (from == to || !m_bCreated || !m_bAllowDraw)
        return;
    const GridAxis& axis = vertical ? m_rowHeights : m_colWidths;
    const long long shift = from < to ? -axis.Sum(from, to) : axis.Sum(to, from);
    const CRect area = ScrollArea(vertical);
    const int extent = vertical ? area.Height() : area.Width();
    // The divider bar is inverted onto the pixels: moved, it would stay behind.
    if (shift <= -extent || shift >= extent || !m_rcTrackBar.IsRectEmpty()) {
        InvalidateRect(area);
        return;
    }
    const int pixels = static_cast<int>(shift);
    viewport()->scroll(vertical ? 0 : pixels, vertical ? pixels : 0,
                       QRect(area.left, area.top, area.Width(), area.Height()));
}

void CGridCtrl::OnHScroll(UINT code, UINT)
{
    ScrollAxis(false, code);
}

void CGridCtrl::OnVScroll(UINT code, UINT)
{
    ScrollAxis(true, code);
}

// Moves by the grid's own rules: whole lines of their actual size, skipping
// hidden ones; pages of the visible non-fixed extent.
void CGridCtrl::ScrollAxis(bool vertical, UINT code)
{
    if (m_bScrollInProgress)
        return;
    const ScrollGuard guard(m_bScrollInProgress);
    EndEditing();
    const CGridCellBase* focus = GetCell(m_idCurrentCell.row, m_idCurrentCell.col);
    if (focus && focus->GetEditWnd())
        return;
    // The tip would stay over whatever cell scrolls in under it.
    m_TitleTip.Hide();

    const int bar = vertical ? SB_VERT : SB_HORZ;
    const GridAxis& axis = vertical ? m_rowHeights : m_colWidths;
    const int fixed = vertical ? m_nFixedRows : GetFixedColumnCount();
    const int scrollPos = GetScrollPos32(bar);
    const int maximum = GetScrollMax(bar);
    const CCellID topLeftCell = GetTopleftNonFixedCell();
    const int topLeft = vertical ? topLeftCell.row : topLeftCell.col;
    const CRect client = GetClientRect();
    const int page = vertical ? client.Height() - GetFixedRowHeight() : client.Width() - GetFixedColumnWidth();
    // Summed in 64 bits: a position near the 32-bit end plus a line must not wrap.
    const auto moveTo = [&](long long pos) {
        SetScrollPos32(bar, static_cast<int>(std::clamp<long long>(pos, 0, std::max(maximum, 0))));
        ScrollContents(vertical, topLeftCell);
    };

    switch (code) {
    case SB_LINEDOWN:
        if (scrollPos < maximum) {
            int line = topLeft;
            while (line < axis.Count() && axis.Size(line) == 0)
                ++line;
            if (line < axis.Count())
                moveTo(static_cast<long long>(scrollPos) + axis.Size(line));
        }
        break;
    case SB_LINEUP:
        if (scrollPos > 0 && topLeft > fixed) {
            int line = topLeft - 1;
            while (line > fixed && axis.Size(line) == 0)
                --line;
            moveTo(static_cast<long long>(scrollPos) - axis.Size(line));
        }
        break;
    case SB_PAGEUP:
        if (scrollPos > 0)
            moveTo(static_cast<long long>(scrollPos) - page);
        break;
    case SB_PAGEDOWN:
        if (scrollPos < maximum)
            moveTo(static_cast<long long>(scrollPos) + page);
        break;
    case SB_TOP:
        if (scrollPos > 0) {
            SetScrollPos32(bar, 0);
            Refresh();
        }
        break;
    case SB_BOTTOM:
        if (scrollPos < maximum) {
            SetScrollPos32(bar, maximum);
            Refresh();
        }
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetScrollPos32(bar, GetScrollPos32(bar, TRUE));
        ScrollContents(vertical, topLeftCell);
        break;
    default: break;
    }
}

// The bar's own step is undone; its request goes to the grid's handler instead.
void CGridCtrl::OnScrollBarAction(bool vertical, int action)
{
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    UINT code = SB_ENDSCROLL;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    if (code != SB_THUMBTRACK)
        bar->setSliderPosition(bar->value());
    if (vertical)
        OnVScroll(code, static_cast<UINT>(bar->sliderPosition()));
    else
        OnHScroll(code, static_cast<UINT>(bar->sliderPosition()));
}

void CGridCtrl::ScrollLinesTowards(bool vertical, int target, const CellSpan& visible)
{
    const GridAxis& axis = vertical ? m_rowHeights : m_colWidths;
    const int first = vertical ? visible.GetMinRow() : visible.GetMinCol();
    const int last = vertical ? visible.GetMaxRow() : visible.GetMaxCol();
    const int end = std::min(target, axis.Count() - 1);
    for (int line = last + 1; line <= end; ++line) {
        if (axis.Size(line) > 0)
            ScrollAxis(vertical, SB_LINEDOWN);
    }
    for (int line = std::max(target, 0); line < first && line < axis.Count(); ++line) {
        if (axis.Size(line) > 0)
            ScrollAxis(vertical, SB_LINEUP);
    }
}

void CGridCtrl::EnsureVisible(int row, int col)
{
    if (!m_bAllowDraw)
        return;
    const QPointer<QWidget> focus = QApplication::focusWidget();
    const CellSpan visible = GetVisibleNonFixedCellRange();
    ScrollLinesTowards(false, col, visible);
    ScrollLinesTowards(true, row, visible);

    // Then single lines until the cell's far edges are inside. A step that
    // no longer moves the cell ends the loop: the view cannot go further.
    const CRect client = GetClientRect();
    CRect rect;
    if (GetCellRect(row, col, &rect)) {
        const int barWidth = IsScrollBarShown(SB_VERT) ? ScrollBarExtent(true) : 0;
        while (rect.right - barWidth > client.right && rect.left > GetFixedColumnWidth()) {
            const CRect before = rect;
            ScrollAxis(false, SB_LINEDOWN);
            if (!GetCellRect(row, col, &rect) || rect == before)
                break;
        }
        while (rect.bottom > client.bottom && rect.top > GetFixedRowHeight()) {
            const CRect before = rect;
            ScrollAxis(true, SB_LINEDOWN);
            if (!GetCellRect(row, col, &rect) || rect == before)
                break;
        }
    }
    if (focus && QApplication::focusWidget() != focus)
        focus->setFocus();
}

// A bar's value changed: the grid's own scroll steps repaint what they moved;
// any other change of position shows the whole area anew.
void CGridCtrl::scrollContentsBy(int, int)
{
    if (!m_bScrollInProgress)
        viewport()->update();
}

void CGridCtrl::resizeEvent(QResizeEvent* event)
{
    static bool inSize = false;
    if (inSize || !m_bCreated) {
        QAbstractScrollArea::resizeEvent(event);
        return;
    }
    inSize = true;
    EndEditing();
    QAbstractScrollArea::resizeEvent(event);
    ResetScrollBars();
    inSize = false;
}
