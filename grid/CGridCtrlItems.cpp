// The properties of one cell: text, image, data, state, format, colours,
// font and margin, and the modified marks.

#include "CGridCtrl.h"

#include "GridLog.h"

#include "cells/CGridCellBase.h"
#include "res/Resources.h"

#include <cstdarg>

// The mark comes before the change, so that a state given with the change
// (SetItem with GRIDIF_STATE) has the last word.
template <typename Apply>
BOOL CGridCtrl::SetCellProperty(const char* setter, int row, int col, ItemChange change, Apply&& apply)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell) {
        qCWarning(lcGrid, "%s(%d, %d): no such cell in a grid of %d x %d%s", setter, row, col, m_nRows, m_nCols,
                  m_bVirtualMode ? " (virtual: its owner holds the cells)" : "");
        return FALSE;
    }
    if (change == ItemChange::Content)
        SetModified(TRUE, row, col);
    apply(cell);
    return TRUE;
}

BOOL CGridCtrl::SetItemText(int row, int col, const QString& text)
{
    return SetCellProperty("SetItemText", row, col, ItemChange::Content,
                           [&text](CGridCellBase* cell) { cell->SetText(text); });
}

BOOL CGridCtrl::SetItemTextFmt(int row, int col, const char* format, ...)
{
    if (!format) {
        qCWarning(lcGrid, "SetItemTextFmt(%d, %d): no format", row, col);
        return FALSE;
    }
    va_list args;
    va_start(args, format);
    const QString text = QString::vasprintf(format, args);
    va_end(args);
    return SetItemText(row, col, text);
}

BOOL CGridCtrl::SetItemTextFmtID(int row, int col, UINT formatId, ...)
{
    const QByteArray format = LoadResString(formatId).toUtf8();
    va_list args;
    va_start(args, formatId);
    const QString text = QString::vasprintf(format.constData(), args);
    va_end(args);
    return SetItemText(row, col, text);
}

QString CGridCtrl::GetItemText(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetText() : QString();
}

BOOL CGridCtrl::SetItemImage(int row, int col, int image)
{
    return SetCellProperty("SetItemImage", row, col, ItemChange::Content,
                           [image](CGridCellBase* cell) { cell->SetImage(image); });
}

int CGridCtrl::GetItemImage(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetImage() : -1;
}

BOOL CGridCtrl::SetItemData(int row, int col, LPARAM data)
{
    return SetCellProperty("SetItemData", row, col, ItemChange::Content,
                           [data](CGridCellBase* cell) { cell->SetData(data); });
}

LPARAM CGridCtrl::GetItemData(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetData() : 0;
}

BOOL CGridCtrl::SetItemTextLimit(int row, int col, int limit)
{
    return SetCellProperty("SetItemTextLimit", row, col, ItemChange::Content,
                           [limit](CGridCellBase* cell) { cell->SetTextLimit(limit); });
}

int CGridCtrl::GetItemTextLimit(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetTextLimit() : -1;
}

std::uint64_t CGridCtrl::SelectionKey(int row, int col)
{
    // The whole row and column: grids beyond 65,535 rows must not share keys.
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 32) | static_cast<std::uint32_t>(row);
}

BOOL CGridCtrl::SetItemState(int row, int col, UINT state)
{
    // Refused before the selection map is touched: an entry for a cell that
    // does not exist would make the selection start outside the grid.
    if (!IsValid(row, col))
        return FALSE;
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!m_bVirtualMode && !cell) {
        // A cell taken out with SetCell may still be listed; never add one.
        m_SelectedCellMap.erase(SelectionKey(row, col));
        return FALSE;
    }
    const bool selected = IsCellSelected(row, col);
    if (!selected && (state & GRIDIS_SELECTED))
        m_SelectedCellMap[SelectionKey(row, col)] = CCellID(row, col);
    else if (selected && !(state & GRIDIS_SELECTED))
        m_SelectedCellMap.erase(SelectionKey(row, col));
    if (!m_bVirtualMode)
        cell->SetState(state);
    return TRUE;
}

UINT CGridCtrl::GetItemState(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetState() : 0;
}

BOOL CGridCtrl::SetItemFormat(int row, int col, UINT format)
{
    return SetCellProperty("SetItemFormat", row, col, ItemChange::Look,
                           [format](CGridCellBase* cell) { cell->SetFormat(format); });
}

UINT CGridCtrl::GetItemFormat(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetFormat() : 0;
}

BOOL CGridCtrl::SetItemBkColour(int row, int col, COLORREF color)
{
    return SetCellProperty("SetItemBkColour", row, col, ItemChange::Look,
                           [color](CGridCellBase* cell) { cell->SetBackClr(color); });
}

COLORREF CGridCtrl::GetItemBkColour(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetBackClr() : 0;
}

BOOL CGridCtrl::SetItemFgColour(int row, int col, COLORREF color)
{
    return SetCellProperty("SetItemFgColour", row, col, ItemChange::Look,
                           [color](CGridCellBase* cell) { cell->SetTextClr(color); });
}

COLORREF CGridCtrl::GetItemFgColour(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetTextClr() : 0;
}

BOOL CGridCtrl::SetItemFont(int row, int col, const LOGFONTW* font)
{
    return SetCellProperty("SetItemFont", row, col, ItemChange::Look,
                           [&font](CGridCellBase* cell) { cell->SetFont(font); });
}

const LOGFONTW* CGridCtrl::GetItemFont(int row, int col)
{
    const CGridCellBase* cell = GetCell(row, col);
    if (cell)
        return cell->GetFont();
    return GetDefaultCell(row < m_nFixedRows, col < m_nFixedCols)->GetFont();
}

BOOL CGridCtrl::SetItemMargin(int row, int col, UINT margin)
{
    return SetCellProperty("SetItemMargin", row, col, ItemChange::Look,
                           [margin](CGridCellBase* cell) { cell->SetMargin(margin); });
}

UINT CGridCtrl::GetItemMargin(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetMargin() : 0;
}

BOOL CGridCtrl::SetItem(const GridItem* item)
{
    if (!item) {
        qCWarning(lcGrid, "SetItem: no item");
        return FALSE;
    }
    return SetCellProperty("SetItem", item->row, item->col, ItemChange::Content,
                           [this, item](CGridCellBase* cell) { ApplyItem(item, cell); });
}

void CGridCtrl::ApplyItem(const GridItem* item, CGridCellBase* cell)
{
    if (item->mask & GRIDIF_TEXT)
        cell->SetText(item->strText);
    if (item->mask & GRIDIF_PARAM)
        cell->SetData(item->lParam);
    if (item->mask & GRIDIF_IMAGE)
        cell->SetImage(item->iImage);
    if (item->mask & GRIDIF_STATE)
        SetItemState(item->row, item->col, item->nState);
    if (item->mask & GRIDIF_FORMAT)
        cell->SetFormat(item->nFormat);
    if (item->mask & GRIDIF_BKCLR)
        cell->SetBackClr(item->crBkClr);
    if (item->mask & GRIDIF_FGCLR)
        cell->SetTextClr(item->crFgClr);
    if (item->mask & GRIDIF_FONT)
        cell->SetFont(&item->lfFont);
    if (item->mask & GRIDIF_MARGIN)
        cell->SetMargin(item->nMargin);
}

BOOL CGridCtrl::GetItem(GridItem* item) const
{
    const CGridCellBase* cell = item ? GetCell(item->row, item->col) : nullptr;
    if (!cell)
        return FALSE;
    if (item->mask & GRIDIF_TEXT)
        item->strText = cell->GetText();
    if (item->mask & GRIDIF_PARAM)
        item->lParam = cell->GetData();
    if (item->mask & GRIDIF_IMAGE)
        item->iImage = cell->GetImage();
    if (item->mask & GRIDIF_STATE)
        item->nState = cell->GetState();
    if (item->mask & GRIDIF_FORMAT)
        item->nFormat = cell->GetFormat();
    if (item->mask & GRIDIF_BKCLR)
        item->crBkClr = cell->GetBackClr();
    if (item->mask & GRIDIF_FGCLR)
        item->crFgClr = cell->GetTextClr();
    if ((item->mask & GRIDIF_FONT) && cell->GetFont())
        item->lfFont = *cell->GetFont();
    if (item->mask & GRIDIF_MARGIN)
        item->nMargin = cell->GetMargin();
    return TRUE;
}

void CGridCtrl::SetModified(BOOL modified, int row, int col)
{
    if (col < 0 || col == m_nSortColumn)
        ClearSortColumn();
    if (row >= 0 && col >= 0) {
        CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
        if (cell) {
            cell->SetState(modified ? (cell->GetState() | GRIDIS_MODIFIED) : (cell->GetState() & ~GRIDIS_MODIFIED));
            if (modified)
                m_bModified = TRUE;
        }
    } else {
        m_bModified = modified;
    }
    if (m_bModified || m_bVirtualMode)
        return;
    for (int r = 0; r < m_nRows; ++r) {
        for (int c = 0; c < m_nCols; ++c) {
            if (CGridCellBase* cell = GetCell(r, c))
                cell->SetState(cell->GetState() & ~GRIDIS_MODIFIED);
        }
    }
}

BOOL CGridCtrl::GetModified(int row, int col) const
{
    if (row < 0 || col < 0)
        return m_bModified;
    return (GetItemState(row, col) & GRIDIS_MODIFIED) != 0;
}

CCellID CGridCtrl::GetNextItem(const CCellID& start, UINT flags) const
{
    // The search bits name state bits one to one, except "modified".
    UINT wanted = flags & (GRIDNI_FOCUSED | GRIDNI_SELECTED | GRIDNI_DROPHILITED | GRIDNI_READONLY | GRIDNI_FIXED);
    if (flags & GRIDNI_MODIFIED)
        wanted |= GRIDIS_MODIFIED;
    const auto matches = [&](int row, int col) { return (GetItemState(row, col) & wanted) != 0; };

    if ((flags & GRIDNI_ALL) == GRIDNI_ALL) {
        int row = start.row <= 0 ? m_nFixedRows : start.row;
        int col = start.col <= 0 ? m_nFixedCols : start.col + 1;
        for (; row < m_nRows; ++row, col = m_nFixedCols) {
            for (; col < m_nCols; ++col)
                if (matches(row, col))
                    return CCellID(row, col);
        }
    } else if ((flags & (GRIDNI_BELOW | GRIDNI_TORIGHT)) == (GRIDNI_BELOW | GRIDNI_TORIGHT)) {
        for (int row = start.row; row < m_nRows; ++row)
            for (int col = start.col + 1; col < m_nCols; ++col)
                if (matches(row, col))
                    return CCellID(row, col);
    } else if (flags & GRIDNI_ABOVE) {
        for (int row = start.row - 1; row >= m_nFixedRows; --row)
            if (matches(row, start.col))
                return CCellID(row, start.col);
    } else if (flags & GRIDNI_BELOW) {
        for (int row = start.row + 1; row < m_nRows; ++row)
            if (matches(row, start.col))
                return CCellID(row, start.col);
    } else if (flags & GRIDNI_TOLEFT) {
        for (int col = start.col - 1; col >= m_nFixedCols; --col)
            if (matches(start.row, col))
                return CCellID(start.row, col);
    } else if (flags & GRIDNI_TORIGHT) {
        for (int col = start.col + 1; col < m_nCols; ++col)
            if (matches(start.row, col))
                return CCellID(start.row, col);
    }
    return CCellID();
}
