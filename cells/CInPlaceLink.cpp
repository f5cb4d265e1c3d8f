#include "CInPlaceLink.h"

#include "grid/CGridCtrl.h"
#include "grid/GridDefs.h"
#include "grid/GridNotify.h"
#include "grid/NotifyReceiver.h"
#include "platform/CFont.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMapping.h"

#include <QKeyEvent>

CInPlaceLink::CInPlaceLink(QWidget* window, UINT id, int row, int col)
    : m_pWindow(window)
    , m_nID(id)
    , m_nRow(row)
    , m_nColumn(col)
{
}

QWidget* CInPlaceLink::GetClientArea() const
{
    return m_pWindow ? ClientArea(m_pWindow) : nullptr;
}

CNotifyReceiver* CInPlaceLink::Receiver() const
{
    return dynamic_cast<CNotifyReceiver*>(m_pWindow.data());
}

LRESULT CInPlaceLink::SendEndEdit(QWidget* editor, const QString& text, UINT exitKey)
{
    ++m_nReports;
    CNotifyReceiver* receiver = Receiver();
    if (!receiver)
        return 0;
    GridDispInfo dispInfo;
    dispInfo.hdr = NMHDR{editor, m_nID, GRIDN_ENDEDIT};
    dispInfo.item.row = m_nRow;
    dispInfo.item.col = m_nColumn;
    dispInfo.item.mask = GRIDIF_TEXT | GRIDIF_PARAM;
    dispInfo.item.strText = text;
    dispInfo.item.lParam = LPARAM(exitKey);
    return receiver->OnNotify(m_nID, &dispInfo.hdr);
}

void CInPlaceLink::SendTextChanged(QWidget* editor) const
{
    if (CNotifyReceiver* receiver = Receiver())
        receiver->OnEditUpdate(m_nID, editor);
}

void CInPlaceLink::ReportAndClose(QWidget* editor, const QString& text, UINT exitKey)
{
    if (m_nReports > 0)
        return;
    SendEndEdit(editor, text, exitKey);
    QMetaObject::invokeMethod(editor, &QWidget::close, Qt::QueuedConnection);
}

void CInPlaceLink::HandBackKeyboard(QWidget* editor, const std::function<void()>& endEdit)
{
    const int reports = m_nReports;
    QPointer<QWidget> alive(editor);
    if (m_pWindow)
        m_pWindow->setFocus(Qt::OtherFocusReason);
    if (alive && m_nReports == reports)
        endEdit();
}

QFont GridWindowFont(QWidget* window)
{
    if (auto* grid = qobject_cast<CGridCtrl*>(window)) {
        if (const CFont* font = grid->OnGetFont(); font && font->IsCreated())
            return font->GetQFont();
    }
    return window ? window->font() : QFont();
}

bool IsPageOrArrowKey(UINT virtualKey)
{
    return virtualKey == VK_PRIOR || virtualKey == VK_NEXT || (virtualKey >= VK_LEFT && virtualKey <= VK_DOWN);
}

bool IsEndingKeyUp(UINT virtualKey)
{
    return virtualKey == VK_TAB || virtualKey == VK_RETURN || virtualKey == VK_ESCAPE;
}

bool IsEndingKeyDown(UINT virtualKey)
{
    return IsPageOrArrowKey(virtualKey) && GetKeyState(VK_CONTROL) < 0;
}

bool TakeEveryKey(QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    event->accept();
    return true;
}

bool IsTabPress(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}
