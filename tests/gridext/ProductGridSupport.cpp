#include "ProductGridSupport.h"

#include "cells/CGridCellVantel.h"
#include "toolkit/ToolkitMessages.h"

namespace {

int g_messages = 0;

void CountMessage(const VtChar*, const VtChar*)
{
    ++g_messages;
}

} // namespace

BOOL ProbeGrid::OnUpdateCommand(UINT id, CCmdUI* cmdUI)
{
    if (extraUpdate && extraUpdate(id, cmdUI))
        return TRUE;
    return CGridCtrlVantel::OnUpdateCommand(id, cmdUI);
}

ProductGrid::ProductGrid() : InteractionGrid(new ProbeGrid)
{
    g_messages = 0;
    VtSetMessageHandler(&CountMessage);
    grid->SetCellType(2, 2, RUNTIME_CLASS(CGridCellVantel));
    Product()->SetCheckKind(1);
    grid->SetItemText(2, 2, QStringLiteral("5"));
}

CGridCellVantel* ProductGrid::Product() const
{
    return dynamic_cast<CGridCellVantel*>(grid->GetCell(2, 2));
}

int ProductGrid::RefusalMessages()
{
    return g_messages;
}
