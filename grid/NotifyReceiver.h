#pragma once

#include "platform/WinTypes.h"

// What a window implements to receive a control's notifications. The call is
// synchronous and its result is the reply the sender sees. wParam is the
// sender's control id; the header's code tells which record follows it.
class CNotifyReceiver
{
public:
    virtual LRESULT OnNotify(WPARAM wParam, NMHDR* header) = 0;
    // A control's command, posted after the event that caused it: the
    // control's id and window. Receivers that act on it override this.
    virtual void OnControlCommand(UINT /*id*/, HWND /*control*/) {}
    // An edit control's text changed (typing, pasting, a text set into it):
    // the control's id and window (a QWidget).
    virtual void OnEditUpdate(UINT /*id*/, HWND /*control*/) {}

protected:
    ~CNotifyReceiver() = default;
};
