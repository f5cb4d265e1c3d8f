#pragma once

#include "platform/WinTypes.h"

#include <QEvent>

class CGridCellBase;
class CGridCtrl;

// A cell's own notification message, posted to its grid window the way a
// window message is posted: wParam 0, lParam the cell's address. A grid that
// sets such a message on a cell handles the event in its event().
class CCellMessageEvent : public QEvent
{
public:
    CCellMessageEvent(UINT message, LPARAM lParam);

    static QEvent::Type EventType();
    // Nothing is posted for message 0 or a cell without a grid.
    static void Post(CGridCtrl* grid, UINT message, const CGridCellBase* cell);

    UINT GetMessage() const { return m_nMessage; }
    WPARAM GetWParam() const { return 0; }
    LPARAM GetLParam() const { return m_lParam; }

private:
    UINT m_nMessage;
    LPARAM m_lParam;
};
