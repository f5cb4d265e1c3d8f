#pragma once

#include "CCmdUI.h"
#include "WinTypes.h"

// A window's command map: menu items and shortcuts send their command ids here,
// and a menu asks the enabling handlers before it shows.
class CCmdTarget
{
public:
    // Runs the handler of id; FALSE when this target has none.
    virtual BOOL OnCommand(UINT id)
    {
        (void)id;
        return FALSE;
    }
    virtual BOOL HasCommandHandler(UINT id) const
    {
        (void)id;
        return FALSE;
    }
    // Runs the enabling handler of id; FALSE when this target has none.
    virtual BOOL OnUpdateCommand(UINT id, CCmdUI* cmdUI)
    {
        (void)id;
        (void)cmdUI;
        return FALSE;
    }

protected:
    ~CCmdTarget() = default;
};
