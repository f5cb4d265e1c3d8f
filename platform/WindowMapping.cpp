#include "WindowMapping.h"

#include <QAbstractScrollArea>

QWidget* ClientArea(QWidget* window)
{
    if (auto* scrolling = qobject_cast<QAbstractScrollArea*>(window))
        return scrolling->viewport();
    return window;
}

CPoint ClientToScreen(QWidget* window, const CPoint& point)
{
    const QPoint global = ClientArea(window)->mapToGlobal(QPoint(point.x, point.y));
    return CPoint(global.x(), global.y());
}

CPoint ScreenToClient(QWidget* window, const CPoint& point)
{
    const QPoint local = ClientArea(window)->mapFromGlobal(QPoint(point.x, point.y));
    return CPoint(local.x(), local.y());
}

CRect ClientToScreen(QWidget* window, const CRect& rect)
{
    return CRect(ClientToScreen(window, rect.TopLeft()), ClientToScreen(window, rect.BottomRight()));
}

CRect ScreenToClient(QWidget* window, const CRect& rect)
{
    return CRect(ScreenToClient(window, rect.TopLeft()), ScreenToClient(window, rect.BottomRight()));
}
