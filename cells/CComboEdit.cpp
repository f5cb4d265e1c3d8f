#include "CComboEdit.h"

#include "CInPlaceLink.h"
#include "CInPlaceList.h"

#include "platform/VirtualKeys.h"

#include <QKeyEvent>

CComboEdit::CComboEdit(CInPlaceList* owner) : QLineEdit(owner), m_pOwner(owner)
{
}

bool CComboEdit::event(QEvent* event)
{
    if (TakeEveryKey(event))
        return true;
    // Tab ends the edit when it is released; its press must not move the focus.
    if (IsTabPress(event))
        return true;
    return QLineEdit::event(event);
}

void CComboEdit::keyPressEvent(QKeyEvent* event)
{
    const bool altOnly =
        event->modifiers().testFlag(Qt::AltModifier) && !event->modifiers().testFlag(Qt::ControlModifier);
    if (altOnly || m_pOwner->OnKeyDown(VirtualKeyFromEvent(event)))
        return;
    QLineEdit::keyPressEvent(event);
}

void CComboEdit::keyReleaseEvent(QKeyEvent* event)
{
    if (!m_pOwner->OnKeyUp(VirtualKeyFromEvent(event)))
        QLineEdit::keyReleaseEvent(event);
}
