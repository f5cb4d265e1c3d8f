// The watch grid's context menu, its commands and their enabling rules, and
// the grid's own handling of pasted text.

#include "CGridQuillon.h"
#include "WatchLog.h"
#include "WatchProgress.h"
#include "WatchSortKey.h"

#include "cells/CGridCellBase.h"
#include "cells/CGridCellCheck.h"
#include "cells/CGridCellVantel.h"
#include "platform/CCmdUI.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "res/Resources.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <optional>

namespace {

// A field of Insert Copied Cells is cut to what a Value cell holds.
constexpr qsizetype kMaxInsertedField = 1024;
// Rows asked of the runtime in one request: few enough that Cancel answers
// quickly, many enough that the round trips do not count.
constexpr qsizetype kRowsPerRequest = 1000;
// The keyboard's menu opens just inside the grid's corner.
constexpr int kKeyboardMenuOffset = 5;

// Rows to commit next out of a block: those answered, the first alone when
// the runtime wants it asked on its own, or the whole block when no batch
// could be asked (each commit then asks the runtime itself).
qsizetype RowsToCommit(int answered, qsizetype block)
{
    if (answered > 0)
        return std::min<qsizetype>(answered, block);
    return answered == 0 ? std::min<qsizetype>(1, block) : block;
}

bool ClipboardOffersText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

// Lines at LF, one CR dropped from each; nothing after a final LF.
QStringList CopiedLines(const QString& text)
{
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace

// ---------------------------------------------------------------- menu

void CGridQuillon::OnRButtonUp(UINT nFlags, CPoint point)
{
    setFocus(Qt::MouseFocusReason);
    CGridCtrlVantel::OnRButtonUp(nFlags, point);
}

void CGridQuillon::OnContextMenu(QWidget*, CPoint screenPoint)
{
    EndEditing();
    if (IsReEditPending()) {
        // The refused edit keeps the user where it was; no menu over it.
        const CCellID focus = GetFocusCell();
        if (IsValid(focus))
            SetFocusCell(focus);
        Refresh();
        return;
    }
    const bool fromKeyboard = screenPoint.x == -1 && screenPoint.y == -1;
    const QPoint client = viewport()->mapFromGlobal(QPoint(screenPoint.x, screenPoint.y));
    // A keyboard request has no point; it is about the focus cell, which the
    // commands act on.
    const CCellID cell = fromKeyboard ? GetFocusCell() : GetCellFromPt(CPoint(client.x(), client.y()));
    SetRightClickCell(cell);
    if (!IsValid(cell))
        return;
    if (!GetSelectedCellRange().InRange(cell))
        SelectSingleCell(cell);
    QPoint menuPoint(screenPoint.x, screenPoint.y);
    if (fromKeyboard)
        menuPoint = viewport()->mapToGlobal(QPoint(kKeyboardMenuOffset, kKeyboardMenuOffset));
    if (cell.row < 1)
        return;
    TrackPopupMenu(LoadMenuResource(IDR_GRID_MENU), menuPoint);
}

// A fresh selection of one cell: no cells of an earlier Ctrl selection come back.
void CGridQuillon::SelectSingleCell(const CCellID& cell)
{
    ResetSelectedRange();
    m_SelectionStartCell = cell;
    SelectCells(cell, FALSE, TRUE);
    SetFocusCell(cell);
    EnsureVisible(cell);
}

// ---------------------------------------------------------------- command map

BOOL CGridQuillon::OnCommand(UINT id)
{
    switch (id) {
    case ID_SORT_ASCENDING: OnSortAscending(); return TRUE;
    case ID_SORT_DESCENDING: OnSortDescending(); return TRUE;
    case ID_CONTINUOUS: OnContinuous(); return TRUE;
    case ID_TOGGLE: OnToggle(); return TRUE;
    case ID_INSERT_TAG: OnInsertTag(); return TRUE;
    case ID_INSERT_COPIED_CELLS: OnInsertCopiedCells(); return TRUE;
    case ID_INSERT_LINE: OnInsertLine(); return TRUE;
    case ID_DELETE_LINE: OnDeleteLine(); return TRUE;
    default: return CGridCtrlVantel::OnCommand(id);
    }
}

BOOL CGridQuillon::HasCommandHandler(UINT id) const
{
    return (id >= ID_SORT_ASCENDING && id <= ID_DELETE_LINE) || CGridCtrlVantel::HasCommandHandler(id);
}

BOOL CGridQuillon::OnUpdateCommand(UINT id, CCmdUI* cmdUI)
{
    switch (id) {
    case ID_CONTINUOUS: OnUpdateContinuous(cmdUI); return TRUE;
    case ID_TOGGLE: OnUpdateToggle(cmdUI); return TRUE;
    case ID_INSERT_COPIED_CELLS: OnUpdateInsertCopiedCells(cmdUI); return TRUE;
    case ID_INSERT_LINE: OnUpdateInsertLine(cmdUI); return TRUE;
    case ID_DELETE_LINE: OnUpdateDeleteLine(cmdUI); return TRUE;
    default: return CGridCtrlVantel::OnUpdateCommand(id, cmdUI);
    }
}

// ---------------------------------------------------------------- sorting

void CGridQuillon::OnSortAscending()
{
    SortWatchRows(TRUE);
}

void CGridQuillon::OnSortDescending()
{
    SortWatchRows(FALSE);
}

// The focus stays where it was, not with the row that moved; the automatic
// empty row stays last.
void CGridQuillon::SortWatchRows(BOOL ascending)
{
    // Ended before the keys are taken: the commit may change the rows.
    EndEditing();
    const CCellID focus = GetFocusCell();
    int last = GetRowCount() - 1;
    if (last >= 1 && GetItemText(last, ColTag).isEmpty())
        --last;
    SetSortColumn(focus.col);
    SetSortAscending(ascending);
    ResetSelectedRange();
    const int first = GetFixedRowCount();
    if (focus.col >= 0 && focus.col < GetColumnCount() && first < last) {
        std::vector<WatchSortKey> keys;
        keys.reserve(static_cast<std::size_t>(last - first + 1));
        for (int row = first; row <= last; ++row)
            keys.emplace_back(GetCell(row, focus.col));
        std::vector<LPARAM> order;
        order.reserve(keys.size());
        for (const WatchSortKey& key : keys)
            order.push_back(reinterpret_cast<LPARAM>(&key));
        SortRowsByKeys(WatchSortKey::Compare, ascending, 0, first, last, order);
    }
    if (IsValid(focus)) {
        m_SelectionStartCell = focus;
        SelectCells(focus, FALSE, TRUE);
        SetFocusCell(focus);
        EnsureVisible(focus);
    }
    Refresh();
}

int CGridQuillon::CompareWatchCells(LPARAM cell1, LPARAM cell2, LPARAM)
{
    const auto* first = reinterpret_cast<const CGridCellBase*>(cell1);
    const auto* second = reinterpret_cast<const CGridCellBase*>(cell2);
    if (!first || !second)
        return 0;
    const auto* check1 = dynamic_cast<const CGridCellCheck*>(first);
    const auto* check2 = dynamic_cast<const CGridCellCheck*>(second);
    if (check1 && check2)
        return static_cast<int>(check1->GetCheck() != FALSE) - static_cast<int>(check2->GetCheck() != FALSE);
    return QString::compare(first->GetText(), second->GetText(), Qt::CaseInsensitive);
}

// ---------------------------------------------------------------- Continuous, lines

void CGridQuillon::OnContinuous()
{
    const int row = GetFocusCell().row;
    if (row >= 1)
        SetContinuous(row, !IsContinuous(row));
}

// Toggle and Continuous act on the focus row's tag alone.
void CGridQuillon::OnUpdateContinuous(CCmdUI* cmdUI)
{
    OnUpdateToggle(cmdUI);
}

void CGridQuillon::OnInsertLine()
{
    const int row = GetFocusCell().row;
    if (row < 1)
        return;
    InsertWatchRow(row);
    SetFocusCell(row, ColTag);
    Refresh();
}

void CGridQuillon::OnUpdateInsertLine(CCmdUI* cmdUI)
{
    const CCellID focus = GetFocusCell();
    cmdUI->Enable(GetSelectedCount() <= 1 && focus.row >= 1 && focus.col >= 0);
}

// Whole rows go, whatever columns were selected; an empty last row always remains.
void CGridQuillon::OnDeleteLine()
{
    const CellSpan span = GetSelectedCellRange();
    int first = span.GetMinRow();
    const int last = std::min(span.GetMaxRow(), GetRowCount() - 1);
    if (first <= 0 || last <= 0)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    for (int count = last - first + 1; count > 0; --count)
        DeleteRow(first);
    KeepEmptyLastRow();
    first = std::min(first, GetRowCount() - 1);
    if (first > 0)
        SelectSingleCell(CCellID(first, ColTag));
    Refresh();
    QGuiApplication::restoreOverrideCursor();
}

// Deleting the automatic empty row alone would only bring it back.
void CGridQuillon::OnUpdateDeleteLine(CCmdUI* cmdUI)
{
    const CellSpan span = GetSelectedCellRange();
    bool enable =
        GetSelectedCount() > 0 && !(span.GetMinRow() == span.GetMaxRow() && GetFocusCell().row == GetRowCount() - 1);
    for (int row = span.GetMinRow(); enable && row <= span.GetMaxRow(); ++row) {
        bool rowSelected = false;
        for (int col = span.GetMinCol(); !rowSelected && col <= span.GetMaxCol(); ++col)
            rowSelected = IsCellSelected(row, col);
        enable = rowSelected;
    }
    cmdUI->Enable(enable);
}

// ---------------------------------------------------------------- Insert Copied Cells

// Each clipboard line becomes a new row above the focus row, its fields set
// as if typed, so rows are evaluated and values written as on entry. The
// runtime is asked for a block of rows at once before they are committed;
// Cancel stops between rows.
void CGridQuillon::OnInsertCopiedCells()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) {
        AfxMessageBox(LoadResString(IDS_CLIPBOARD_ERROR));
        return;
    }
    const QStringList lines = CopiedLines(BoundedPasteText(data));
    const CCellID focus = GetFocusCell();
    if (lines.isEmpty() || focus.row < 1)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    WatchProgress progress(this, LoadResString(IDS_PROGRESS_INSERT), static_cast<int>(lines.size()));
    const bool tagEditable = IsCellEditable(CCellID(focus.row, ColTag)) != FALSE;
    const bool valueEditable = IsCellEditable(CCellID(focus.row, ColValue)) != FALSE;
    int row = focus.row;
    bool inserting = true;
    bool batching = true;
    for (qsizetype next = 0; inserting && next < lines.size();) {
        const qsizetype end = std::min(next + kRowsPerRequest, lines.size());
        std::vector<QStringList> fields;
        std::vector<PreparedRows::Question> questions;
        for (qsizetype i = next; i < end; ++i) {
            fields.push_back(InsertedFields(lines.at(i)));
            const QStringList& typed = fields.back();
            if (batching)
                questions.push_back(PlanRow(row + static_cast<int>(i - next), QString(), QString(),
                                            tagEditable && typed.size() > ColTag ? &typed.at(ColTag) : nullptr,
                                            valueEditable && typed.size() > ColValue ? &typed.at(ColValue) : nullptr));
        }
        PreparedRows prepared;
        const int answered = batching ? Prepare(prepared, questions) : -1;
        batching = answered >= 0;
        const qsizetype take = RowsToCommit(answered, end - next);
        m_prepared = &prepared;
        for (qsizetype i = 0; i < take; ++i, ++next) {
            if (InsertWatchRow(row) < 0) {
                inserting = false;
                break;
            }
            SetFocusCell(row, ColTag);
            const QStringList& typed = fields[static_cast<std::size_t>(i)];
            for (int col = 0; col < typed.size(); ++col)
                SetItemTextAsTyped(row, col, typed.at(col));
            ++row;
        }
        m_prepared = nullptr;
        inserting = inserting && progress.Step(static_cast<int>(next));
    }
    const int firstFields = static_cast<int>(lines.first().count(u'\t')) + 1;
    SetFocusCell(focus);
    if (row > focus.row)
        SetSelectedRange(focus.row, focus.col, row - 1, std::min(firstFields, GetColumnCount() - 1));
    Refresh();
    QGuiApplication::restoreOverrideCursor();
}

QStringList CGridQuillon::InsertedFields(const QString& line) const
{
    QStringList fields = line.split(u'\t');
    fields.resize(std::min(static_cast<int>(fields.size()), GetColumnCount()));
    for (QString& field : fields)
        field.truncate(kMaxInsertedField);
    return fields;
}

void CGridQuillon::OnUpdateInsertCopiedCells(CCmdUI* cmdUI)
{
    const CCellID focus = GetFocusCell();
    bool editing = false;
    if (focus.row >= 1 && focus.col >= 1) {
        const CGridCellBase* cell = GetCell(focus.row, focus.col);
        editing = cell && cell->IsEditing();
    }
    cmdUI->Enable(ClipboardOffersText() && focus.row >= 1 && focus.col >= 0 && GetSelectedCount() <= 1 && !editing);
}

// ---------------------------------------------------------------- paste

// Every pasted field is trimmed and set as typed, so the grid's validation
// sees it; hidden rows and columns are passed over. The runtime is asked for
// a block of lines at once; Cancel stops between lines.
BOOL CGridQuillon::PasteTextAt(const CCellID& start, const QMimeData* data, BOOL selectPasted)
{
    BeginPaste();
    if (!IsValid(start)) {
        qCWarning(lcWatch, "PasteTextAt: cell (%d, %d) is outside the grid", start.row, start.col);
        return FALSE;
    }
    // A clipboard that nobody holds has no data: nothing to paste, no misuse.
    if (!IsCellEditable(start) || !data || !data->hasText())
        return FALSE;
    const QString text = BoundedPasteText(data);
    // Every LF ends a line; text after the last one is a line too.
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    WatchProgress progress(this, LoadResString(IDS_PROGRESS_PASTE), static_cast<int>(lines.size()));
    bool accepted = true;
    bool pasting = true;
    bool batching = true;
    int row = start.row - 1;
    for (qsizetype next = 0; pasting && accepted && next < lines.size();) {
        PreparedRows prepared;
        const int answered = batching ? Prepare(prepared, PlanPaste(lines, next, row, start.col)) : -1;
        batching = answered >= 0;
        const qsizetype end = next + RowsToCommit(answered, std::min(kRowsPerRequest, lines.size() - next));
        m_prepared = &prepared;
        for (; accepted && next < end; ++next) {
            row = NextShownRow(row);
            if (row >= GetRowCount()) {
                pasting = false;
                break;
            }
            accepted = PasteWatchLine(lines.at(next), row, start.col);
        }
        m_prepared = nullptr;
        pasting = pasting && progress.Step(static_cast<int>(next));
    }
    if (selectPasted) {
        const CCellID farCorner = PastedFarCorner();
        if (IsValid(farCorner))
            SetSelectedRange(start.row, start.col, farCorner.row, farCorner.col, TRUE);
    } else {
        ResetSelectedRange();
    }
    Refresh();
    return accepted ? TRUE : FALSE;
}

// Lines stop where the paste might stop before them: past the last row, or
// at a cell whose own check could refuse its text.
std::vector<PreparedRows::Question> CGridQuillon::PlanPaste(const QList<QStringView>& lines, qsizetype next, int row,
                                                            int firstCol)
{
    std::vector<PreparedRows::Question> questions;
    const qsizetype end = std::min(next + kRowsPerRequest, lines.size());
    for (qsizetype i = next; i < end; ++i) {
        row = NextShownRow(row);
        if (row >= GetRowCount())
            break;
        std::optional<QString> tagField;
        std::optional<QString> valueField;
        bool checked = false;
        ForEachPastedField(lines.at(i), firstCol, [&](int col, const QString& field) {
            checked = checked || dynamic_cast<const CGridCellVantel*>(GetCell(row, col)) != nullptr;
            if (!IsCellEditable(CCellID(row, col)))
                return;
            if (col == ColTag)
                tagField = field;
            else if (col == ColValue)
                valueField = field;
        });
        if (checked)
            break;
        questions.push_back(PlanRow(row, GetItemText(row, ColTag), GetItemText(row, ColValue),
                                    tagField ? &*tagField : nullptr, valueField ? &*valueField : nullptr));
    }
    return questions;
}

// FALSE when a cell's check refused its text: the paste stops there.
BOOL CGridQuillon::PasteWatchLine(QStringView line, int row, int firstCol)
{
    BOOL accepted = TRUE;
    ForEachPastedField(line, firstCol, [&](int col, const QString& field) {
        if (!accepted)
            return;
        SetItemTextAsTyped(row, col, field);
        accepted = CheckCellText(row, col, field);
        if (accepted)
            RecordPasted(row, col);
    });
    return accepted;
}

// The trimmed fields of a pasted line with the shown columns they go to, from
// firstCol on; empty fields at the end of a line change nothing.
void CGridQuillon::ForEachPastedField(QStringView line, int firstCol,
                                      const std::function<void(int, const QString&)>& visit) const
{
    int col = firstCol - 1;
    for (qsizetype fieldStart = 0; fieldStart < line.size();) {
        qsizetype fieldEnd = line.indexOf(u'\t', fieldStart);
        if (fieldEnd < 0)
            fieldEnd = line.size();
        col = NextShownColumn(col);
        if (col >= GetColumnCount())
            return;
        visit(col, line.mid(fieldStart, fieldEnd - fieldStart).trimmed().toString());
        fieldStart = fieldEnd + 1;
    }
}
