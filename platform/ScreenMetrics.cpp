#include "ScreenMetrics.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>

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
    case SM_CXSCREEN:
        return screen->geometry().width();
    case SM_CYSCREEN:
        return screen->geometry().height();
    case SM_CXVIRTUALSCREEN:
        return screen->virtualGeometry().width();
    case SM_CYVIRTUALSCREEN:
        return screen->virtualGeometry().height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return ScrollBarExtent();
    default:
        return 0;
    }
}

UINT GetDoubleClickTime()
{
    return PrimaryScreen() ? UINT(QGuiApplication::styleHints()->mouseDoubleClickInterval()) : 500;
}
