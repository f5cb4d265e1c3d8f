#include "InteractionSupport.h"

#include "cells/CGridCell.h"
#include "cells/CGridCellDateTime.h"
#include "cells/CInPlaceEdit.h"
#include "platform/VirtualKeys.h"

#include <QPointer>
#include <QTest>

#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The focus and a one-cell selection on (row, col), as a click leaves them.
void FocusOn(InteractionGrid& f, int row, int col)
{
    QTest::mouseClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(row, col));
    InteractionGrid::Flush();
    f.parent.records.clear();
}

CCellID Focus(const InteractionGrid& f)
{
    return f.grid->GetFocusCell();
}

// Presses a key on the grid; the editor it opened on (row, col), if any.
CInPlaceEdit* PressOnGrid(InteractionGrid& f, Qt::Key key, int row, int col)
{
    QTest::keyClick(f.grid, key);
    InteractionGrid::Flush();
    return f.Editor(row, col);
}

// Presses a key in an editor and lets its report and its closing happen.
void PressInEditor(CInPlaceEdit* editor, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(editor, key, modifiers);
    InteractionGrid::Flush();
}

TEST(GridEditing, TypedLetterOpensTheEditorWithItAndReturnStoresAndMovesDown)
{
    InteractionGrid f;
    FocusOn(f, 1, 1);
    QTest::keyClick(f.grid, Qt::Key_Escape);
    QTest::keyClick(f.grid, Qt::Key_Return);
    EXPECT_EQ(f.Editor(2, 1), nullptr) << "Return moved down and started nothing";
    FocusOn(f, 1, 1);

    CInPlaceEdit* editor = PressOnGrid(f, Qt::Key_X, 1, 1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("x"));
    QTest::keyClicks(editor, QStringLiteral("yz"));
    PressInEditor(editor, Qt::Key_Return);

    EXPECT_EQ(f.grid->GetItemText(1, 1), QStringLiteral("xyz"));
    EXPECT_TRUE(f.grid->GetModified(1, 1));
    EXPECT_EQ(Focus(f), CCellID(2, 1));
    EXPECT_EQ(f.parent.Codes(),
              (std::vector<int>{GRIDN_BEGINEDIT, GRIDN_ENDEDIT, GRIDN_SELCHANGING, GRIDN_SELCHANGED}));
    // The parent reads the new text while it is asked.
    EXPECT_EQ(f.parent.records[1].text, QStringLiteral("xyz"));
    EXPECT_TRUE(f.grid->IsCellSelected(2, 1));
    EXPECT_FALSE(f.grid->IsCellSelected(1, 1));
}

TEST(GridEditing, TabAndTypedArrowsEndTheEditAndMove)
{
    InteractionGrid f;
    FocusOn(f, 2, 2);
    CInPlaceEdit* editor = PressOnGrid(f, Qt::Key_A, 2, 2);
    ASSERT_NE(editor, nullptr);
    PressInEditor(editor, Qt::Key_Tab);
    EXPECT_EQ(f.grid->GetItemText(2, 2), QStringLiteral("a"));
    EXPECT_EQ(Focus(f), CCellID(2, 3));

    editor = PressOnGrid(f, Qt::Key_B, 2, 3);
    ASSERT_NE(editor, nullptr);
    PressInEditor(editor, Qt::Key_Up);
    EXPECT_EQ(f.grid->GetItemText(2, 3), QStringLiteral("b"));
    EXPECT_EQ(Focus(f), CCellID(1, 3));
}

TEST(GridEditing, AnEditBegunByF2KeepsArrowsForTheCaretUntilCtrlIsHeld)
{
    InteractionGrid f;
    FocusOn(f, 3, 1);
    CInPlaceEdit* editor = PressOnGrid(f, Qt::Key_F2, 3, 1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("r3c1"));
    QTest::keyClick(editor, Qt::Key_Left);
    QTest::keyClick(editor, Qt::Key_Z);
    EXPECT_EQ(f.Editor(3, 1), editor) << "the arrow moved the caret";
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("r3cz1"));

    PressInEditor(editor, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(f.Editor(3, 1), nullptr);
    EXPECT_EQ(f.grid->GetItemText(3, 1), QStringLiteral("r3cz1"));
    EXPECT_EQ(Focus(f), CCellID(3, 2));
}

TEST(GridEditing, EscapeRestoresAndSendsNoEndEdit)
{
    InteractionGrid f;
    FocusOn(f, 1, 2);
    CInPlaceEdit* editor = PressOnGrid(f, Qt::Key_Q, 1, 2);
    ASSERT_NE(editor, nullptr);
    PressInEditor(editor, Qt::Key_Escape);
    EXPECT_EQ(f.Editor(1, 2), nullptr);
    EXPECT_EQ(f.grid->GetItemText(1, 2), QStringLiteral("r1c2"));
    EXPECT_FALSE(f.grid->GetModified(1, 2));
    EXPECT_EQ(f.parent.Codes(), std::vector<int>{GRIDN_BEGINEDIT});
    EXPECT_EQ(Focus(f), CCellID(1, 2));
}

TEST(GridEditing, VetoRefusalAndReadOnlyCells)
{
    InteractionGrid f;
    FocusOn(f, 1, 1);
    f.parent.replies[GRIDN_BEGINEDIT] = -1;
    QTest::keyClick(f.grid, Qt::Key_F2);
    QTest::keyClick(f.grid, Qt::Key_K);
    InteractionGrid::Flush();
    EXPECT_EQ(f.Editor(1, 1), nullptr) << "vetoed";
    f.parent.replies.clear();

    // A refused text goes back; the cell stays marked, since it was set twice.
    f.parent.replies[GRIDN_ENDEDIT] = -1;
    CInPlaceEdit* editor = PressOnGrid(f, Qt::Key_K, 1, 1);
    ASSERT_NE(editor, nullptr);
    PressInEditor(editor, Qt::Key_Return);
    EXPECT_EQ(f.grid->GetItemText(1, 1), QStringLiteral("r1c1"));
    EXPECT_TRUE(f.grid->GetModified(1, 1));
    EXPECT_EQ(Focus(f), CCellID(2, 1)) << "the key still moves the focus";
    EXPECT_TRUE(f.grid->GetTitleTips()) << "the cell gave the title tips back";

    f.grid->SetItemState(2, 1, f.grid->GetItemState(2, 1) | GRIDIS_READONLY);
    QTest::keyClick(f.grid, Qt::Key_F2);
    QTest::keyClick(f.grid, Qt::Key_K);
    QTest::mouseClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(2, 1));
    InteractionGrid::Flush();
    EXPECT_EQ(f.Editor(2, 1), nullptr);
    f.grid->SetEditable(FALSE);
    QTest::keyClick(f.grid, Qt::Key_Down);
    QTest::keyClick(f.grid, Qt::Key_K);
    InteractionGrid::Flush();
    EXPECT_EQ(f.Editor(3, 1), nullptr);
}

TEST(GridKeyboard, MovementSkipsHiddenLinesAndStopsAtTheFixedBand)
{
    InteractionGrid f;
    f.grid->SetRowHeight(3, 0);
    FocusOn(f, 2, 1);
    QTest::keyClick(f.grid, Qt::Key_Down);
    EXPECT_EQ(Focus(f), CCellID(4, 1));
    QTest::keyClick(f.grid, Qt::Key_Up);
    QTest::keyClick(f.grid, Qt::Key_Up);
    QTest::keyClick(f.grid, Qt::Key_Up);
    EXPECT_EQ(Focus(f), CCellID(1, 1));
    QTest::keyClick(f.grid, Qt::Key_Left);
    EXPECT_EQ(Focus(f), CCellID(1, 1));
    QTest::keyClick(f.grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Focus(f), CCellID(5, 4));
    QTest::keyClick(f.grid, Qt::Key_Home);
    EXPECT_EQ(Focus(f), CCellID(5, 1));
    QTest::keyClick(f.grid, Qt::Key_PageUp);
    EXPECT_EQ(Focus(f), CCellID(1, 1)) << "the view could not move";
}

TEST(GridKeyboard, ShiftExtendsFromTheAnchorAndCtrlASelectsAll)
{
    InteractionGrid f;
    FocusOn(f, 1, 1);
    QTest::keyClick(f.grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(f.grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(1, 1, 2, 2));
    EXPECT_EQ(f.grid->GetSelectionAnchor(), CCellID(1, 1));
    QTest::keyClick(f.grid, Qt::Key_Down);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(3, 2, 3, 2));
    QTest::keyClick(f.grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(1, 1, 5, 4));
    EXPECT_EQ(f.grid->GetSelectedCount(), 20);
    EXPECT_EQ(f.Editor(3, 2), nullptr) << "a shortcut types nothing";
}

TEST(GridKeyboard, TabWrapsAcrossRowsAndStopsAtTheLastCell)
{
    InteractionGrid f;
    FocusOn(f, 1, 4);
    QTest::keyClick(f.grid, Qt::Key_Tab);
    EXPECT_EQ(Focus(f), CCellID(2, 1));
    QTest::keyClick(f.grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focus(f), CCellID(1, 4));
    EXPECT_TRUE(f.grid->hasFocus()) << "the window's focus chain did not take Tab";

    FocusOn(f, 5, 4);
    QTest::keyClick(f.grid, Qt::Key_Tab);
    EXPECT_EQ(Focus(f), CCellID(5, 4));
    EXPECT_TRUE(f.parent.records.empty());
    EXPECT_TRUE(f.grid->hasFocus());
    EXPECT_EQ(f.grid->OnGetDlgCode(), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);
    f.grid->SetHandleTabKey(FALSE);
    EXPECT_EQ(f.grid->OnGetDlgCode(), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST(GridKeyboard, MovingOffTheViewScrollsTheFocusIn)
{
    InteractionGrid f;
    f.grid->SetRowCount(40);
    for (int row = 6; row < 40; ++row)
        f.grid->SetRowHeight(row, 20);
    FocusOn(f, 1, 1);
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(f.grid, Qt::Key_Down);
    EXPECT_EQ(Focus(f), CCellID(21, 1));
    EXPECT_TRUE(f.grid->IsCellVisible(21, 1));
    EXPECT_GT(f.grid->GetScrollPos32(SB_VERT), 0);
    QTest::keyClick(f.grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Focus(f), CCellID(1, 1));
    EXPECT_EQ(f.grid->GetScrollPos32(SB_VERT), 0);
}

// Each change to the rows, columns or cell types ends an open editor first:
// a typed text is reported for the cell it was opened on, and no editor is
// left over a freed cell or one that moved under it.
TEST(GridEditing, StructureChangesEndAnOpenEditorFirst)
{
    const std::vector<std::pair<const char*, std::function<void(CGridCtrl&)>>> changes = {
        {"DeleteRow", [](CGridCtrl& g) { g.DeleteRow(1); }},
        {"DeleteColumn", [](CGridCtrl& g) { g.DeleteColumn(1); }},
        {"DeleteNonFixedRows", [](CGridCtrl& g) { g.DeleteNonFixedRows(); }},
        {"DeleteAllItems", [](CGridCtrl& g) { g.DeleteAllItems(); }},
        {"SetRowCount", [](CGridCtrl& g) { g.SetRowCount(2); }},
        {"SetColumnCount", [](CGridCtrl& g) { g.SetColumnCount(2); }},
        {"SetCellType", [](CGridCtrl& g) { g.SetCellType(2, 2, RUNTIME_CLASS(CGridCell)); }},
        {"SortTextItems", [](CGridCtrl& g) { g.SortTextItems(1, FALSE); }},
        {"SortRows", [](CGridCtrl& g) { g.SortRows(CGridCtrl::CompareCellTexts, 1, FALSE, 0, 1, -1); }},
    };
    for (const CRuntimeClass* type : {RUNTIME_CLASS(CGridCell), RUNTIME_CLASS(CGridCellDateTime)}) {
        for (const auto& [name, change] : changes) {
            SCOPED_TRACE(name);
            InteractionGrid f;
            f.grid->SetCellType(2, 2, type);
            FocusOn(f, 2, 2);
            QTest::keyClick(f.grid, Qt::Key_X);
            InteractionGrid::Flush();
            const QPointer<QWidget> editor = f.grid->GetCell(2, 2)->GetEditWnd();
            ASSERT_TRUE(editor);
            change(*f.grid);
            InteractionGrid::Flush();
            EXPECT_TRUE(!editor || !editor->isVisible()) << "an editor is left open";
            if (type != RUNTIME_CLASS(CGridCell))
                continue;
            bool reported = false;
            for (const auto& record : f.parent.records)
                reported |= record.code == GRIDN_ENDEDIT && record.row == 2 && record.col == 2 && record.text == u"x";
            EXPECT_TRUE(reported) << "the typed text was not reported for its own cell";
        }
    }
}

} // namespace
