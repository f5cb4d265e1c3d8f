#include "CGridCtrl.h"

#include "CGridDropTarget.h"
#include "NotifyReceiver.h"

#include "cells/CGridCell.h"
#include "platform/MessageBox.h"
#include "res/Resources.h"

#include <QApplication>
#include <QScrollBar>

#include <cstdarg>
#include <memory>
#include <new>

IMPLEMENT_DYNCREATE(CGridCtrl, CObject)

namespace {

// Room for one more entry, made ahead so the insertion itself cannot fail;
// grown by half again, so that rows added one by one stay cheap.
template <typename Vector>
void ReserveOneMore(Vector& entries)
{
    if (entries.size() == entries.capacity())
        entries.reserve(entries.size() + entries.size() / 2 + 1);
}

} // namespace

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols)
    : m_pRtcDefault(RUNTIME_CLASS(CGridCell))
{
    m_crWindowText = GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = GetSysColor(COLOR_WINDOW);
    m_cr3DFace = GetSysColor(COLOR_BTNFACE);
    m_crShadow = GetSysColor(COLOR_BTNSHADOW);
    m_crGridBkColour = m_crShadow;
    m_crHighlight = GetSysColor(COLOR_HIGHLIGHT);
    m_crHighlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_crFixedRowHighlight = m_crWindowColour;
    m_crFixedColHighlight = m_crWindowColour;
    m_nRowsPerWheelNotch = QApplication::wheelScrollLines();

    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        cell->SetGrid(this);
        cell->SetTextClr(m_crWindowText);
        cell->SetBackClr(m_cr3DFace);
    }
    m_cellDefault.SetBackClr(m_crWindowColour);

    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // Hovering drives the resize cursors and the title tip.
    viewport()->setMouseTracking(true);
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollBarAction(true, action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollBarAction(false, action); });
    verticalScrollBar()->installEventFilter(this);
    horizontalScrollBar()->installEventFilter(this);

    SetRowCount(nRows);
    SetColumnCount(nCols);
    SetFixedRowCount(nFixedRows);
    SetFixedColumnCount(nFixedCols);
}

CGridCtrl::~CGridCtrl()
{
    // The drop target filters this window's events: it must go before the
    // window is only a QWidget any more.
    delete m_pDropTarget;
    m_pDropTarget = nullptr;
    // An editor still open ends before its cell goes; no notification goes
    // out of a window that is going.
    m_bCreated = false;
    DeleteAllItems();
    if (m_bTitleTips)
        m_TitleTip.DestroyWindow();
}

BOOL CGridCtrl::Create(const RECT& rect, QWidget* parent, UINT nID, DWORD dwStyle)
{
    setParent(parent);
    setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    setFrameStyle((dwStyle & WS_BORDER) ? (QFrame::StyledPanel | QFrame::Sunken) : QFrame::NoFrame);
    setFocusPolicy((dwStyle & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    m_nID = nID;
    m_bCreated = true;
    try {
        m_rowHeights.Resize(0, 0);
        m_rowHeights.Resize(m_nRows, static_cast<UINT>(m_cellDefault.GetHeight()));
        m_colWidths.Resize(0, 0);
        m_colWidths.Resize(m_nCols, static_cast<UINT>(m_cellDefault.GetWidth()));
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return FALSE;
    }
    if (dwStyle & WS_VISIBLE)
        show();
    ResetScrollBars();
    // Touch input is never registered on this platform, as designed; the
    // registration step therefore reports failure with the window fully made.
    return FALSE;
}

void CGridCtrl::SetOwner(QWidget* owner)
{
    m_bOwnerSet = owner != nullptr;
    m_pOwner = owner;
}

void CGridCtrl::ReportOutOfMemory() const
{
    AfxMessageBox(QStringLiteral("Out of memory."));
}

// ---------------------------------------------------------------- counts

// A failure part way leaves nothing behind: the cells made so far go too.
CGridCtrl::GridRow* CGridCtrl::MakeRow(int row)
{
    auto cells = std::make_unique<GridRow>(static_cast<size_t>(m_nCols), nullptr);
    try {
        for (int col = 0; col < m_nCols; ++col)
            (*cells)[static_cast<size_t>(col)] = CreateCell(row, col);
    } catch (const std::bad_alloc&) {
        FreeRow(cells.release());
        throw;
    }
    return cells.release();
}

// Cells of a row that never entered the store: no selection or visibility to undo.
void CGridCtrl::FreeRow(GridRow* cells)
{
    if (!cells)
        return;
    for (CGridCellBase* cell : *cells)
        delete cell;
    delete cells;
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
            for (int row = nRows; row < m_nRows; ++row) {
                for (int col = 0; col < m_nCols; ++col)
                    DestroyCell(row, col);
                delete m_RowData[static_cast<size_t>(row)];
            }
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
                GridRow* cells = m_RowData[static_cast<size_t>(row)];
                cells->resize(static_cast<size_t>(nCols), nullptr);
                for (int col = oldCols; col < nCols; ++col)
                    (*cells)[static_cast<size_t>(col)] = CreateCell(row, col);
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
    GridRow* cells = nullptr;
    try {
        if (!m_bVirtualMode) {
            ReserveOneMore(m_RowData);
            cells = MakeRow(before);
        }
        m_rowHeights.Insert(before, 0);
    } catch (const std::bad_alloc&) {
        FreeRow(cells);
        // Reporting a row index here would claim a row that was never made.
        ReportOutOfMemory();
        return -1;
    }
    if (!m_bVirtualMode)
        m_RowData.insert(m_RowData.begin() + before, cells);
    ++m_nRows;
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
                made.push_back(CreateCell(row, before));
            for (GridRow* cells : m_RowData)
                ReserveOneMore(*cells);
        }
        m_colWidths.Insert(before, 0);
    } catch (const std::bad_alloc&) {
        for (CGridCellBase* cell : made)
            delete cell;
        ReportOutOfMemory();
        return -1;
    }
    for (size_t row = 0; row < made.size(); ++row) {
        GridRow* cells = m_RowData[row];
        cells->insert(cells->begin() + before, made[row]);
    }
    ++m_nCols;
    SetItemText(0, before, heading);
    for (int row = 0; row < m_nRows; ++row)
        SetItemFormat(row, before, format);
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
        delete m_RowData[static_cast<size_t>(row)];
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
            GridRow* cells = m_RowData[static_cast<size_t>(row)];
            if (col < static_cast<int>(cells->size()))
                cells->erase(cells->begin() + col);
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
        for (int row = 0; row < m_nRows; ++row) {
            for (int col = 0; col < m_nCols; ++col)
                DestroyCell(row, col);
            delete m_RowData[static_cast<size_t>(row)];
        }
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
    const GridRow* cells = m_RowData[static_cast<size_t>(row)];
    if (!cells || static_cast<size_t>(col) >= cells->size())
        return nullptr;
    return (*cells)[static_cast<size_t>(col)];
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
    item.mask = 0x1FF;
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

BOOL CGridCtrl::SetCell(int row, int col, CGridCellBase* cell)
{
    if (m_bVirtualMode || !IsValid(row, col))
        return FALSE;
    GridRow* cells = m_RowData[static_cast<size_t>(row)];
    if (!cells || static_cast<size_t>(col) >= cells->size())
        return FALSE;
    ForgetCell((*cells)[static_cast<size_t>(col)]);
    if (cell)
        cell->SetCoords(row, col);
    (*cells)[static_cast<size_t>(col)] = cell;
    return TRUE;
}

BOOL CGridCtrl::SetCellType(int row, int col, const CRuntimeClass* cls)
{
    EndEditing();
    if (m_bVirtualMode || !IsValid(row, col) || !cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase)))
        return FALSE;
    // The class chain was checked above; a cast through the C++ type
    // information would compare type names for every cell made.
    auto* cell = static_cast<CGridCellBase*>(cls->CreateObject());
    if (!cell)
        return FALSE;
    CGridCellBase* old = GetCell(row, col);
    cell->CopyFrom(old);
    SetCell(row, col, cell);
    delete old;
    return TRUE;
}

BOOL CGridCtrl::SetDefaultCellType(const CRuntimeClass* cls)
{
    if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase)))
        return FALSE;
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
    CGridCellBase* cell = GetCell(row, col);
    ForgetCell(cell);
    delete cell;
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

// ---------------------------------------------------------------- properties

BOOL CGridCtrl::SetItemText(int row, int col, const QString& text)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return FALSE;
    cell->SetText(text);
    SetModified(TRUE, row, col);
    return TRUE;
}

BOOL CGridCtrl::SetItemTextFmt(int row, int col, const char* format, ...)
{
    if (!format)
        return FALSE;
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
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return FALSE;
    cell->SetImage(image);
    SetModified(TRUE, row, col);
    return TRUE;
}

int CGridCtrl::GetItemImage(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetImage() : -1;
}

BOOL CGridCtrl::SetItemData(int row, int col, LPARAM data)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return FALSE;
    cell->SetData(data);
    SetModified(TRUE, row, col);
    return TRUE;
}

LPARAM CGridCtrl::GetItemData(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetData() : 0;
}

BOOL CGridCtrl::SetItemTextLimit(int row, int col, int limit)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return FALSE;
    cell->SetTextLimit(limit);
    SetModified(TRUE, row, col);
    return TRUE;
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
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return FALSE;
    cell->SetFormat(format);
    return TRUE;
}

UINT CGridCtrl::GetItemFormat(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetFormat() : 0;
}

BOOL CGridCtrl::SetItemBkColour(int row, int col, COLORREF color)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return FALSE;
    cell->SetBackClr(color);
    return TRUE;
}

COLORREF CGridCtrl::GetItemBkColour(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetBackClr() : 0;
}

BOOL CGridCtrl::SetItemFgColour(int row, int col, COLORREF color)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return FALSE;
    cell->SetTextClr(color);
    return TRUE;
}

COLORREF CGridCtrl::GetItemFgColour(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetTextClr() : 0;
}

BOOL CGridCtrl::SetItemFont(int row, int col, const LOGFONTW* font)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return FALSE;
    cell->SetFont(font);
    return TRUE;
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
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return FALSE;
    cell->SetMargin(margin);
    return TRUE;
}

UINT CGridCtrl::GetItemMargin(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetMargin() : 0;
}

BOOL CGridCtrl::SetItem(const GridItem* item)
{
    CGridCellBase* cell = (!item || m_bVirtualMode) ? nullptr : GetCell(item->row, item->col);
    if (!cell)
        return FALSE;
    SetModified(TRUE, item->row, item->col);
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
    return TRUE;
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

void CGridCtrl::ClearSortColumn()
{
    const int old = m_nSortColumn;
    m_nSortColumn = -1;
    if (old >= 0)
        InvalidateCellRect(CCellID(0, old));
}

void CGridCtrl::SetSortColumn(int col)
{
    if (m_nSortColumn >= 0)
        InvalidateCellRect(CCellID(0, m_nSortColumn));
    m_nSortColumn = col;
    if (col >= 0)
        InvalidateCellRect(CCellID(0, col));
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

// ---------------------------------------------------------------- virtual mode

void CGridCtrl::SetVirtualMode(BOOL virtualMode)
{
    DeleteAllItems();
    m_bVirtualMode = virtualMode;
    if (virtualMode) {
        m_bEditable = FALSE;
        m_bSortOnClick = FALSE;
        m_bFixedColumnSelection = FALSE;
        m_bFixedRowSelection = FALSE;
        m_nAutoSizeColumnStyle = GVS_HEADER;
    }
}

void CGridCtrl::SetCallbackFunc(GRIDCALLBACK callback, LPARAM lParam)
{
    m_pfnCallback = callback;
    m_lParam = lParam;
}

// ---------------------------------------------------------------- notifications

CNotifyReceiver* CGridCtrl::NotifyReceiver() const
{
    QWidget* receiver = m_bOwnerSet ? m_pOwner.data() : parentWidget();
    return dynamic_cast<CNotifyReceiver*>(receiver);
}

NMHDR CGridCtrl::MakeHeader(int code) const
{
    return NMHDR{const_cast<CGridCtrl*>(this), m_nID, code};
}

LRESULT CGridCtrl::SendNotify(NMHDR* header) const
{
    if (!m_bCreated)
        return 0;
    LRESULT result = 0;
    // The grid's own handling of a notification comes first, as a reflection would.
    if (const_cast<CGridCtrl*>(this)->OnReflectedNotify(header, &result))
        return result;
    CNotifyReceiver* receiver = NotifyReceiver();
    return receiver ? receiver->OnNotify(m_nID, header) : 0;
}

BOOL CGridCtrl::OnReflectedNotify(NMHDR*, LRESULT*)
{
    return FALSE;
}

LRESULT CGridCtrl::SendMessageToParent(int row, int col, int code) const
{
    GridNotify notify{MakeHeader(code), row, col};
    return SendNotify(&notify.hdr);
}

LRESULT CGridCtrl::SendDisplayRequestToParent(GridDispInfo* dispInfo) const
{
    if (!dispInfo)
        return 0;
    dispInfo->hdr = MakeHeader(GRIDN_GETDISPINFO);
    return SendNotify(&dispInfo->hdr);
}

LRESULT CGridCtrl::SendCacheHintToParent(const CellSpan& span) const
{
    GridSpanNotify notify{MakeHeader(GRIDN_CACHEHINT), span};
    return SendNotify(&notify.hdr);
}
