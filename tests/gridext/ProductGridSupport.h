#pragma once

#include "tests/grid/InteractionSupport.h"

#include "gridext/CGridCtrlVantel.h"

#include <functional>

class CGridCellVantel;
class QMenu;

// The product grid with the state the tests look at opened up, and an
// enabling handler the tests can give extra behaviour.
class ProbeGrid : public CGridCtrlVantel
{
public:
    using CGridCtrlVantel::m_nPairedColumns;
    using CGridCtrlVantel::m_nTimerID;

    BOOL OnUpdateCommand(UINT id, CCmdUI* cmdUI) override;

    // Runs for its id before the grid's own handlers; TRUE when it handled it.
    std::function<BOOL(UINT id, CCmdUI* cmdUI)> extraUpdate;
};

// The interaction grid (6 x 5, one fixed row and column) made of a ProbeGrid,
// with a product cell of the number kind at (2, 2).
struct ProductGrid : InteractionGrid
{
    ProductGrid();

    ProbeGrid* Probe() const { return static_cast<ProbeGrid*>(grid); }
    CGridCellVantel* Product() const;
    // Messages the toolkit showed since the grid was made.
    static int RefusalMessages();
};
