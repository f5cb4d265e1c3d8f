// Qt events become the grid's message handlers here: the handlers keep their
// message-style signatures, and tests can drive either level.
#include "CGridCtrl.h"

#include "platform/VirtualKeys.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStyleHints>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace {

CPoint ClientPoint(const QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    return CPoint(pos.x(), pos.y());
}

UINT KeyFlags(const QMouseEvent* event)
{
    return MouseKeyFlags(event->buttons(), event->modifiers());
}

bool IsTabKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
}

// The Menu key and Shift+F10 ask for the context menu, as on other desktops.
bool IsContextMenuKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
}

} // namespace

bool CGridCtrl::event(QEvent* event)
{
    // A grid that handles Tab takes it before the window's focus chain can.
    if (event->type() == QEvent::KeyPress && IsTabKey(static_cast<QKeyEvent*>(event)) &&
        (OnGetDlgCode() & DLGC_WANTTAB)) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::event(event);
}

// The wheel over a scroll bar scrolls as over the cells, by the grid's rows
// rather than the bar's pixel steps.
bool CGridCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && (watched == verticalScrollBar() || watched == horizontalScrollBar())) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool CGridCtrl::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        OnMouseLeave();
    return QAbstractScrollArea::viewportEvent(event);
}

// A key press is a key-down followed by the characters it types. Keys the
// grid leaves alone go on to the parent (Escape to a dialog, for one); Tab
// stays here when the grid handles it, as nothing else may take it.
void CGridCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers().testFlag(Qt::AltModifier)) {
        event->ignore();
        return;
    }
    if (IsContextMenuKey(event)) {
        OnContextMenu(this, CPoint(-1, -1));
        event->accept();
        return;
    }
    const UINT nChar = VirtualKeyFromEvent(event);
    m_bKeyHandled = false;
    if (nChar != 0)
        OnKeyDown(nChar, 1, 0);
    const bool handled = m_bKeyHandled;
    const QString typed = TypedCharacters(event);
    bool starts = false;
    QPointer<CGridCtrl> self(this);
    for (const QChar c : typed) {
        if (!self)
            return;
        starts = starts || IsEditStartChar(c.unicode());
        OnChar(c.unicode(), 1, 0);
    }
    const bool keepTab = nChar == VK_TAB && (OnGetDlgCode() & DLGC_WANTTAB);
    if (handled || starts || keepTab)
        event->accept();
    else
        event->ignore();
}

void CGridCtrl::inputMethodEvent(QInputMethodEvent* event)
{
    for (const QChar c : event->commitString())
        OnImeChar(c.unicode(), 0);
    event->accept();
}

// The second press of a double click is the double click itself, the one
// press OnLButtonDblClk receives: judged by the same time and distance as Qt's.
bool CGridCtrl::IsSecondPressOfDoubleClick(const QMouseEvent* event)
{
    const QStyleHints* hints = QGuiApplication::styleHints();
    const QPoint pos = event->globalPosition().toPoint();
    const QPoint moved = pos - m_lastPressPos;
    const bool second = m_bHavePress &&
                        event->timestamp() - m_lastPressTime < static_cast<ulong>(hints->mouseDoubleClickInterval()) &&
                        std::max(std::abs(moved.x()), std::abs(moved.y())) <= hints->mouseDoubleClickDistance();
    // A third press starts a new pair.
    m_bHavePress = !second;
    m_lastPressTime = event->timestamp();
    m_lastPressPos = pos;
    return second;
}

void CGridCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !IsSecondPressOfDoubleClick(event))
        OnLButtonDown(KeyFlags(event), ClientPoint(event));
    event->accept();
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event)
{
    OnMouseMove(KeyFlags(event), ClientPoint(event));
    // A window holding the capture is not asked for a cursor.
    if (!m_bMouseCaptured)
        OnSetCursor();
    event->accept();
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        OnLButtonUp(KeyFlags(event), ClientPoint(event));
        // Releasing the capture is followed by a move where the mouse is, so
        // hovering over a divider is noticed without moving.
        OnMouseMove(KeyFlags(event), ClientPoint(event));
        OnSetCursor();
    } else if (event->button() == Qt::RightButton) {
        QPointer<CGridCtrl> self(this);
        OnRButtonUp(KeyFlags(event), ClientPoint(event));
        // The context menu follows the release, as the button-up's default
        // handling would raise it.
        if (self) {
            const QPoint screen = event->globalPosition().toPoint();
            OnContextMenu(this, CPoint(screen.x(), screen.y()));
        }
    }
    event->accept();
}

// Menus from the mouse come with the button's release above; only a request
// from the keyboard is taken here.
void CGridCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard)
        OnContextMenu(this, CPoint(-1, -1));
    event->accept();
}

void CGridCtrl::OnContextMenu(QWidget*, CPoint)
{
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDblClk(KeyFlags(event), ClientPoint(event));
    event->accept();
}

void CGridCtrl::wheelEvent(QWheelEvent* event)
{
    if (!event->pixelDelta().isNull()) {
        WheelPixels(event->pixelDelta().y());
        event->accept();
        return;
    }
    const int delta = std::clamp(event->angleDelta().y(), int(std::numeric_limits<short>::min()),
                                 int(std::numeric_limits<short>::max()));
    const QPoint pos = event->position().toPoint();
    OnMouseWheel(MouseKeyFlags(event->buttons(), event->modifiers()), static_cast<short>(delta),
                 CPoint(pos.x(), pos.y()));
    event->accept();
}

// Losing the keyboard to another window or a pop-up takes the capture too.
void CGridCtrl::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    if (m_bMouseCaptured && (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason))
        OnCaptureChanged();
}

void CGridCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_nQtTimerID && m_nQtTimerID != 0)
        OnTimer(m_nTimerID);
    else
        QAbstractScrollArea::timerEvent(event);
}
