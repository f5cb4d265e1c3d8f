#pragma once

#include "WinTypes.h"

// What a command-enabling handler is given: the command's id and the answer
// the menu takes before it shows.
class CCmdUI
{
public:
    explicit CCmdUI(UINT id = 0) : m_nID(id) {}

    void Enable(BOOL on = TRUE) { m_bEnabled = on; }
    BOOL IsEnabled() const { return m_bEnabled; }

    UINT m_nID;

private:
    BOOL m_bEnabled = TRUE;
};
