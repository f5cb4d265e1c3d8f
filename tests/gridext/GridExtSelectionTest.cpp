#include "ProductGridSupport.h"

#include "cells/CInPlaceEdit.h"
#include "res/Resource.h"

#include <QCursor>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void Click(InteractionGrid& f, int row, int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(f.Viewport(), Qt::LeftButton, modifiers, f.Centre(row, col));
    InteractionGrid::Flush();
}

void Key(InteractionGrid& f, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(f.grid, key, modifiers);
    InteractionGrid::Flush();
}

TEST(ProductGridSelection, ShiftArrowsExtendFromTheFarCornerWhileTheFocusStays)
{
    ProductGrid f;
    Click(f, 1, 1);
    Key(f, Qt::Key_Down, Qt::ShiftModifier);
    Key(f, Qt::Key_Down, Qt::ShiftModifier);
    Key(f, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(1, 1, 3, 2));
    EXPECT_EQ(f.grid->GetSelectedCount(), 6);
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(1, 1));
    Key(f, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(1, 1, 2, 2)) << "the far corner moves back";

    // Without Shift the move starts from the focus again.
    Key(f, Qt::Key_Down);
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(2, 1));
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(2, 1, 2, 1));

    // A click starts a new selection, which Shift extends from the clicked cell.
    Key(f, Qt::Key_Right, Qt::ShiftModifier);
    Click(f, 3, 3);
    Key(f, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(3, 3, 4, 3));
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(3, 3));
}

TEST(ProductGridSelection, RowsSelectedFromTheHeaderExtendAsWholeRows)
{
    ProductGrid f;
    f.grid->SetListMode(TRUE);
    QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(2, 0));
    EXPECT_EQ(f.Probe()->m_nTimerID, GRID_AUTOSCROLL_TIMER) << "the button is held";
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(2, 0));
    InteractionGrid::Flush();
    EXPECT_EQ(f.Probe()->m_nTimerID, 0u);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(2, 1, 2, 4));
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(2, 1));

    Key(f, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(2, 1, 3, 4));
    EXPECT_EQ(f.grid->GetSelectedCount(), 8);
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(2, 1)) << "the focus stays on the anchor row";
}

// Pressing on the focus cell's text and moving selects from there instead of
// dragging; held below the grid, the selection scrolls one row per tick.
TEST(ProductGridSelection, DraggingFromTheFocusCellSelectsAndScrollsBelowTheGrid)
{
    ProductGrid f;
    f.grid->SetRowCount(40);
    for (int row = 6; row < 40; ++row)
        f.grid->SetRowHeight(row, 20);
    Click(f, 3, 1);
    f.parent.records.clear();

    QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(3, 1));
    QTest::mouseMove(f.Viewport(), f.Centre(5, 3));
    EXPECT_EQ(f.grid->GetMouseMode(), CGridCtrl::MouseMode::SelectCells);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(3, 1, 5, 3));
    EXPECT_EQ(f.Probe()->m_nTimerID, GRID_AUTOSCROLL_TIMER);
    ASSERT_FALSE(f.parent.Codes().empty());
    EXPECT_EQ(f.parent.Codes().front(), GRIDN_SELCHANGING);

    // Down to the bottom edge, then out below it.
    const int x = f.Centre(5, 3).x();
    QTest::mouseMove(f.Viewport(), QPoint(x, f.Viewport()->height() - 2));
    const QPoint below(x, f.Viewport()->height() + 30);
    QCursor::setPos(f.Viewport()->mapToGlobal(below));
    for (int tick = 1; tick <= 3; ++tick) {
        const int top = f.grid->GetTopleftNonFixedCell().row;
        f.Probe()->OnTimer(GRID_AUTOSCROLL_TIMER);
        EXPECT_EQ(f.grid->GetTopleftNonFixedCell().row, top + 1) << "tick " << tick;
        const CellSpan visible = f.grid->GetVisibleNonFixedCellRange();
        EXPECT_GE(f.grid->GetSelectedCellRange().GetMaxRow(), visible.GetMaxRow() - 1) << "tick " << tick;
        EXPECT_EQ(f.grid->GetSelectedCellRange().GetMinRow(), 3);
    }

    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(5, 3));
    InteractionGrid::Flush();
    EXPECT_EQ(f.Probe()->m_nTimerID, 0u);
    EXPECT_EQ(f.Editor(3, 1), nullptr);
}

TEST(ProductGridSelection, CtrlPressOnTheFocusCellSelectsItAloneForDragging)
{
    ProductGrid f;
    Click(f, 1, 1);
    Click(f, 3, 3, Qt::ShiftModifier);
    ASSERT_EQ(f.grid->GetSelectedCount(), 9);
    Click(f, 3, 3, Qt::ControlModifier);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(3, 3, 3, 3));
    EXPECT_TRUE(f.grid->IsCellSelected(3, 3)) << "the grid alone would take it out of the selection";
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(3, 3));
}

TEST(ProductGridSelection, DeleteClearsThePairedColumnToo)
{
    ProductGrid f;
    f.grid->SetColumnCount(8);
    for (int row = 1; row < 6; ++row) {
        for (int col = 5; col < 8; ++col)
            f.grid->SetItemText(row, col, QStringLiteral("r%1c%2").arg(row).arg(col));
    }
    f.grid->SetFocusCell(3, 2);
    f.grid->SetSelectedRange(3, 2, 4, 2);
    Key(f, Qt::Key_Delete);
    EXPECT_EQ(f.grid->GetItemText(3, 2), QString());
    EXPECT_EQ(f.grid->GetItemText(3, 6), QStringLiteral("r3c6")) << "no pairing unless asked";

    f.Probe()->m_nPairedColumns = 1;
    f.grid->SetItemText(3, 2, QStringLiteral("again"));
    f.grid->SetItemText(4, 2, QStringLiteral("r4c2"));
    f.grid->SetItemState(4, 2, f.grid->GetItemState(4, 2) | GRIDIS_READONLY);
    f.grid->SetSelectedRange(3, 2, 4, 2);
    Key(f, Qt::Key_Delete);
    EXPECT_EQ(f.grid->GetItemText(3, 2), QString());
    EXPECT_EQ(f.grid->GetItemText(3, 6), QString());
    EXPECT_EQ(f.grid->GetItemText(4, 2), QStringLiteral("r4c2")) << "read-only stays";
    EXPECT_EQ(f.grid->GetItemText(3, 5), QStringLiteral("r3c5"));
    EXPECT_EQ(f.grid->GetItemText(3, 7), QStringLiteral("r3c7"));
}

TEST(ProductGridMenu, ItemsAreEnabledByTheirHandlers)
{
    ProductGrid f;
    QMenu menu;
    const auto add = [&menu](UINT id, bool enabled) {
        QAction* action = menu.addAction(QString::number(id));
        action->setData(id);
        action->setEnabled(enabled);
        return action;
    };
    QAction* withoutHandler = add(32790, true);
    QAction* selectAll = add(ID_EDIT_SELECT_ALL, true);
    QAction* framework = add(61450, false);
    QAction* removing = add(40000, true);
    QAction* afterRemoved = add(32791, true);
    QMenu* sub = menu.addMenu(QStringLiteral("browse"));
    sub->addAction(QStringLiteral("tag"))->setData(ID_BROWSE_TAG);
    // This handler takes its own item away while the pass runs.
    f.Probe()->extraUpdate = [&](UINT id, CCmdUI*) {
        if (id != 40000)
            return FALSE;
        menu.removeAction(removing);
        return TRUE;
    };
    f.grid->EnableSelection(FALSE);

    f.Probe()->OnInitMenuPopup(&menu);
    EXPECT_FALSE(withoutHandler->isEnabled());
    EXPECT_FALSE(selectAll->isEnabled()) << "the update handler's answer counts";
    EXPECT_TRUE(framework->isEnabled());
    EXPECT_FALSE(afterRemoved->isEnabled()) << "the item after a removed one is still visited";
    EXPECT_FALSE(sub->menuAction()->isEnabled()) << "nothing to browse into";

    f.grid->EnableSelection(TRUE);
    f.Probe()->SetRightClickCell(CCellID(2, 2));
    f.Probe()->OnInitMenuPopup(&menu);
    EXPECT_TRUE(selectAll->isEnabled());
    EXPECT_TRUE(sub->menuAction()->isEnabled());
}

} // namespace
