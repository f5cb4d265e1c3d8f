#include "ScreenMetrics.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>
#include <QWidget>

#include <algorithm>

namespace {

QScreen* PrimaryScreen()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
}

int ScrollBarExtent()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance())
               ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent)
               : 0;
}

} // namespace

int GetSystemMetrics(int index)
{
    const QScreen* screen = PrimaryScreen();
    if (!screen)
        return 0;
    switch (index) {
    case SM_CXSCREEN: return screen->geometry().width();
    case SM_CYSCREEN: return screen->geometry().height();
    case SM_CXVIRTUALSCREEN: return screen->virtualGeometry().width();
    case SM_CYVIRTUALSCREEN: return screen->virtualGeometry().height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return ScrollBarExtent();
    default: return 0;
    }
}

UINT GetDoubleClickTime()
{
    return PrimaryScreen() ? UINT(QGuiApplication::styleHints()->mouseDoubleClickInterval()) : 500;
}

QRect ReachableRect(qint64 left, qint64 top, qint64 right, qint64 bottom, const QSize& minimum)
{
    const int width = int(std::clamp<qint64>(right - left, minimum.width(), QWIDGETSIZE_MAX));
    const int height = int(std::clamp<qint64>(bottom - top, minimum.height(), QWIDGETSIZE_MAX));
    QRect rect(int(left), int(top), width, height);
    const QList<QScreen*> screens = QGuiApplication::screens();
    const bool visible = std::any_of(screens.begin(), screens.end(), [&rect](const QScreen* screen) {
        return screen->availableGeometry().intersects(rect);
    });
    if (!visible && QGuiApplication::primaryScreen())
        rect.moveTopLeft(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    return rect;
}
