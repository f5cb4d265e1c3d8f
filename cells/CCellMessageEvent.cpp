#include "CCellMessageEvent.h"

#include "grid/CGridCtrl.h"

#include <QCoreApplication>

CCellMessageEvent::CCellMessageEvent(UINT message, LPARAM lParam)
    : QEvent(EventType())
    , m_nMessage(message)
    , m_lParam(lParam)
{
}

QEvent::Type CCellMessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void CCellMessageEvent::Post(CGridCtrl* grid, UINT message, const CGridCellBase* cell)
{
    if (!grid || message == 0)
        return;
    QCoreApplication::postEvent(grid, new CCellMessageEvent(message, reinterpret_cast<LPARAM>(cell)));
}
