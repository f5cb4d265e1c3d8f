// Clipboard: cell text as tab-separated fields and CR LF lines, shared with
// other programs through the system clipboard.

#include "CGridCtrl.h"

#include "cells/CGridCellBase.h"
#include "platform/CCmdUI.h"
#include "res/Resource.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QThread>

#include <algorithm>
#include <future>
#include <memory>
#include <new>

namespace {

// Clipboard text comes from any program; more than this is not looked at.
constexpr qsizetype kMaxPastedText = 8 * 1024 * 1024;

bool EditorHasSelection(const QWidget* editor)
{
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(editor))
        return plain->textCursor().hasSelection();
    if (const auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->hasSelectedText();
    return false;
}

// Runs the editor's own copy, cut or paste; false when it is no edit control.
template <typename PlainAction, typename LineAction>
bool RunOnEditor(QWidget* editor, PlainAction onPlain, LineAction onLine)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) {
        onPlain(plain);
        return true;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        onLine(line);
        return true;
    }
    return false;
}

bool ClipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

} // namespace

// The editor of the focus cell counts only outside the first row and column.
QWidget* CGridCtrl::OpenEditorOf(const CCellID& cell) const
{
    if (cell.row <= 0 || cell.col <= 0)
        return nullptr;
    const CGridCellBase* target = GetCell(cell.row, cell.col);
    return target && target->IsEditing() ? target->GetEditWnd() : nullptr;
}

// ---------------------------------------------------------------- copy text

// Each selected cell's text, a tab after every field but those of the span's
// last column, CR LF after every line but its last row. Hidden lines give no
// field, yet a separator still depends on the span's last line, not the last
// visible one.
template <typename Put>
void CGridCtrl::WalkSelectionText(const CellSpan& span, int firstRow, int lastRow, Put&& put) const
{
    std::vector<int> columns;
    for (int col = span.GetMinCol(); col <= span.GetMaxCol(); ++col) {
        if (GetColumnWidth(col) > 0)
            columns.push_back(col);
    }
    for (int row = firstRow; row <= lastRow; ++row) {
        PrefetchRows(row, span);
        if (GetRowHeight(row) <= 0)
            continue;
        for (const int col : columns) {
            const CGridCellBase* cell = GetCell(row, col);
            // A virtual cell is one shared record: only the grid knows its selection.
            if (cell && (m_bVirtualMode ? IsCellSelected(row, col) : m_bEnableSelection && cell->IsSelected()))
                put(cell->GetCopyText());
            if (col != span.GetMaxCol())
                put(u"\t");
        }
        if (row != span.GetMaxRow())
            put(u"\r\n");
    }
}

// Every row's cells lie in blocks of their own, so a long walk waits on memory
// far more than it works. Asking for the blocks of the rows ahead, one level
// of pointers further each time, lets the waits overlap.
void CGridCtrl::PrefetchRows(int row, const CellSpan& span) const
{
    if (m_bVirtualMode)
        return;
    constexpr int kRowsAhead = 4;
    const auto stored = [&](int ahead) -> const GridRow* {
        const auto index = static_cast<std::size_t>(row + ahead);
        return row + ahead <= span.GetMaxRow() && index < m_RowData.size() ? m_RowData[index].get() : nullptr;
    };
    if (const GridRow* far = stored(3 * kRowsAhead))
        __builtin_prefetch(far);
    if (const GridRow* middle = stored(2 * kRowsAhead))
        __builtin_prefetch(middle->data());
    if (const GridRow* near = stored(kRowsAhead)) {
        const auto last = std::min<std::size_t>(near->size(), static_cast<std::size_t>(span.GetMaxCol()) + 1);
        for (std::size_t col = static_cast<std::size_t>(span.GetMinCol()); col < last; ++col)
            __builtin_prefetch((*near)[col].get());
    }
}

QString CGridCtrl::SelectionText(const CellSpan& span) const
{
    QString text;
    WalkSelectionText(span, span.GetMinRow(), span.GetMaxRow(), [&text](QStringView part) { text += part; });
    return text;
}

// UTF-8 is what the clipboard hands to other programs, and half the bytes of
// UTF-16 to write. Nothing when a cell holds UTF-16 without a UTF-8 form (a
// lone surrogate), which only the UTF-16 text keeps as it is.
std::optional<QByteArray> CGridCtrl::RowsTextUtf8(const CellSpan& span, int firstRow, int lastRow) const
{
    QStringEncoder encoder(QStringEncoder::Utf8);
    QByteArray text;
    qsizetype used = 0;
    // The encoder flags a lone high surrogate but replaces a lone low one silently.
    bool valid = true;
    WalkSelectionText(span, firstRow, lastRow, [&](QStringView part) {
        valid = valid && part.isValidUtf16();
        const qsizetype room = encoder.requiredSpace(part.size());
        if (text.size() - used < room)
            text.resize(std::max(used + room, 2 * text.size()));
        used = encoder.appendToBuffer(text.data() + used, part) - text.constData();
    });
    if (!valid || encoder.hasError())
        return std::nullopt;
    text.truncate(used);
    return text;
}

// A long walk waits on memory far more than it works, so the lower half of
// the rows is walked by a second thread while this one walks the upper half:
// the two walks overlap their waits. They only read, while this thread waits
// for the other. A virtual grid's cells are one record its parent fills, so it
// walks alone.
std::optional<QByteArray> CGridCtrl::SelectionTextUtf8(const CellSpan& span) const
{
    constexpr int kRowsForTwoWalks = 4096;
    const int first = span.GetMinRow();
    const int last = span.GetMaxRow();
    if (m_bVirtualMode || last - first + 1 < kRowsForTwoWalks || QThread::idealThreadCount() < 2)
        return RowsTextUtf8(span, first, last);
    const int middle = first + (last - first + 1) / 2;
    auto lower = std::async(std::launch::async, [&] { return RowsTextUtf8(span, middle, last); });
    std::optional<QByteArray> text = RowsTextUtf8(span, first, middle - 1);
    const std::optional<QByteArray> rest = lower.get();
    if (!text || !rest)
        return std::nullopt;
    text->append(*rest);
    return text;
}

QMimeData* CGridCtrl::CreateTextDataSource()
{
    const CellSpan span = GetSelectedCellRange();
    if (!IsValid(span))
        return nullptr;
    if (m_bVirtualMode)
        SendCacheHintToParent(span);
    std::unique_ptr<QMimeData> data;
    try {
        data = std::make_unique<QMimeData>();
        if (const std::optional<QByteArray> utf8 = SelectionTextUtf8(span))
            data->setData(QStringLiteral("text/plain"), *utf8);
        else
            data->setText(SelectionText(span));
    } catch (const std::bad_alloc&) {
        data.reset();
    }
    if (m_bVirtualMode)
        SendCacheHintToParent(CellSpan());
    // The caller owns the data from here on.
    return data.release();
}

// ---------------------------------------------------------------- edit path

void CGridCtrl::SetItemTextAsEdited(int row, int col, const QString& text)
{
    if (!IsCellEditable(CCellID(row, col)) || SendMessageToParent(row, col, GRIDN_BEGINEDIT) < 0)
        return;
    const QString old = GetItemText(row, col);
    if (text == old)
        return;
    SetItemText(row, col, text);
    if (ValidateEdit(row, col, text) && SendMessageToParent(row, col, GRIDN_ENDEDIT) >= 0) {
        SetModified(TRUE, row, col);
        RedrawCell(row, col);
    } else {
        SetItemText(row, col, old);
    }
}

void CGridCtrl::CutSelectedText()
{
    if (!m_bEditable)
        return;
    // A derived grid's validation may change the selection while we clear.
    std::vector<CCellID> cells;
    cells.reserve(m_SelectedCellMap.size());
    for (const auto& [key, cell] : m_SelectedCellMap)
        cells.push_back(cell);
    for (const CCellID& cell : cells)
        SetItemTextAsEdited(cell.row, cell.col, QString());
}

// ---------------------------------------------------------------- commands

void CGridCtrl::OnEditCopy()
{
    if (QWidget* editor = OpenEditorOf(m_idCurrentCell)) {
        RunOnEditor(
            editor, [](QPlainTextEdit* e) { e->copy(); }, [](QLineEdit* e) { e->copy(); });
        return;
    }
    // The clipboard owns the data from here on, and keeps it past the grid.
    if (QMimeData* data = CreateTextDataSource())
        QGuiApplication::clipboard()->setMimeData(data);
}

void CGridCtrl::OnEditCut()
{
    if (!m_bEditable)
        return;
    if (QWidget* editor = OpenEditorOf(m_idCurrentCell)) {
        RunOnEditor(
            editor, [](QPlainTextEdit* e) { e->cut(); }, [](QLineEdit* e) { e->cut(); });
        return;
    }
    OnEditCopy();
    CutSelectedText();
}

void CGridCtrl::OnEditPaste()
{
    CCellID start = GetSelectedCellRange().GetTopLeft();
    if (!IsValid(start))
        start = m_idCurrentCell;
    if (!IsValid(start))
        start = GetTopleftNonFixedCell();
    if (!IsValid(start))
        return;
    const CGridCellBase* cell = GetCell(start.row, start.col);
    if (cell && cell->IsEditing() &&
        RunOnEditor(
            cell->GetEditWnd(), [](QPlainTextEdit* e) { e->paste(); }, [](QLineEdit* e) { e->paste(); }))
        return;
    PasteTextAt(start, QGuiApplication::clipboard()->mimeData(), TRUE);
}

void CGridCtrl::OnUpdateEditCopy(CCmdUI* cmdUI)
{
    const QWidget* editor = OpenEditorOf(m_idCurrentCell);
    cmdUI->Enable(editor ? EditorHasSelection(editor) : GetSelectedCount() > 0);
}

void CGridCtrl::OnUpdateEditCut(CCmdUI* cmdUI)
{
    const QWidget* editor = OpenEditorOf(m_idCurrentCell);
    cmdUI->Enable(editor ? EditorHasSelection(editor) : (m_bEditable && GetSelectedCount() > 0));
}

void CGridCtrl::OnUpdateEditPaste(CCmdUI* cmdUI)
{
    const bool text = ClipboardHasText();
    if (OpenEditorOf(m_idCurrentCell))
        cmdUI->Enable(text);
    else
        cmdUI->Enable(IsValid(m_idCurrentCell) && IsCellEditable(m_idCurrentCell) && text);
}

void CGridCtrl::OnUpdateEditSelectAll(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_bEnableSelection);
}

// The edit commands as a menu or a shortcut sends them.
BOOL CGridCtrl::OnCommand(UINT id)
{
    switch (id) {
    case ID_EDIT_COPY: OnEditCopy(); return TRUE;
    case ID_EDIT_CUT: OnEditCut(); return TRUE;
    case ID_EDIT_PASTE: OnEditPaste(); return TRUE;
    case ID_EDIT_SELECT_ALL: OnEditSelectAll(); return TRUE;
    default: return FALSE;
    }
}

BOOL CGridCtrl::HasCommandHandler(UINT id) const
{
    return id == ID_EDIT_COPY || id == ID_EDIT_CUT || id == ID_EDIT_PASTE || id == ID_EDIT_SELECT_ALL;
}

BOOL CGridCtrl::OnUpdateCommand(UINT id, CCmdUI* cmdUI)
{
    switch (id) {
    case ID_EDIT_COPY: OnUpdateEditCopy(cmdUI); return TRUE;
    case ID_EDIT_CUT: OnUpdateEditCut(cmdUI); return TRUE;
    case ID_EDIT_PASTE: OnUpdateEditPaste(cmdUI); return TRUE;
    case ID_EDIT_SELECT_ALL: OnUpdateEditSelectAll(cmdUI); return TRUE;
    default: return FALSE;
    }
}

// ---------------------------------------------------------------- paste

QString CGridCtrl::BoundedPasteText(const QMimeData* data)
{
    return data->text().left(kMaxPastedText);
}

int CGridCtrl::NextShownRow(int row) const
{
    do
        ++row;
    while (row < m_nRows && GetRowHeight(row) == 0);
    return std::min(row, m_nRows);
}

int CGridCtrl::NextShownColumn(int col) const
{
    do
        ++col;
    while (col < m_nCols && GetColumnWidth(col) == 0);
    return std::min(col, m_nCols);
}

// Line k goes to row start.row + k and field m to column start.col + m, both
// past hidden lines; what falls outside the grid is dropped.
void CGridCtrl::BeginPaste()
{
    m_pastedCells.clear();
    m_pastedFarCorner = CCellID();
}

void CGridCtrl::RecordPasted(int row, int col)
{
    // Only a move out of this grid asks which cells were written; other
    // pastes need not pay for the record.
    if (m_bOwnDragRunning)
        m_pastedCells.insert(SelectionKey(row, col));
    SetItemState(row, col, GetItemState(row, col) & ~GRIDIS_SELECTED);
    m_pastedFarCorner = CCellID(std::max(m_pastedFarCorner.row, row), std::max(m_pastedFarCorner.col, col));
}

BOOL CGridCtrl::PasteTextAt(const CCellID& start, const QMimeData* data, BOOL selectPasted)
{
    BeginPaste();
    if (!IsValid(start) || !IsCellEditable(start) || !data || !data->hasText())
        return FALSE;
    const QString text = BoundedPasteText(data);
    int row = start.row - 1;
    for (qsizetype lineStart = 0; lineStart <= text.size();) {
        qsizetype lineEnd = text.indexOf(u'\n', lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        row = NextShownRow(row);
        if (row >= m_nRows)
            break;
        PasteLine(QStringView(text).mid(lineStart, lineEnd - lineStart), row, start.col);
        lineStart = lineEnd + 1;
    }
    if (selectPasted) {
        if (IsValid(m_pastedFarCorner))
            SetSelectedRange(start.row, start.col, m_pastedFarCorner.row, m_pastedFarCorner.col, TRUE);
    } else {
        ResetSelectedRange();
        viewport()->update();
    }
    return TRUE;
}

void CGridCtrl::PasteLine(QStringView line, int row, int firstCol)
{
    int col = firstCol - 1;
    // Empty fields at the end of a line change nothing.
    // One separator (a tab, as a rule) is found with one search per field.
    const bool oneSeparator = m_strFieldSeparators.size() == 1;
    for (qsizetype fieldStart = 0; fieldStart < line.size();) {
        qsizetype fieldEnd = fieldStart;
        if (oneSeparator) {
            fieldEnd = line.indexOf(m_strFieldSeparators.front(), fieldStart);
            if (fieldEnd < 0)
                fieldEnd = line.size();
        } else {
            while (fieldEnd < line.size() && !m_strFieldSeparators.contains(line[fieldEnd]))
                ++fieldEnd;
        }
        col = NextShownColumn(col);
        if (col >= m_nCols)
            return;
        SetItemTextAsEdited(row, col, line.mid(fieldStart, fieldEnd - fieldStart).trimmed().toString());
        RecordPasted(row, col);
        fieldStart = fieldEnd + 1;
    }
}
