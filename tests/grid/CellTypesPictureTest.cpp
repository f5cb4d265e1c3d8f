#include "GridTestSupport.h"

#include "cells/CGridCellCheck.h"
#include "cells/CGridCellCombo.h"
#include "cells/CGridCellDateTime.h"
#include "cells/CGridCellGenericBrowse.h"
#include "cells/CGridCellNumeric.h"
#include "cells/CGridURLCell.h"
#include "platform/VisualStyles.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// One row per cell type, themed and classic, for a person to look at.
QImage RenderCellTypes(bool themed)
{
    SetVisualStylesEnabled(themed);
    GridFixture f(7, 2, 1, 1, 300, 170);
    CGridCtrl& g = *f.grid;
    g.SetColumnWidth(0, 90);
    g.SetColumnWidth(1, 200);
    const QStringList names = {"check", "combo", "date/time", "browse", "numeric", "link"};
    const CRuntimeClass* classes[] = {RUNTIME_CLASS(CGridCellCheck),    RUNTIME_CLASS(CGridCellCombo),
                                      RUNTIME_CLASS(CGridCellDateTime), RUNTIME_CLASS(CGridCellGenericBrowse),
                                      RUNTIME_CLASS(CGridCellNumeric),  RUNTIME_CLASS(CGridURLCell)};
    g.SetItemText(0, 1, QStringLiteral("Cell"));
    for (int i = 0; i < names.size(); ++i) {
        g.SetRowHeight(i + 1, 22);
        g.SetItemText(i + 1, 0, names[i]);
        g.SetCellType(i + 1, 1, classes[i]);
    }
    dynamic_cast<CGridCellCheck*>(g.GetCell(1, 1))->SetCheck(TRUE);
    g.SetItemText(2, 1, QStringLiteral("Option"));
    dynamic_cast<CGridCellDateTime*>(g.GetCell(3, 1))->Init(0);
    g.SetItemText(4, 1, QStringLiteral("C:/data"));
    dynamic_cast<CGridCellNumeric*>(g.GetCell(5, 1))->SetNumber(12.5);
    g.SetItemText(6, 1, QStringLiteral("see www.example.com"));
    g.SetSortColumn(1);
    const QImage image = f.Render();
    SetVisualStylesEnabled(true);
    return image;
}

TEST(CellTypesPicture, ThemedAndClassic)
{
    const QString folder = QStringLiteral(QUILLON_TEST_OUTPUT_DIR);
    QDir().mkpath(folder);
    const QImage themed = RenderCellTypes(true);
    const QImage classic = RenderCellTypes(false);
    EXPECT_TRUE(themed.save(folder + QStringLiteral("/cell-types-themed.png")));
    EXPECT_TRUE(classic.save(folder + QStringLiteral("/cell-types-classic.png")));
    // The two looks differ at least in the check box.
    EXPECT_NE(themed.copy(90, 22, 200, 22), classic.copy(90, 22, 200, 22));
}

} // namespace
