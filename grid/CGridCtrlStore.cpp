// The store: rows of cells, their counts and sizes, and the making and
// destroying of cells.

#include "CGridCtrl.h"

#include "GridLog.h"

#include "cells/CGridCell.h"

#include <memory>
#include <new>

namespace {

// Room for one more entry, made ahead so the insertion itself cannot fail;
// grown by half again, so that rows added one by one stay cheap.
template <typename Vector> void ReserveOneMore(Vector& entries)
{
    if (entries.size() == entries.capacity())
        entries.reserve(entries.size() + entries.size() / 2 + 1);
}

} // namespace

// ---------------------------------------------------------------- counts

// A failure part way leaves nothing behind: the cells made so far go with the row.
std::unique_ptr<CGridCtrl::GridRow> CGridCtrl::MakeRow(int row)
{
    auto cells = std::make_unique<GridRow>(static_cast<size_t>(m_nCols));
    for (int col = 0; col < m_nCols; ++col)
        (*cells)[static_cast<size_t>(col)].reset(CreateCell(row, col));
    return cells;
}

BOOL CGridCtrl::SetRowCount(int nRows)
{
    EndEditing();
    if (nRows < 0)
        return FALSE;
    if (nRows == m_nRows && m_nRows >= 1)
        return TRUE;
    BOOL result = TRUE;
    ForgetTopLeft();
    if (nRows < m_nFixedRows)
        m_nFixedRows = nRows;
    if (m_idCurrentCell.row >= nRows)
        SetFocusCell(-1, -1);

    if (nRows < m_nRows) {
        if (!m_bVirtualMode) {
            for (int row = nRows; row < m_nRows; ++row)
                for (int col = 0; col < m_nCols; ++col)
                    DestroyCell(row, col);
            m_RowData.resize(static_cast<size_t>(nRows));
        }
        m_nRows = nRows;
        m_rowHeights.Resize(nRows, 0);
    }
    const UINT height = static_cast<UINT>(m_cellDefault.GetHeight());
    try {
        if (m_bVirtualMode) {
            m_rowHeights.Resize(nRows, height);
            m_nRows = nRows;
        } else {
            m_RowData.reserve(static_cast<size_t>(nRows));
            while (m_nRows < nRows) {
                // One row at a time, so a failure keeps the rows made so far consistent.
                m_rowHeights.Resize(m_nRows + 1, height);
                try {
                    m_RowData.push_back(MakeRow(m_nRows));
                } catch (const std::bad_alloc&) {
                    m_rowHeights.Resize(m_nRows, 0);
                    throw;
                }
                ++m_nRows;
            }
        }
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        result = FALSE;
    }
    SetModified(TRUE);
    ResetScrollBars();
    Refresh();
    return result;
}

BOOL CGridCtrl::SetColumnCount(int nCols)
{
    EndEditing();
    if (nCols < 0)
        return FALSE;
    if (nCols == m_nCols)
        return TRUE;
    BOOL result = TRUE;
    ForgetTopLeft();
    if (nCols < m_nFixedCols)
        m_nFixedCols = nCols;
    if (m_idCurrentCell.col >= nCols)
        SetFocusCell(-1, -1);
    if (!m_bVirtualMode && nCols < m_nCols) {
        for (int row = 0; row < m_nRows; ++row)
            for (int col = nCols; col < m_nCols; ++col)
                DestroyCell(row, col);
    }
    const int oldCols = m_nCols;
    try {
        m_colWidths.Resize(nCols, static_cast<UINT>(m_cellFixedColDef.GetWidth()));
        if (!m_bVirtualMode) {
            for (int row = 0; row < m_nRows; ++row) {
                GridRow* cells = m_RowData[static_cast<size_t>(row)].get();
                cells->resize(static_cast<size_t>(nCols));
                for (int col = oldCols; col < nCols; ++col)
                    (*cells)[static_cast<size_t>(col)].reset(CreateCell(row, col));
            }
        }
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        result = FALSE;
    }
    m_nCols = nCols;
    SetModified(TRUE);
    ResetScrollBars();
    Refresh();
    return result;
}

// Cells entering a fixed band take its state bits; cells leaving lose them.
// Either way their colours fall back to the default cell of their new region.
void CGridCtrl::MoveFixedBand(bool rows, int oldCount, int newCount)
{
    if (m_bVirtualMode)
        return;
    const bool growing = newCount > oldCount;
    const UINT band = GRIDIS_FIXED | (rows ? GRIDIS_FIXEDROW : GRIDIS_FIXEDCOL);
    const int first = std::min(oldCount, newCount);
    const int last = std::max(oldCount, newCount);
    const int across = rows ? m_nCols : m_nRows;
    const int otherFixed = rows ? m_nFixedCols : m_nFixedRows;
    for (int line = first; line < last; ++line) {
        for (int other = 0; other < across; ++other) {
            CGridCellBase* cell = rows ? GetCell(line, other) : GetCell(other, line);
            if (!cell)
                continue;
            const bool insideOtherBand = other < otherFixed;
            DWORD state = cell->GetState();
            if (growing)
                state |= band;
            else
                state &= ~(insideOtherBand ? (band & ~GRIDIS_FIXED) : band);
            cell->SetState(state);
            if (!insideOtherBand) {
                cell->SetBackClr(CLR_DEFAULT);
                cell->SetTextClr(CLR_DEFAULT);
            }
        }
    }
}

BOOL CGridCtrl::SetFixedRowCount(int nFixedRows)
{
    if (nFixedRows == m_nFixedRows)
        return TRUE;
    if (nFixedRows < 0)
        return FALSE;
    ResetSelectedRange();
    ForgetTopLeft();
    if (nFixedRows > m_nRows && !SetRowCount(nFixedRows))
        return FALSE;
    MoveFixedBand(true, m_nFixedRows, nFixedRows);
    m_nFixedRows = nFixedRows;
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int nFixedCols)
{
    if (nFixedCols == m_nFixedCols)
        return TRUE;
    if (nFixedCols < 0)
        return FALSE;
    if (nFixedCols > m_nCols && !SetColumnCount(nFixedCols))
        return FALSE;
    ResetSelectedRange();
    ForgetTopLeft();
    MoveFixedBand(false, m_nFixedCols, nFixedCols);
    m_nFixedCols = nFixedCols;
    Refresh();
    return TRUE;
}

int CGridCtrl::InsertRow(const QString& heading, int before)
{
    if (before >= 0 && (before < m_nFixedRows || before >= m_nRows))
        return -1;
    ForgetTopLeft();
    ResetSelectedRange();
    if (m_nCols == 0)
        SetColumnCount(1);
    if (before < 0)
        before = m_nRows;
    // Everything that may fail comes first; the store changes only after it.
    std::unique_ptr<GridRow> cells;
    try {
        if (!m_bVirtualMode) {
            ReserveOneMore(m_RowData);
            cells = MakeRow(before);
        }
        m_rowHeights.Insert(before, 0);
    } catch (const std::bad_alloc&) {
        // Reporting a row index here would claim a row that was never made.
        ReportOutOfMemory();
        return -1;
    }
    if (!m_bVirtualMode)
        m_RowData.insert(m_RowData.begin() + before, std::move(cells));
    ++m_nRows;
    // A virtual grid's texts come from its owner.
    if (!m_bVirtualMode)
        SetItemText(before, 0, heading);
    CGridCellBase* cell = heading.isEmpty() ? nullptr : GetCell(before, 0);
    const int height = cell ? cell->GetTextHeight(heading) : m_cellFixedRowDef.GetHeight();
    m_rowHeights.Set(before, static_cast<UINT>(std::max(0, height)));
    ResetScrollBars();
    SetModified(TRUE);
    // Rows added out of sight change only the scroll bar, which redraws itself.
    if (m_bAllowDraw && before <= GetVisibleNonFixedCellRange().GetMaxRow() + 1)
        Refresh();
    return before;
}

int CGridCtrl::InsertColumn(const QString& heading, UINT format, int before)
{
    if (before >= 0 && (before < m_nFixedCols || before > m_nCols))
        return -1;
    ForgetTopLeft();
    ResetSelectedRange();
    if (m_nRows == 0)
        SetRowCount(1);
    if (before < 0)
        before = m_nCols;
    // The new cells are made and every row given room before any row takes
    // one, so a failure leaves all rows as long as the column count.
    GridRow made;
    try {
        if (!m_bVirtualMode) {
            made.reserve(static_cast<size_t>(m_nRows));
            for (int row = 0; row < m_nRows; ++row)
                made.emplace_back(CreateCell(row, before));
            for (const std::unique_ptr<GridRow>& cells : m_RowData)
                ReserveOneMore(*cells);
        }
        m_colWidths.Insert(before, 0);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return -1;
    }
    for (size_t row = 0; row < made.size(); ++row) {
        GridRow& cells = *m_RowData[row];
        cells.insert(cells.begin() + before, std::move(made[row]));
    }
    ++m_nCols;
    if (!m_bVirtualMode) {
        SetItemText(0, before, heading);
        for (int row = 0; row < m_nRows; ++row)
            SetItemFormat(row, before, format);
    }
    if (CGridCellBase* cell = GetCell(0, before))
        SetColumnWidth(before, cell->GetTextExtent(heading).cx);
    ResetScrollBars();
    SetModified(TRUE);
    Refresh();
    return before;
}

BOOL CGridCtrl::DeleteRow(int row)
{
    // An open editor would write into a freed cell, or into whichever cell
    // now stands where it was opened.
    EndEditing();
    if (row < 0 || row >= m_nRows)
        return FALSE;
    ResetSelectedRange();
    ForgetTopLeft();
    if (!m_bVirtualMode) {
        for (int col = 0; col < m_nCols; ++col)
            DestroyCell(row, col);
        m_RowData.erase(m_RowData.begin() + row);
    }
    m_rowHeights.Erase(row);
    --m_nRows;
    if (row < m_nFixedRows)
        --m_nFixedRows;
    ResetScrollBars();
    SetModified(TRUE);
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::DeleteColumn(int col)
{
    EndEditing();
    if (col < 0 || col >= m_nCols)
        return FALSE;
    ResetSelectedRange();
    ForgetTopLeft();
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row) {
            DestroyCell(row, col);
            GridRow& cells = *m_RowData[static_cast<size_t>(row)];
            if (col < static_cast<int>(cells.size()))
                cells.erase(cells.begin() + col);
        }
    }
    m_colWidths.Erase(col);
    --m_nCols;
    if (col < m_nFixedCols)
        --m_nFixedCols;
    ResetScrollBars();
    SetModified(TRUE);
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::DeleteNonFixedRows()
{
    EndEditing();
    ResetSelectedRange();
    for (int row = m_nRows - 1; row >= m_nFixedRows; --row)
        DeleteRow(row);
    return TRUE;
}

BOOL CGridCtrl::DeleteAllItems()
{
    EndEditing();
    ResetSelectedRange();
    ForgetTopLeft();
    m_rowHeights.Clear();
    m_colWidths.Clear();
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row)
            for (int col = 0; col < m_nCols; ++col)
                DestroyCell(row, col);
    }
    m_RowData.clear();
    m_visibleCells.clear();
    m_idCurrentCell = CCellID();
    m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
    ResetScrollBars();
    SetModified(TRUE);
    Refresh();
    return TRUE;
}

// ---------------------------------------------------------------- sizes

int CGridCtrl::GetRowHeight(int row) const
{
    return row >= 0 && row < m_rowHeights.Count() ? static_cast<int>(m_rowHeights.Size(row)) : -1;
}

int CGridCtrl::GetColumnWidth(int col) const
{
    return col >= 0 && col < m_colWidths.Count() ? static_cast<int>(m_colWidths.Size(col)) : -1;
}

BOOL CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_rowHeights.Count() || height < 0)
        return FALSE;
    m_rowHeights.Set(row, static_cast<UINT>(height));
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_colWidths.Count() || width < 0)
        return FALSE;
    m_colWidths.Set(col, static_cast<UINT>(width));
    ResetScrollBars();
    return TRUE;
}

int CGridCtrl::GetFixedRowHeight() const
{
    return GridAxis::Pixels(m_rowHeights.Sum(0, m_nFixedRows));
}

int CGridCtrl::GetFixedColumnWidth() const
{
    return GridAxis::Pixels(m_colWidths.Sum(0, GetFixedColumnCount()));
}

// ---------------------------------------------------------------- cells

CGridCellBase* CGridCtrl::GetCell(int row, int col) const
{
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols)
        return nullptr;
    if (m_bVirtualMode)
        return GetVirtualCell(row, col);
    if (static_cast<size_t>(row) >= m_RowData.size())
        return nullptr;
    const GridRow* cells = m_RowData[static_cast<size_t>(row)].get();
    if (!cells || static_cast<size_t>(col) >= cells->size())
        return nullptr;
    return (*cells)[static_cast<size_t>(col)].get();
}

CGridCtrl::CellPtr* CGridCtrl::CellSlot(int row, int col)
{
    if (m_bVirtualMode || !IsValid(row, col) || static_cast<size_t>(row) >= m_RowData.size())
        return nullptr;
    GridRow* cells = m_RowData[static_cast<size_t>(row)].get();
    if (!cells || static_cast<size_t>(col) >= cells->size())
        return nullptr;
    return &(*cells)[static_cast<size_t>(col)];
}

// One record and one cell serve every virtual read in the program: the result
// is valid until the next read on any grid.
CGridCellBase* CGridCtrl::GetVirtualCell(int row, int col) const
{
    static GridDispInfo dispInfo;
    static CGridCell cell;
    auto* self = const_cast<CGridCtrl*>(this);
    const CGridDefaultCell* def = self->GetDefaultCell(row < m_nFixedRows, col < m_nFixedCols);

    dispInfo.hdr = MakeHeader(GRIDN_GETDISPINFO);
    GridItem& item = dispInfo.item;
    item.row = row;
    item.col = col;
    item.mask = GRIDIF_ALL;
    item.nFormat = def->GetFormat();
    item.iImage = def->GetImage();
    item.crBkClr = def->GetBackClr();
    item.crFgClr = def->GetTextClr();
    item.lParam = def->GetData();
    item.lfFont = *def->GetFont();
    item.nMargin = def->GetMargin();
    item.strText.clear();
    item.nState = 0;
    if (m_SelectedCellMap.count(SelectionKey(row, col)))
        item.nState |= GRIDIS_SELECTED;
    if (row < m_nFixedRows)
        item.nState |= GRIDIS_FIXED | GRIDIS_FIXEDROW;
    if (col < m_nFixedCols)
        item.nState |= GRIDIS_FIXED | GRIDIS_FIXEDCOL;
    if (m_idCurrentCell == CCellID(row, col))
        item.nState |= GRIDIS_FOCUSED;

    if (m_pfnCallback)
        m_pfnCallback(&dispInfo, m_lParam);
    else
        SendDisplayRequestToParent(&dispInfo);

    cell.SetState(item.nState);
    cell.SetFormat(item.nFormat);
    cell.SetImage(item.iImage);
    cell.SetBackClr(item.crBkClr);
    cell.SetTextClr(item.crFgClr);
    cell.SetData(item.lParam);
    cell.SetFont(&item.lfFont);
    cell.SetMargin(item.nMargin);
    cell.SetText(item.strText);
    cell.SetGrid(self);
    return &cell;
}

BOOL CGridCtrl::SetCell(int row, int col, std::unique_ptr<CGridCellBase> cell)
{
    CellPtr* slot = CellSlot(row, col);
    if (!slot) {
        qCWarning(lcGrid, "SetCell(%d, %d): no such cell in a grid of %d x %d%s", row, col, m_nRows, m_nCols,
                  m_bVirtualMode ? " (virtual)" : "");
        return FALSE;
    }
    ForgetCell(slot->get());
    if (cell)
        cell->SetCoords(row, col);
    *slot = std::move(cell);
    return TRUE;
}

BOOL CGridCtrl::SetCellType(int row, int col, const CRuntimeClass* cls)
{
    EndEditing();
    if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) {
        qCWarning(lcGrid, "SetCellType(%d, %d): not a cell class", row, col);
        return FALSE;
    }
    if (m_bVirtualMode || !IsValid(row, col)) {
        qCWarning(lcGrid, "SetCellType(%d, %d): no such cell in a grid of %d x %d%s", row, col, m_nRows, m_nCols,
                  m_bVirtualMode ? " (virtual)" : "");
        return FALSE;
    }
    // The class chain was checked above; a cast through the C++ type
    // information would compare type names for every cell made.
    std::unique_ptr<CGridCellBase> cell(static_cast<CGridCellBase*>(cls->CreateObject()));
    if (!cell)
        return FALSE;
    cell->CopyFrom(GetCell(row, col));
    return SetCell(row, col, std::move(cell));
}

BOOL CGridCtrl::SetDefaultCellType(const CRuntimeClass* cls)
{
    if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) {
        qCWarning(lcGrid, "SetDefaultCellType: not a cell class");
        return FALSE;
    }
    m_pRtcDefault = cls;
    return TRUE;
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(BOOL fixedRow, BOOL fixedCol)
{
    if (fixedRow && fixedCol)
        return &m_cellFixedRowColDef;
    if (fixedRow)
        return &m_cellFixedRowDef;
    if (fixedCol)
        return &m_cellFixedColDef;
    return &m_cellDefault;
}

CGridCellBase* CGridCtrl::CreateCell(int row, int col)
{
    return CreateCellOfType(row, col, m_pRtcDefault);
}

CGridCellBase* CGridCtrl::CreateCellOfType(int row, int col, const CRuntimeClass* cls)
{
    if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase)))
        return nullptr;
    // The class chain was checked above; a cast through the C++ type
    // information would compare type names for every cell made.
    auto* cell = static_cast<CGridCellBase*>(cls->CreateObject());
    if (!cell)
        return nullptr;
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    DWORD state = cell->GetState();
    if (col < m_nFixedCols)
        state |= GRIDIS_FIXED | GRIDIS_FIXEDCOL;
    if (row < m_nFixedRows)
        state |= GRIDIS_FIXED | GRIDIS_FIXEDROW;
    cell->SetState(state);
    if (const CGridDefaultCell* def = cell->GetDefaultCell())
        cell->SetFormat(def->GetFormat());
    return cell;
}

void CGridCtrl::DestroyCell(int row, int col)
{
    // Through SetItemState first, so the cell leaves the selection map.
    SetItemState(row, col, 0);
    if (CellPtr* slot = CellSlot(row, col)) {
        ForgetCell(slot->get());
        slot->reset();
    }
}

void CGridCtrl::ForgetCell(CGridCellBase* cell)
{
    if (cell)
        m_visibleCells.erase(cell);
}

BOOL CGridCtrl::IsValid(int row, int col) const
{
    return row >= 0 && row < m_nRows && col >= 0 && col < m_nCols;
}

BOOL CGridCtrl::IsValid(const CellSpan& span) const
{
    return span.IsValid() && span.GetMaxRow() < m_nRows && span.GetMaxCol() < m_nCols;
}

BOOL CGridCtrl::IsCellFixed(int row, int col) const
{
    return row < m_nFixedRows || col < m_nFixedCols;
}

BOOL CGridCtrl::IsCellEditable(const CCellID& cell) const
{
    const CGridCellBase* c = GetCell(cell.row, cell.col);
    return m_bEditable && c && c->IsEditable();
}
