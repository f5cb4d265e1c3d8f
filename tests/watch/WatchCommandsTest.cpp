// The watch grid's context menu and its commands, driven as the user does:
// right-clicks on the viewport, the Menu key, menu items chosen from the open
// menu, the clipboard.
#include "FakeRuntime.h"
#include "TestHost.h"

#include "cells/CGridCell.h"
#include "grid/CGridDropTarget.h"
#include "platform/MessageBox.h"
#include "platform/OleDragDrop.h"
#include "platform/VirtualKeys.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "watch/CGridQuillon.h"
#include "watch/WatchProgress.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <random>

namespace {

constexpr int Tag = CGridQuillon::ColTag;
constexpr int Value = CGridQuillon::ColValue;
constexpr int Continuous = CGridQuillon::ColContinuous;

// What was seen of the context menu while it was open.
struct MenuSeen
{
    bool opened = false;
    QPoint position;
    std::map<UINT, bool> enabled;
};

class WatchCommands : public ::testing::Test
{
protected:
    WatchCommands()
    {
        rt.AddTag(QStringLiteral("Plant.Level"), QStringLiteral("42"));
        rt.AddTag(QStringLiteral("Plant.Flow"), QStringLiteral("3"));
        rt.AddTag(QStringLiteral("Plant.Pump"), QStringLiteral("0"));
        rt.AddTag(QStringLiteral("Plant.Valve"), QStringLiteral("1"));
    }

    ~WatchCommands() override { SetMessageBoxHandler({}); }

    QString Text(int row, int col) const { return f.grid->GetItemText(row, col); }
    QWidget* Viewport() const { return f.grid->viewport(); }

    QPoint CellCenter(int row, int col) const
    {
        CRect rect;
        f.grid->GetCellRect(row, col, &rect);
        return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    // Runs 'open', which should bring up the menu; notes what it shows, then
    // chooses the item 'choose' (0: closes the menu without a choice).
    MenuSeen WithMenu(const std::function<void()>& open, UINT choose = 0)
    {
        MenuSeen seen;
        QTimer::singleShot(0, f.grid, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            seen.opened = true;
            seen.position = menu->pos();
            QAction* chosen = nullptr;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                const UINT id = action->data().toUInt();
                seen.enabled[id] = action->isEnabled();
                if (id == choose)
                    chosen = action;
            }
            if (chosen && chosen->isEnabled()) {
                menu->setActiveAction(chosen);
                QTest::keyClick(menu, Qt::Key_Return);
            } else {
                menu->close();
            }
        });
        open();
        // A menu that never opened must not leave the probe for a later one.
        QApplication::processEvents();
        return seen;
    }

    MenuSeen RightClick(int row, int col, UINT choose = 0)
    {
        return WithMenu([&] { QTest::mouseClick(Viewport(), Qt::RightButton, {}, CellCenter(row, col)); }, choose);
    }

    // Rows typed as the user does; the empty row stays last.
    void TypeRows(const QStringList& tags)
    {
        for (const QString& tag : tags)
            f.Type(f.grid->GetRowCount() - 1, Tag, tag);
    }

    FakeRuntime rt;
    WatchGridFixture f{&rt};
};

TEST_F(WatchCommands, HeaderRowOpensNoMenuAndAWatchRowOpensItAtTheClick)
{
    EXPECT_FALSE(RightClick(0, 1).opened);

    const MenuSeen seen = RightClick(1, 1);
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(seen.position, Viewport()->mapToGlobal(CellCenter(1, 1)));
    EXPECT_EQ(seen.enabled.size(), 11u);
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(1, 1));
    EXPECT_EQ(f.grid->GetRightClickCell(), CCellID(1, 1));
}

TEST_F(WatchCommands, KeyboardMenuOpensAtTheTopLeftCornerPlusFive)
{
    const QPoint corner = Viewport()->mapToGlobal(QPoint(5, 5));
    const MenuSeen menuKey = WithMenu([&] { QTest::keyClick(f.grid, Qt::Key_Menu); });
    ASSERT_TRUE(menuKey.opened);
    EXPECT_EQ(menuKey.position, corner);
    const MenuSeen shiftF10 = WithMenu([&] { QTest::keyClick(f.grid, Qt::Key_F10, Qt::ShiftModifier); });
    ASSERT_TRUE(shiftF10.opened);
    EXPECT_EQ(shiftF10.position, corner);
}

TEST_F(WatchCommands, EnablingOnTheEmptyRowAndInsideAMultiCellSelection)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("Plant.Flow"));
    MenuSeen seen = RightClick(1, Tag);
    EXPECT_FALSE(seen.enabled[ID_CONTINUOUS]);
    EXPECT_FALSE(seen.enabled[ID_TOGGLE]);
    EXPECT_FALSE(seen.enabled[ID_DELETE_LINE]) << "the empty last row alone";
    EXPECT_TRUE(seen.enabled[ID_SORT_ASCENDING]);
    EXPECT_TRUE(seen.enabled[ID_SORT_DESCENDING]);
    EXPECT_TRUE(seen.enabled[ID_INSERT_TAG]);
    EXPECT_TRUE(seen.enabled[ID_INSERT_LINE]);
    EXPECT_TRUE(seen.enabled[ID_INSERT_COPIED_CELLS]);
    EXPECT_TRUE(seen.enabled[ID_EDIT_PASTE]);

    TypeRows({QStringLiteral("Plant.Level"), QStringLiteral("Plant.Flow")});
    seen = RightClick(1, Value);
    EXPECT_TRUE(seen.enabled[ID_CONTINUOUS]);
    EXPECT_TRUE(seen.enabled[ID_TOGGLE]);
    EXPECT_TRUE(seen.enabled[ID_DELETE_LINE]);

    f.grid->SetSelectedRange(1, Tag, 2, Tag);
    f.grid->SetFocusCell(1, Tag);
    seen = RightClick(2, Tag);
    EXPECT_EQ(f.grid->GetSelectedCount(), 2) << "a click inside the selection keeps it";
    EXPECT_FALSE(seen.enabled[ID_CONTINUOUS]);
    EXPECT_FALSE(seen.enabled[ID_TOGGLE]);
    EXPECT_FALSE(seen.enabled[ID_INSERT_LINE]);
    EXPECT_FALSE(seen.enabled[ID_INSERT_COPIED_CELLS]);
    EXPECT_TRUE(seen.enabled[ID_DELETE_LINE]);
    EXPECT_TRUE(seen.enabled[ID_EDIT_COPY]);

    seen = RightClick(3, Value);
    EXPECT_EQ(f.grid->GetSelectedCount(), 1) << "a click outside selects the cell alone";
    EXPECT_TRUE(f.grid->IsCellSelected(3, Value));
}

TEST_F(WatchCommands, DeleteLineNeedsASelectedCellInEveryRowOfTheRange)
{
    TypeRows({QStringLiteral("Plant.Level"), QStringLiteral("Plant.Flow"), QStringLiteral("Plant.Pump")});
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellCenter(1, Tag));
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::ControlModifier, CellCenter(3, Tag), 1000);
    ASSERT_EQ(f.grid->GetSelectedCount(), 2);
    ASSERT_FALSE(f.grid->IsCellSelected(2, Tag));
    EXPECT_FALSE(RightClick(3, Tag).enabled[ID_DELETE_LINE]) << "row 2 lies between, unselected";
}

TEST_F(WatchCommands, SortingByContinuousPutsUncheckedFirstAndKeepsTheEmptyRowAndFocus)
{
    TypeRows({QStringLiteral("Plant.Level"), QStringLiteral("3 + 4"), QStringLiteral("Plant.Flow"),
              QStringLiteral("1 + 1")});
    ASSERT_EQ(f.grid->GetRowCount(), 6);
    RightClick(2, Continuous, ID_SORT_ASCENDING);
    EXPECT_FALSE(f.IsChecked(1));
    EXPECT_FALSE(f.IsChecked(2));
    EXPECT_TRUE(f.IsChecked(3));
    EXPECT_TRUE(f.IsChecked(4));
    EXPECT_EQ(Text(5, Tag), QString()) << "the empty row stays last";
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(2, Continuous));
    EXPECT_EQ(f.grid->GetSelectedCount(), 1);
    EXPECT_TRUE(f.grid->IsCellSelected(2, Continuous));

    RightClick(1, Tag, ID_SORT_DESCENDING);
    EXPECT_EQ(Text(1, Tag), QStringLiteral("Plant.Level"));
    EXPECT_EQ(Text(2, Tag), QStringLiteral("Plant.Flow"));
    EXPECT_EQ(Text(3, Tag), QStringLiteral("3 + 4"));
    EXPECT_EQ(Text(4, Tag), QStringLiteral("1 + 1"));
    EXPECT_EQ(Text(5, Tag), QString());
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(1, Tag));
}

TEST_F(WatchCommands, TextsSortWithoutRegardToCase)
{
    const auto compare = [](const char* a, const char* b) {
        CGridCell first;
        CGridCell second;
        first.SetText(QString::fromLatin1(a));
        second.SetText(QString::fromLatin1(b));
        return CGridQuillon::CompareWatchCells(reinterpret_cast<LPARAM>(&first), reinterpret_cast<LPARAM>(&second), 0);
    };
    EXPECT_EQ(compare("plant.LEVEL", "Plant.level"), 0);
    EXPECT_LT(compare("a", "B"), 0);
    EXPECT_GT(compare("b", "A"), 0);
    EXPECT_EQ(CGridQuillon::CompareWatchCells(0, 0, 0), 0);
}

// The sort works on keys made once per row; it must put every row exactly
// where a sort comparing the cells themselves puts it, equal keys included.
TEST_F(WatchCommands, SortingMovesRowsExactlyAsComparingTheCellsDoes)
{
    const QStringList words = {"plant.level", "Plant.Level", "PLANT.LEVEL", "a",          "B",     "",
                               "Stra\u00dfe", "STRASSE",     "\u00c4pfel",  "\u00e4pfel", "Zebra", "\u03a9mega",
                               "\u03c9MEGA",  "1 + 1",       "_x",          "[y]"};
    WatchGridFixture reference(&rt);
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        const QString tag = words[int(random() % words.size())] + QString::number(random() % 3);
        const QString value = words[int(random() % words.size())];
        const bool continuous = random() % 2 != 0;
        for (WatchGridFixture* grid : {&f, &reference}) {
            const int row = grid->LoadRow(tag, continuous);
            grid->grid->SetItemText(row, Value, value);
        }
    }
    const int last = f.grid->GetRowCount() - 2;
    const auto rows = [&](WatchGridFixture& grid) {
        QStringList seen;
        for (int row = 1; row <= last; ++row)
            seen << grid.grid->GetItemText(row, Tag) + u'|' + grid.grid->GetItemText(row, Value) + u'|' +
                        QString::number(grid.IsChecked(row));
        return seen;
    };
    for (const auto& [col, command] : {std::pair{Tag, ID_SORT_ASCENDING}, std::pair{Value, ID_SORT_DESCENDING},
                                       std::pair{Continuous, ID_SORT_ASCENDING}, std::pair{Tag, ID_SORT_DESCENDING}}) {
        RightClick(1, col, command);
        reference.grid->SortRows(CGridQuillon::CompareWatchCells, col, command == ID_SORT_ASCENDING, 0, 1, last);
        ASSERT_EQ(rows(f), rows(reference)) << "column " << col;
    }
}

TEST_F(WatchCommands, ContinuousFlipsTheFocusRowsBox)
{
    TypeRows({QStringLiteral("Plant.Level")});
    ASSERT_TRUE(f.IsChecked(1));
    RightClick(1, Value, ID_CONTINUOUS);
    EXPECT_FALSE(f.IsChecked(1));
    RightClick(1, Value, ID_CONTINUOUS);
    EXPECT_TRUE(f.IsChecked(1));
}

TEST_F(WatchCommands, InsertLineAndDeleteLineKeepOneEmptyRowAtTheEnd)
{
    TypeRows({QStringLiteral("Plant.Level"), QStringLiteral("Plant.Flow")});
    RightClick(2, Value, ID_INSERT_LINE);
    ASSERT_EQ(f.grid->GetRowCount(), 5);
    EXPECT_EQ(Text(2, Tag), QString());
    EXPECT_EQ(Text(3, Tag), QStringLiteral("Plant.Flow"));
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(2, Tag));

    f.grid->SetSelectedRange(1, Value, 3, Value);
    f.grid->SetFocusCell(1, Value);
    RightClick(2, Value, ID_DELETE_LINE);
    ASSERT_EQ(f.grid->GetRowCount(), 2);
    EXPECT_EQ(Text(1, Tag), QString());
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(1, Tag));

    // The last non-empty row: exactly one empty row remains.
    TypeRows({QStringLiteral("Plant.Pump")});
    f.grid->SetSelectedRange(1, Tag, 2, Continuous);
    f.grid->SetFocusCell(1, Tag);
    RightClick(1, Tag, ID_DELETE_LINE);
    ASSERT_EQ(f.grid->GetRowCount(), 2);
    EXPECT_EQ(Text(1, Tag), QString());
    EXPECT_FALSE(f.IsChecked(1));
}

TEST_F(WatchCommands, InsertCopiedCellsInsertsEvaluatedRowsAboveTheFocusRow)
{
    TypeRows({QStringLiteral("Plant.Level"), QStringLiteral("Plant.Flow")});
    const QString longField(1500, u'9');
    QGuiApplication::clipboard()->setText(QStringLiteral("Plant.Pump\t1\tGOOD\t1\tExtra\tMore\r\n"
                                                         "1 + 2\r\n"
                                                         "Plant.Valve\t") +
                                          longField + QStringLiteral("\r\n"));
    rt.writes.clear();
    RightClick(2, Value, ID_INSERT_COPIED_CELLS);

    ASSERT_EQ(f.grid->GetRowCount(), 7);
    EXPECT_EQ(Text(1, Tag), QStringLiteral("Plant.Level"));
    EXPECT_EQ(Text(2, Tag), QStringLiteral("Plant.Pump"));
    EXPECT_EQ(Text(3, Tag), QStringLiteral("1 + 2"));
    EXPECT_EQ(Text(4, Tag), QStringLiteral("Plant.Valve"));
    EXPECT_EQ(Text(5, Tag), QStringLiteral("Plant.Flow"));
    EXPECT_EQ(Text(6, Tag), QString());
    EXPECT_EQ(Text(3, Value), QStringLiteral("3")) << "evaluated at once";
    EXPECT_TRUE(f.IsChecked(2));

    // The copied Value differs from the fresh one, so it is written back;
    // the field over 1024 characters arrives cut.
    ASSERT_EQ(rt.writes.size(), 2u);
    EXPECT_EQ(rt.writes[0].value, QStringLiteral("1"));
    EXPECT_EQ(rt.writes[1].value, longField.left(1024));

    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(2, Value));
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(2, Value, 4, Continuous));
}

// Long work shows its progress; Cancel, clicked there, keeps the rows done so
// far, each complete: evaluated, its box set and its value written (the
// values alternate, so that every row writes).
TEST_F(WatchCommands, CancelInTheProgressDialogKeepsTheRowsDoneSoFar)
{
    const int delay = WatchProgress::SetDelay(0);
    constexpr int kLines = 5000;
    QString text;
    for (int i = 0; i < kLines; ++i)
        text += QStringLiteral("Plant.Level\t%1\r\n").arg(7 + i % 2);
    QGuiApplication::clipboard()->setText(text);
    rt.writes.clear();
    bool shown = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(window);
            if (!dialog || !dialog->isVisible())
                continue;
            shown = dialog->labelText() == LoadResString(IDS_PROGRESS_INSERT);
            auto* cancel = dialog->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            probe.stop();
            QTest::mouseClick(cancel, Qt::LeftButton);
        }
    });
    probe.start(0);
    RightClick(1, Tag, ID_INSERT_COPIED_CELLS);
    probe.stop();
    WatchProgress::SetDelay(delay);

    EXPECT_TRUE(shown);
    const int inserted = f.grid->GetRowCount() - 2;
    EXPECT_GT(inserted, 0);
    EXPECT_LT(inserted, kLines);
    for (int row = 1; row <= inserted; ++row) {
        ASSERT_EQ(Text(row, Tag), QStringLiteral("Plant.Level")) << row;
        ASSERT_EQ(Text(row, Value), QString::number(7 + (row - 1) % 2)) << row;
        ASSERT_TRUE(f.IsChecked(row)) << row;
    }
    EXPECT_EQ(Text(inserted + 1, Tag), QString()) << "the entry row stays last";
    EXPECT_EQ(static_cast<int>(rt.writes.size()), inserted);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(1, Tag, inserted, 2));
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QProgressDialog*>(window) && window->isVisible());
}

TEST_F(WatchCommands, InsertCopiedCellsWithoutClipboardTextSaysSo)
{
    QStringList messages;
    SetMessageBoxHandler([&](const QString& text, const QString&, UINT) {
        messages << text;
        return IDOK;
    });
    QGuiApplication::clipboard()->clear();
    f.grid->OnCommand(ID_INSERT_COPIED_CELLS);
    EXPECT_EQ(messages, QStringList{LoadResString(IDS_CLIPBOARD_ERROR)});
    EXPECT_EQ(f.grid->GetRowCount(), 2);
}

TEST_F(WatchCommands, PasteTrimsSkipsHiddenLinesAndWritesTheSecondField)
{
    TypeRows({QStringLiteral("Plant.Level"), QStringLiteral("Plant.Flow"), QStringLiteral("Plant.Pump")});
    f.grid->SetRowHeight(2, 0);
    rt.writes.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("Plant.Level\t 17 \r\nPlant.Pump\t1\r\n"));
    f.grid->SetSelectedRange(1, Tag, 1, Tag);
    f.grid->SetFocusCell(1, Tag);
    QTest::keyClick(f.grid, Qt::Key_V, Qt::ControlModifier);

    ASSERT_EQ(rt.writes.size(), 2u) << "only the Value fields differ";
    EXPECT_EQ(rt.writes[0].tag, QStringLiteral("plant.level"));
    EXPECT_EQ(rt.writes[0].value, QStringLiteral("17"));
    EXPECT_EQ(rt.writes[1].tag, QStringLiteral("plant.pump"));
    EXPECT_EQ(Text(1, Value), QStringLiteral("17"));
    EXPECT_EQ(Text(2, Tag), QStringLiteral("Plant.Flow")) << "the hidden row is passed over";
    EXPECT_EQ(Text(3, Value), QStringLiteral("1"));
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(1, Tag, 3, Value));
}

// A move dropped onto the watch grid one row down: the drop fills the
// second source cell, and the move must not clear it again (which would
// write "" to that row's tag).
TEST_F(WatchCommands, ADragMoveKeepsWhatTheDropWroteOverItsSource)
{
    TypeRows({QStringLiteral("Plant.Level"), QStringLiteral("Plant.Flow"), QStringLiteral("Plant.Pump")});
    ASSERT_EQ(Text(1, Value), QStringLiteral("42"));
    ASSERT_EQ(Text(2, Value), QStringLiteral("3"));
    const QPoint at = CellCenter(2, Value);
    SetDragDropHandler([&](QWidget*, QMimeData* data, DROPEFFECT) {
        std::unique_ptr<QMimeData> owned(data);
        CGridDropTarget* target = f.grid->GetDropTarget();
        if (target->OnDragEnter(f.grid, data, 0, CPoint(at.x(), at.y())) == DROPEFFECT_NONE ||
            !target->OnDrop(f.grid, data, DROPEFFECT_MOVE, CPoint(at.x(), at.y())))
            return DROPEFFECT_NONE;
        return DROPEFFECT_MOVE;
    });
    f.grid->SetSelectedRange(1, Value, 2, Value);
    rt.writes.clear();
    QTest::keyPress(f.grid, Qt::Key_Control, Qt::ControlModifier);
    const bool ctrlSeen = GetAsyncKeyState(VK_CONTROL) < 0;
    if (ctrlSeen)
        f.grid->StartDragDrop();
    QTest::keyRelease(f.grid, Qt::Key_Control, Qt::NoModifier);
    SetDragDropHandler(nullptr);
    if (!ctrlSeen)
        GTEST_SKIP() << "this platform reports no held keys";

    EXPECT_EQ(Text(2, Value), QStringLiteral("42"));
    EXPECT_EQ(Text(3, Value), QStringLiteral("3"));
    EXPECT_EQ(Text(1, Value), QString()) << "the source left behind is cleared";
    for (const auto& write : rt.writes)
        EXPECT_FALSE(write.tag == u"plant.flow" && write.value.isEmpty()) << "the drop's value was cleared again";
}

TEST_F(WatchCommands, RefusedEditKeepsTheMenuClosed)
{
    f.grid->SetReEditPending(TRUE);
    EXPECT_FALSE(RightClick(1, Value).opened);
    EXPECT_FALSE(WithMenu([&] { QTest::keyClick(f.grid, Qt::Key_Menu); }).opened);
}

} // namespace
