#include "CGridCtrlVantel.h"

#include "cells/CGridCellVantel.h"
#include "platform/CCmdUI.h"
#include "platform/VirtualKeys.h"
#include "res/Resource.h"
#include "res/ResourceTables.h"
#include "runtime/TagBrowserExt.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>

#include <array>

namespace {

// Ids from here on are the framework's own commands, enabled by default.
constexpr UINT kFirstFrameworkCommand = 61440;

QString EditorText(const QWidget* editor)
{
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(editor))
        return plain->toPlainText();
    if (const auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->text();
    return QString();
}

// The whole text selected, so that typing replaces it, and the caret in view.
void PutSelectedText(QWidget* editor, const QString& text)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) {
        plain->setPlainText(text);
        plain->selectAll();
        plain->ensureCursorVisible();
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(text);
        line->selectAll();
    }
}

} // namespace

CGridCtrlVantel::CGridCtrlVantel() : CGridCtrl(0, 0, 0, 0)
{
    EnableTitleTips(FALSE);
}

CGridCtrlVantel::~CGridCtrlVantel() = default;

// The clipboard's text stands for both text formats, which the grid already reads.
BOOL CGridCtrlVantel::PasteTextAt(const CCellID& start, const QMimeData* data, BOOL selectPasted)
{
    return CGridCtrl::PasteTextAt(start, data, selectPasted);
}

// The evaluation may rewrite the cell, so an accepted text is read back
// before the grid's own end of editing stores it.
BOOL CGridCtrlVantel::CommitEditedText(int row, int col, const QString& text)
{
    const QString previous = GetItemText(row, col);
    if (ValidateEdit(row, col, text) && SendMessageToParent(row, col, GRIDN_ENDEDIT) >= 0) {
        CGridCtrl::OnEndEditCell(row, col, GetItemText(row, col));
        return TRUE;
    }
    CGridCtrl::OnEndEditCell(row, col, previous);
    SetItemText(row, col, text);
    return FALSE;
}

BOOL CGridCtrlVantel::CheckCellText(int row, int col, const QString& text)
{
    m_idLastChecked = CCellID(row, col);
    const CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return FALSE;
    const auto* product = dynamic_cast<const CGridCellVantel*>(cell);
    return product ? product->CheckText(text) : TRUE;
}

void CGridCtrlVantel::TrackPopupMenu(const MenuResource* menu, const QPoint& screenPoint)
{
    if (!menu)
        return;
    QMenu popup(this);
    for (std::size_t i = 0; i < menu->itemCount; ++i) {
        const MenuItemResource& item = menu->items[i];
        if (item.id == 0 && !item.text) {
            popup.addSeparator();
            continue;
        }
        QAction* action = popup.addAction(QString::fromUtf16(item.text));
        action->setData(item.id);
    }
    OnInitMenuPopup(&popup);
    QPointer<CGridCtrlVantel> self(this);
    const QAction* chosen = popup.exec(screenPoint);
    if (self && chosen)
        OnCommand(chosen->data().toUInt());
}

// Handlers may add or remove items while the pass runs; the walk follows the
// menu as it is after each handler.
void CGridCtrlVantel::OnInitMenuPopup(QMenu* popup)
{
    for (int index = 0; index < popup->actions().size(); ++index) {
        QAction* action = popup->actions().at(index);
        if (action->isSeparator())
            continue;
        UINT id = action->data().toUInt();
        if (QMenu* sub = action->menu())
            id = sub->actions().isEmpty() ? 0 : sub->actions().first()->data().toUInt();
        if (id == 0)
            continue;
        const int countBefore = static_cast<int>(popup->actions().size());
        CCmdUI cmdUI(id);
        if (OnUpdateCommand(id, &cmdUI))
            action->setEnabled(cmdUI.IsEnabled());
        else
            action->setEnabled(HasCommandHandler(id) || id >= kFirstFrameworkCommand);
        index += static_cast<int>(popup->actions().size()) - countBefore;
    }
}

LRESULT CGridCtrlVantel::OnNotify(WPARAM wParam, NMHDR* header)
{
    if (!header || wParam != IDC_INPLACE_CONTROL || header->code != GRIDN_ENDEDIT)
        return CGridCtrl::OnNotify(wParam, header);
    const auto* info = reinterpret_cast<const GridDispInfo*>(header);
    if (!dynamic_cast<CGridCellVantel*>(GetCell(info->item.row, info->item.col)))
        return CGridCtrl::OnNotify(wParam, header);
    OnEndEditNotify(*info);
    return 0;
}

void CGridCtrlVantel::OnEndEditNotify(const GridDispInfo& info)
{
    if (!IsWindow())
        return;
    if (CommitEditedText(info.item.row, info.item.col, info.item.strText)) {
        const UINT key = static_cast<UINT>(info.item.lParam);
        if (key == VK_TAB || key == VK_RETURN || (key >= VK_PRIOR && key <= VK_DOWN))
            OnKeyDown(key, 0, 0);
        m_bReEditPending = FALSE;
        return;
    }
    ReopenEditor(GetFocusCell(), info.item.strText);
}

void CGridCtrlVantel::ReopenEditor(const CCellID& cell, const QString& text)
{
    m_bReEditPending = TRUE;
    // A window that closes or loses the user takes the focus from every editor
    // it opens, which would end and refuse again without end; the next press
    // on the grid brings the user back instead.
    if (!isVisible() || !isActiveWindow()) {
        SetFocusCell(cell);
        return;
    }
    OnEditCell(cell.row, cell.col, CPoint(-1, -1), VK_LBUTTON);
    const CGridCellBase* target = GetCell(cell.row, cell.col);
    if (QWidget* editor = target ? target->GetEditWnd() : nullptr) {
        PutSelectedText(editor, text);
        editor->setFocus(Qt::OtherFocusReason);
    }
    SetFocusCell(cell);
    m_bReEditPending = TRUE;
}

void CGridCtrlVantel::OnEditUpdate(UINT id, HWND control)
{
    const CCellID focus = GetFocusCell();
    if (id != IDC_INPLACE_CONTROL || !control || !IsValid(focus))
        return;
    m_bReEditPending = !CheckCellText(focus.row, focus.col, EditorText(static_cast<QWidget*>(control)));
}

// ---------------------------------------------------------------- commands

BOOL CGridCtrlVantel::OnCommand(UINT id)
{
    switch (id) {
    case ID_BROWSE_TAG: OnBrowseTag(0); return TRUE;
    case ID_BROWSE_EXPRESSION_TAG: OnBrowseTag(1); return TRUE;
    default: return CGridCtrl::OnCommand(id);
    }
}

BOOL CGridCtrlVantel::HasCommandHandler(UINT id) const
{
    return id == ID_BROWSE_TAG || id == ID_BROWSE_EXPRESSION_TAG || CGridCtrl::HasCommandHandler(id);
}

BOOL CGridCtrlVantel::OnUpdateCommand(UINT id, CCmdUI* cmdUI)
{
    if (id != ID_BROWSE_TAG && id != ID_BROWSE_EXPRESSION_TAG)
        return CGridCtrl::OnUpdateCommand(id, cmdUI);
    OnUpdateBrowseTag(cmdUI);
    return TRUE;
}

void CGridCtrlVantel::OnUpdateBrowseTag(CCmdUI* cmdUI)
{
    cmdUI->Enable(!m_bBrowsing && IsValid(m_idRightClickCell) && IsCellEditable(m_idRightClickCell));
}

// A refused name goes into a reopened editor, where the user can mend it.
void CGridCtrlVantel::OnBrowseTag(int mode)
{
    const CCellID cell = m_idRightClickCell;
    if (m_bBrowsing || !IsValid(cell) || !IsCellEditable(cell))
        return;
    // An editor the double-click opened would end (and be judged) while the
    // browser has the focus.
    EndEditing();
    m_bBrowsing = TRUE;
    std::array<VtChar, kTagBrowserBufferSize> name{};
    QPointer<CGridCtrlVantel> self(this);
    const int picked = TagBrowser(name.data(), kTagBrowserBufferSize, 1, mode, m_nBrowseOwner);
    if (!self)
        return;
    m_bBrowsing = FALSE;
    name.back() = 0;
    const QString text = QString::fromUtf16(name.data());
    if (!picked || text.isEmpty() || !IsValid(cell))
        return;
    const QString old = GetItemText(cell.row, cell.col);
    SetItemText(cell.row, cell.col, text);
    if (ValidateEdit(cell.row, cell.col, text)) {
        SetModified(TRUE, cell.row, cell.col);
        RedrawCell(cell);
        return;
    }
    SetItemText(cell.row, cell.col, old);
    ReopenEditor(cell, text);
}

void CGridCtrlVantel::PostCommand(UINT id)
{
    QMetaObject::invokeMethod(
        this, [this, id] { OnCommand(id); }, Qt::QueuedConnection);
}
