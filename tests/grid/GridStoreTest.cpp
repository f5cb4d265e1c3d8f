#include "GridTestSupport.h"

#include "cells/CGridCell.h"
#include "cells/CGridDefaultCell.h"
#include "platform/CCmdUI.h"
#include "platform/LogFont.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <new>

namespace {

TEST(GridStore, FixedBandsFollowCountChanges)
{
    GridFixture f(5, 4, 0, 0);
    CGridCtrl& g = *f.grid;
    g.SetItemBkColour(1, 2, RGB(1, 2, 3));
    ASSERT_TRUE(g.SetFixedRowCount(2));
    EXPECT_EQ(g.GetItemState(1, 2) & 0x70u, GRIDIS_FIXED | GRIDIS_FIXEDROW);
    EXPECT_EQ(g.GetItemBkColour(1, 2), CLR_DEFAULT);
    ASSERT_TRUE(g.SetFixedColumnCount(1));
    EXPECT_EQ(g.GetItemState(0, 0) & 0x70u, 0x70u);
    EXPECT_EQ(g.GetItemState(3, 0) & 0x70u, GRIDIS_FIXED | GRIDIS_FIXEDCOL);

    // Shrinking the band: a corner cell keeps its column bits, others lose all.
    ASSERT_TRUE(g.SetFixedRowCount(1));
    EXPECT_EQ(g.GetItemState(1, 0) & 0x70u, GRIDIS_FIXED | GRIDIS_FIXEDCOL);
    EXPECT_EQ(g.GetItemState(1, 2) & 0x70u, 0u);

    // Fewer rows than fixed rows lowers the fixed count; more fixed rows adds rows.
    ASSERT_TRUE(g.SetRowCount(0));
    EXPECT_EQ(g.GetFixedRowCount(), 0);
    ASSERT_TRUE(g.SetFixedRowCount(3));
    EXPECT_EQ(g.GetRowCount(), 3);
    EXPECT_EQ(g.GetItemState(2, 3) & 0x70u, GRIDIS_FIXED | GRIDIS_FIXEDROW);
}

TEST(GridStore, CountChangesThatAreNotEarlyReturns)
{
    CGridCtrl g;
    g.SetModified(FALSE);
    EXPECT_TRUE(g.SetRowCount(0)); // runs on an empty grid: marks it modified
    EXPECT_TRUE(g.GetModified());
    g.SetModified(FALSE);
    EXPECT_TRUE(g.SetColumnCount(0)); // unchanged: returns at once
    EXPECT_FALSE(g.GetModified());
    EXPECT_FALSE(g.SetRowCount(-1));
}

TEST(GridStore, NewLinesTakeTheirDefaultSizes)
{
    QWidget parent;
    CGridCtrl g(2, 2, 1, 1);
    CGridDefaultCell* ordinary = g.GetDefaultCell(FALSE, FALSE);
    CGridDefaultCell* fixedCol = g.GetDefaultCell(FALSE, TRUE);
    fixedCol->SetWidth(ordinary->GetWidth() + 17);
    g.SetRowCount(3);
    g.SetColumnCount(3);
    EXPECT_EQ(g.GetRowHeight(2), ordinary->GetHeight());
    EXPECT_EQ(g.GetColumnWidth(2), fixedCol->GetWidth());

    // Create gives every existing line the ordinary default sizes.
    g.Create(RECT{0, 0, 200, 100}, &parent, 1);
    EXPECT_EQ(g.GetColumnWidth(2), ordinary->GetWidth());

    // Inserted columns are as wide as their heading.
    const int narrow = g.InsertColumn(QStringLiteral("A"));
    const int wide = g.InsertColumn(QStringLiteral("A much longer heading"));
    EXPECT_LT(g.GetColumnWidth(narrow), g.GetColumnWidth(wide));
    EXPECT_EQ(g.GetItemText(0, wide), QStringLiteral("A much longer heading"));
    g.setParent(nullptr);
}

// An inserted row is as high as its heading measures, whatever the heading's
// format, font and lines; one-line headings are not shaped for it.
TEST(GridStore, InsertedRowIsAsHighAsItsHeadingMeasures)
{
    GridFixture f(1, 3, 1, 1);
    CGridCtrl& g = *f.grid;
    CGridDefaultCell* heading = g.GetDefaultCell(FALSE, TRUE);
    LOGFONTW large = LogFontFromQFont(QFont(QStringLiteral("DejaVu Sans"), 30));
    LOGFONTW vertical = large;
    vertical.lfEscapement = 900;
    const LOGFONTW* fonts[] = {nullptr, &large, &vertical};
    const QString texts[] = {QStringLiteral("x"), QStringLiteral("A heading of many words that wraps in a narrow cell"),
                             QStringLiteral("two\nlines"), QStringLiteral("\ttab")};
    for (const DWORD format : {DWORD(DT_LEFT | DT_VCENTER | DT_SINGLELINE), DWORD(DT_WORDBREAK),
                               DWORD(DT_WORDBREAK | DT_SINGLELINE), DWORD(0)}) {
        for (const LOGFONTW* font : fonts) {
            heading->SetFormat(format);
            if (font)
                heading->SetFont(font);
            for (const QString& text : texts) {
                const int row = g.InsertRow(text);
                ASSERT_GE(row, 1);
                CGridCellBase* cell = g.GetCell(row, 0);
                const int measured = cell->GetTextExtent(text).cy;
                EXPECT_EQ(cell->GetTextHeight(text), measured) << format << " " << text.toStdString();
                EXPECT_EQ(g.GetRowHeight(row), measured) << format << " " << text.toStdString();
            }
        }
    }
    EXPECT_GT(g.GetRowHeight(g.GetRowCount() - 1), g.GetRowHeight(1));
}

TEST(GridStore, SizesOutsideTheCountsAreRefused)
{
    CGridCtrl g(3, 3, 1, 1);
    EXPECT_EQ(g.GetRowHeight(3), -1);
    EXPECT_EQ(g.GetColumnWidth(-1), -1);
    EXPECT_FALSE(g.SetRowHeight(3, 10));
    EXPECT_FALSE(g.SetColumnWidth(0, -2));
    EXPECT_TRUE(g.SetRowHeight(2, 0));
    EXPECT_EQ(g.GetVirtualHeight(), 2LL * g.GetRowHeight(0));
    EXPECT_EQ(g.GetFixedRowHeight(), g.GetRowHeight(0));
}

TEST(GridStore, InsertAndDeleteClearSelectionAndFocus)
{
    GridFixture f(6, 3, 1, 1);
    CGridCtrl& g = *f.grid;
    const auto selectSome = [&] {
        g.SetFocusCell(2, 2);
        g.SetSelectedRange(2, 1, 3, 2);
        ASSERT_EQ(g.GetSelectedCount(), 4);
    };
    selectSome();
    EXPECT_EQ(g.InsertRow(QStringLiteral("new"), 2), 2);
    EXPECT_EQ(g.GetSelectedCount(), 0);
    EXPECT_FALSE(g.GetFocusCell().IsValid());
    EXPECT_EQ(g.GetItemState(3, 2) & (GRIDIS_SELECTED | GRIDIS_FOCUSED), 0u);
    EXPECT_EQ(g.GetItemText(2, 0), QStringLiteral("new"));

    selectSome();
    EXPECT_TRUE(g.DeleteRow(4));
    EXPECT_EQ(g.GetSelectedCount(), 0);
    EXPECT_FALSE(g.GetFocusCell().IsValid());

    selectSome();
    EXPECT_EQ(g.InsertColumn(QStringLiteral("c"), DT_LEFT, 1), 1);
    EXPECT_EQ(g.GetSelectedCount(), 0);
    selectSome();
    EXPECT_TRUE(g.DeleteColumn(2));
    EXPECT_EQ(g.GetSelectedCount(), 0);

    // Inside the fixed band or past the end: refused.
    EXPECT_EQ(g.InsertRow(QStringLiteral("x"), 0), -1);
    EXPECT_EQ(g.InsertRow(QStringLiteral("x"), g.GetRowCount()), -1);
    EXPECT_EQ(g.InsertColumn(QStringLiteral("x"), DT_LEFT, g.GetColumnCount() + 1), -1);
}

TEST(GridStore, SelectionKeepsRowsBeyondSixteenBitsApart)
{
    constexpr int kRows = 70000;
    constexpr int kLow = 3000;
    constexpr int kHigh = kLow + 65536;
    for (const bool virtualMode : {false, true}) {
        SCOPED_TRACE(virtualMode ? "virtual" : "stored");
        CGridCtrl g;
        g.SetVirtualMode(virtualMode);
        g.SetColumnCount(2);
        g.SetRowCount(kRows);
        ASSERT_TRUE(g.SetItemState(kHigh, 1, GRIDIS_SELECTED));
        EXPECT_FALSE(g.IsCellSelected(kLow, 1));
        ASSERT_TRUE(g.SetItemState(kLow, 1, GRIDIS_SELECTED));
        EXPECT_EQ(g.GetSelectedCount(), 2);
        ASSERT_TRUE(g.SetItemState(kLow, 1, 0));
        EXPECT_TRUE(g.IsCellSelected(kHigh, 1));
        EXPECT_EQ(g.GetSelectedCellRange(), CellSpan(kHigh, 1, kHigh, 1));
    }
}

TEST(GridStore, VirtualModeServesOneSharedCell)
{
    GridFixture f(0, 0, 0, 0);
    CGridCtrl& g = *f.grid;
    g.SetVirtualMode(TRUE);
    EXPECT_FALSE(g.IsEditable());
    EXPECT_EQ(g.GetAutoSizeStyle(), GVS_HEADER);
    g.SetRowCount(10);
    g.SetColumnCount(3);
    g.SetFixedRowCount(1);
    CGridCellBase* first = g.GetCell(1, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetText(), QStringLiteral("r1c1"));
    CGridCellBase* second = g.GetCell(0, 2);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->GetText(), QStringLiteral("r0c2"));
    EXPECT_EQ(second->GetState() & 0x70u, GRIDIS_FIXED | GRIDIS_FIXEDROW);
    ASSERT_FALSE(f.parent.records.empty());
    EXPECT_EQ(f.parent.records.back().code, GRIDN_GETDISPINFO);
    EXPECT_EQ(f.parent.lastId, 77u);
    EXPECT_FALSE(g.SetItemText(1, 1, QStringLiteral("x")));
    EXPECT_FALSE(g.SetCellType(1, 1, RUNTIME_CLASS(CGridCell)));
    EXPECT_EQ(g.GetCell(10, 0), nullptr);

    // A callback replaces the parent.
    g.SetCallbackFunc(
        [](GridDispInfo* info, LPARAM value) {
            info->item.strText = QString::number(value);
            return TRUE;
        },
        42);
    const size_t sent = f.parent.records.size();
    EXPECT_EQ(g.GetItemText(3, 1), QStringLiteral("42"));
    EXPECT_EQ(f.parent.records.size(), sent);
}

TEST(GridStore, NotificationsReachOwnerElseParentWithTheirReply)
{
    GridFixture f(3, 3, 1, 1);
    f.parent.reply = -1;
    EXPECT_EQ(f.grid->SendMessageToParent(1, 2, GRIDN_BEGINEDIT), -1);
    ASSERT_EQ(f.parent.records.size(), 1u);
    EXPECT_EQ(f.parent.records[0].code, GRIDN_BEGINEDIT);
    EXPECT_EQ(f.parent.records[0].row, 1);
    EXPECT_EQ(f.parent.records[0].col, 2);

    auto owner = std::make_unique<RecordingParent>();
    owner->reply = 5;
    f.grid->SetOwner(owner.get());
    EXPECT_EQ(f.grid->SendMessageToParent(0, 0, NM_CLICK), 5);
    EXPECT_EQ(owner->records.size(), 1u);
    EXPECT_EQ(f.parent.records.size(), 1u);

    // A receiver that has gone gets nothing and the sender sees 0.
    owner.reset();
    EXPECT_EQ(f.grid->SendMessageToParent(0, 0, NM_CLICK), 0);
    EXPECT_EQ(f.parent.records.size(), 1u);

    CGridCtrl unplaced(2, 2);
    EXPECT_EQ(unplaced.SendMessageToParent(0, 0, NM_CLICK), 0);
}

TEST(GridStore, ModifiedStateAndSortColumn)
{
    CGridCtrl g(4, 3, 1, 0);
    g.SetModified(FALSE);
    g.SetSortColumn(1);
    EXPECT_TRUE(g.SetItemText(2, 2, QStringLiteral("a")));
    EXPECT_TRUE(g.GetModified(2, 2));
    EXPECT_TRUE(g.GetModified());
    EXPECT_EQ(g.GetSortColumn(), 1);
    EXPECT_TRUE(g.SetItemText(2, 1, QStringLiteral("b")));
    EXPECT_EQ(g.GetSortColumn(), -1);
    // Format and colours do not mark a cell; clearing the grid clears every cell.
    g.SetModified(FALSE);
    EXPECT_FALSE(g.GetModified(2, 2));
    g.SetItemFormat(3, 0, DT_RIGHT);
    EXPECT_FALSE(g.GetModified(3, 0));
    g.SetItemData(3, 0, 9);
    EXPECT_TRUE(g.GetModified(3, 0));
}

TEST(GridStore, ItemRecordsAndSearch)
{
    CGridCtrl g(5, 4, 1, 1);
    GridItem item;
    item.row = 2;
    item.col = 2;
    item.mask = GRIDIF_TEXT | GRIDIF_STATE | GRIDIF_FGCLR | GRIDIF_MARGIN;
    item.strText = QStringLiteral("t");
    item.nState = GRIDIS_SELECTED | GRIDIS_READONLY;
    item.crFgClr = RGB(9, 8, 7);
    item.nMargin = 6;
    ASSERT_TRUE(g.SetItem(&item));
    EXPECT_TRUE(g.IsCellSelected(2, 2));
    EXPECT_EQ(g.GetSelectedCount(), 1);

    GridItem read;
    read.row = 2;
    read.col = 2;
    read.mask = GRIDIF_TEXT | GRIDIF_FGCLR | GRIDIF_MARGIN | GRIDIF_FORMAT;
    ASSERT_TRUE(g.GetItem(&read));
    EXPECT_EQ(read.strText, QStringLiteral("t"));
    EXPECT_EQ(read.crFgClr, RGB(9, 8, 7));
    EXPECT_EQ(read.nMargin, 6u);
    EXPECT_EQ(read.nFormat, 0x8804u);
    read.row = 9;
    EXPECT_FALSE(g.GetItem(&read));
    EXPECT_FALSE(g.SetItem(nullptr));

    g.SetModified(FALSE);
    g.SetItemText(3, 1, QStringLiteral("m"));
    EXPECT_EQ(g.GetNextItem(CCellID(1, 1), GRIDNI_READONLY | GRIDNI_ALL), CCellID(2, 2));
    EXPECT_EQ(g.GetNextItem(CCellID(2, 2), GRIDNI_MODIFIED | GRIDNI_ALL), CCellID(3, 1));
    EXPECT_EQ(g.GetNextItem(CCellID(4, 1), GRIDNI_MODIFIED | GRIDNI_ABOVE), CCellID(3, 1));
    EXPECT_EQ(g.GetNextItem(CCellID(2, 1), GRIDNI_SELECTED | GRIDNI_TORIGHT), CCellID(2, 2));
    EXPECT_EQ(g.GetNextItem(CCellID(2, 3), GRIDNI_SELECTED | GRIDNI_BELOW), CCellID());
}

TEST(GridStore, CellTypesAndClasses)
{
    CGridCtrl g(3, 3, 1, 1);
    g.SetItemText(1, 1, QStringLiteral("keep"));
    g.SetItemFgColour(1, 1, RGB(1, 1, 1));
    CGridCellBase* before = g.GetCell(1, 1);
    ASSERT_TRUE(g.SetCellType(1, 1, RUNTIME_CLASS(CGridDefaultCell)));
    CGridCellBase* after = g.GetCell(1, 1);
    EXPECT_NE(before, after);
    EXPECT_STREQ(after->GetRuntimeClass()->m_lpszClassName, "CGridDefaultCell");
    EXPECT_EQ(after->GetText(), QStringLiteral("keep"));
    EXPECT_EQ(after->GetTextClr(), RGB(1, 1, 1));
    EXPECT_FALSE(g.SetCellType(1, 1, RUNTIME_CLASS(CGridCtrl)));
    EXPECT_FALSE(g.SetDefaultCellType(RUNTIME_CLASS(CGridCtrl)));
    EXPECT_STREQ(g.GetRuntimeClass()->m_lpszClassName, "CGridCtrl");
    EXPECT_EQ(CRuntimeClass::FromName("CGridCell"), RUNTIME_CLASS(CGridCell));
}

} // namespace

namespace {

// A state for a cell outside the grid changes nothing: no selection entry,
// no selection range starting outside, no Copy to offer.
TEST(GridStore, StateOutsideTheGridIsRefusedBeforeAnythingChanges)
{
    for (const bool virtualMode : {false, true}) {
        SCOPED_TRACE(virtualMode ? "virtual" : "stored");
        GridFixture f(0, 0, 0, 0);
        CGridCtrl& g = *f.grid;
        g.SetVirtualMode(virtualMode);
        g.SetRowCount(4);
        g.SetColumnCount(3);
        for (const CCellID& outside : {CCellID(-1, 1), CCellID(1, -1), CCellID(4, 1), CCellID(1, 3)})
            EXPECT_FALSE(g.SetItemState(outside.row, outside.col, GRIDIS_SELECTED))
                << outside.row << "," << outside.col;
        EXPECT_EQ(g.GetSelectedCount(), 0);
        EXPECT_FALSE(g.GetSelectedCellRange().IsValid());
        CCmdUI copy;
        g.OnUpdateEditCopy(&copy);
        EXPECT_FALSE(copy.IsEnabled());
        EXPECT_TRUE(g.SetItemState(1, 1, GRIDIS_SELECTED));
        EXPECT_EQ(g.GetSelectedCellRange(), CellSpan(1, 1, 1, 1));
    }
}

// Counts the cells alive, so a cell lost on the way shows.
class CountedCell : public CGridCell
{
    DECLARE_DYNCREATE(CountedCell)

public:
    CountedCell() { ++s_live; }
    ~CountedCell() override { --s_live; }
    static int s_live;
};
IMPLEMENT_DYNCREATE(CountedCell, CGridCell)
int CountedCell::s_live = 0;

// Runs out of memory when the cells it may still make are used up.
class ScarceGrid : public CGridCtrl
{
public:
    CGridCellBase* CreateCell(int row, int col) override
    {
        if (cellsLeft == 0)
            throw std::bad_alloc();
        if (cellsLeft > 0)
            --cellsLeft;
        return CGridCtrl::CreateCell(row, col);
    }
    int cellsLeft = -1;
};

TEST(GridStore, OutOfMemoryWhileAddingLeavesTheStoreAsItWas)
{
    int messages = 0;
    SetMessageBoxHandler([&](const QString&, const QString&, UINT) {
        ++messages;
        return IDOK;
    });
    {
        ScarceGrid g;
        g.SetDefaultCellType(RUNTIME_CLASS(CountedCell));
        g.SetRowCount(4);
        g.SetColumnCount(3);
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 3; ++col)
                g.SetItemText(row, col, QStringLiteral("%1%2").arg(row).arg(col));
        const auto unchanged = [&](int rows) {
            EXPECT_EQ(g.GetRowCount(), rows);
            EXPECT_EQ(g.GetColumnCount(), 3);
            EXPECT_EQ(CountedCell::s_live, rows * 3) << "no cell leaked";
            for (int row = 0; row < 4; ++row)
                for (int col = 0; col < 3; ++col)
                    EXPECT_EQ(g.GetItemText(row, col), QStringLiteral("%1%2").arg(row).arg(col)) << row << "," << col;
        };
        ASSERT_EQ(CountedCell::s_live, 12);

        g.cellsLeft = 2;
        EXPECT_EQ(g.InsertRow(QStringLiteral("new"), 2), -1);
        unchanged(4);

        // Two rows take their new cell before the third fails.
        g.cellsLeft = 2;
        EXPECT_EQ(g.InsertColumn(QStringLiteral("new"), DT_LEFT, 1), -1);
        unchanged(4);

        // Rows already made stay; the row that failed half way does not.
        g.cellsLeft = 4;
        EXPECT_FALSE(g.SetRowCount(7));
        unchanged(5);
        EXPECT_EQ(messages, 3);

        g.cellsLeft = -1;
        EXPECT_EQ(g.InsertColumn(QStringLiteral("new"), DT_LEFT, 1), 1);
        EXPECT_EQ(CountedCell::s_live, 20);
        EXPECT_EQ(g.GetItemText(1, 2), QStringLiteral("11"));
    }
    EXPECT_EQ(CountedCell::s_live, 0);
    SetMessageBoxHandler({});
}

// Every cell the grid made is destroyed exactly once, whatever moved it: the
// cells alive are always the cells the grid holds.
TEST(GridStore, EachCellIsDestroyedOnceWhateverMovesIt)
{
    {
        CGridCtrl g;
        g.SetDefaultCellType(RUNTIME_CLASS(CountedCell));
        g.SetRowCount(6);
        g.SetColumnCount(4);
        g.SetFixedRowCount(1);
        g.SetFixedColumnCount(1);
        for (int row = 1; row < 6; ++row)
            g.SetItemText(row, 1, QString(QChar(u'a' + row)));
        const auto held = [&g] {
            int counted = 0;
            for (int row = 0; row < g.GetRowCount(); ++row)
                for (int col = 0; col < g.GetColumnCount(); ++col)
                    counted += dynamic_cast<CountedCell*>(g.GetCell(row, col)) != nullptr;
            return counted;
        };
        ASSERT_EQ(CountedCell::s_live, 24);

        ASSERT_TRUE(g.SortTextItems(1, FALSE));
        EXPECT_EQ(g.GetItemText(1, 1), QStringLiteral("f"));
        EXPECT_EQ(g.GetItemText(5, 1), QStringLiteral("b"));
        EXPECT_EQ(CountedCell::s_live, 24);
        EXPECT_EQ(held(), 24);

        // A replaced cell goes; its text stays in the new one.
        ASSERT_TRUE(g.SetCellType(2, 1, RUNTIME_CLASS(CGridCell)));
        EXPECT_EQ(g.GetItemText(2, 1), QStringLiteral("e"));
        EXPECT_EQ(CountedCell::s_live, 23);

        EXPECT_TRUE(g.DeleteRow(3));
        EXPECT_TRUE(g.DeleteColumn(2));
        EXPECT_EQ(g.InsertRow(QStringLiteral("n"), 2), 2);
        EXPECT_EQ(g.InsertColumn(QStringLiteral("n"), DT_LEFT, 1), 1);
        EXPECT_TRUE(g.SetRowCount(3));
        EXPECT_TRUE(g.SetColumnCount(2));
        EXPECT_EQ(CountedCell::s_live, held());
        EXPECT_TRUE(g.DeleteAllItems());
        EXPECT_EQ(CountedCell::s_live, 0);
        g.SetRowCount(2);
        g.SetColumnCount(2);
        EXPECT_EQ(CountedCell::s_live, 4);
    }
    EXPECT_EQ(CountedCell::s_live, 0);
}

} // namespace
