#include "cells/CGridCell.h"
#include "cells/CellsLog.h"
#include "grid/CGridCtrl.h"
#include "grid/GridLog.h"
#include "tests/common/LogCapture.h"

#include <gtest/gtest.h>

namespace {

// Misuse is refused as before, silently by default and with a warning that
// names the call once the category is switched on.
TEST(GridDiagnostics, MisuseWarnsOnlyWhenSwitchedOn)
{
    CGridCtrl grid(3, 3, 1, 1);
    {
        LogCapture off(QStringLiteral("quillon.grid"), false);
        EXPECT_FALSE(lcGrid().isWarningEnabled());
        EXPECT_FALSE(grid.SetItemText(9, 0, QStringLiteral("x")));
        EXPECT_TRUE(off.Messages().isEmpty());
    }
    {
        LogCapture on(QStringLiteral("quillon.grid"));
        EXPECT_TRUE(grid.SetItemText(1, 1, QStringLiteral("fine")));
        EXPECT_TRUE(grid.SetItemBkColour(1, 1, RGB(1, 2, 3)));
        EXPECT_TRUE(on.Messages().isEmpty()) << "correct calls stay quiet";

        EXPECT_FALSE(grid.SetItemText(9, 0, QStringLiteral("x")));
        EXPECT_FALSE(grid.SetItemBkColour(0, -1, RGB(1, 2, 3)));
        EXPECT_FALSE(grid.SetCellType(1, 1, RUNTIME_CLASS(CGridCtrl)));
        EXPECT_FALSE(grid.SetItem(nullptr));
        CGridCtrl virtualGrid(3, 3, 0, 0);
        virtualGrid.SetVirtualMode(TRUE);
        virtualGrid.SetRowCount(3);
        virtualGrid.SetColumnCount(3);
        EXPECT_FALSE(virtualGrid.SetItemText(1, 1, QStringLiteral("x")));

        const QStringList& warnings = on.Messages();
        ASSERT_EQ(warnings.size(), 5);
        EXPECT_TRUE(warnings[0].startsWith(QStringLiteral("SetItemText(9, 0)"))) << warnings[0].toStdString();
        EXPECT_TRUE(warnings[1].startsWith(QStringLiteral("SetItemBkColour(0, -1)")));
        EXPECT_TRUE(warnings[2].startsWith(QStringLiteral("SetCellType(1, 1)")));
        EXPECT_TRUE(warnings[3].startsWith(QStringLiteral("SetItem")));
        EXPECT_TRUE(warnings[4].contains(QStringLiteral("virtual")));
    }
    {
        LogCapture on(QStringLiteral("quillon.cells"));
        EXPECT_FALSE(lcGrid().isWarningEnabled());
        EXPECT_TRUE(lcCells().isWarningEnabled());
        CGridCell orphan;
        EXPECT_FALSE(orphan.Edit(0, 0, CRect(0, 0, 10, 10), CPoint(), IDC_INPLACE_CONTROL, 0));
        ASSERT_EQ(on.Messages().size(), 1);
        EXPECT_TRUE(on.Messages()[0].contains(QStringLiteral("no grid")));
    }
    EXPECT_FALSE(lcCells().isWarningEnabled());
    // Refused calls changed nothing.
    EXPECT_EQ(grid.GetItemText(1, 1), QStringLiteral("fine"));
    EXPECT_STREQ(grid.GetCell(1, 1)->GetRuntimeClass()->m_lpszClassName, "CGridCell");
}

} // namespace
