#include "GridTestSupport.h"

#include "cells/CGridCellBase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// One fixed row and one fixed column; column 1 holds the keys.
struct SortGrid : GridFixture
{
    explicit SortGrid(const QStringList& keys) : GridFixture(static_cast<int>(keys.size()) + 1, 3, 1, 1)
    {
        for (int i = 0; i < keys.size(); ++i) {
            const int row = i + 1;
            grid->SetItemText(row, 0, QStringLiteral("h%1").arg(row));
            grid->SetItemText(row, 1, keys[i]);
            grid->SetItemText(row, 2, QStringLiteral("v%1").arg(row));
            grid->SetRowHeight(row, 20 + row);
        }
        grid->SetItemText(0, 1, QStringLiteral("Key"));
    }
    QStringList Column(int col) const
    {
        QStringList texts;
        for (int row = 1; row < grid->GetRowCount(); ++row)
            texts << grid->GetItemText(row, col);
        return texts;
    }
};

TEST(GridSort, RowsMoveWithTheirHeightsHeadersStay)
{
    SortGrid f({QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("B")});
    CGridCtrl& g = *f.grid;
    g.SetFocusCell(2, 2);
    g.SetSelectedRange(1, 1, 2, 2);
    EXPECT_TRUE(g.SortTextItems(1, TRUE));
    // Ordinal: upper case before lower case.
    EXPECT_EQ(f.Column(1), QStringList({"B", "a", "b", "c"}));
    EXPECT_EQ(f.Column(2), QStringList({"v4", "v2", "v3", "v1"}));
    EXPECT_EQ(f.Column(0), QStringList({"h1", "h2", "h3", "h4"}));
    EXPECT_EQ(g.GetItemText(0, 1), QStringLiteral("Key"));
    EXPECT_EQ(g.GetRowHeight(1), 24);
    EXPECT_EQ(g.GetRowHeight(4), 21);
    EXPECT_EQ(g.GetSelectedCount(), 0);
    EXPECT_FALSE(g.IsValid(g.GetFocusCell()));
    EXPECT_EQ(g.GetSortColumn(), 1);
    // Cells know their new rows.
    EXPECT_EQ(g.GetCell(1, 1)->GetText(), g.GetItemText(1, 1));

    EXPECT_TRUE(g.SortTextItems(1, FALSE));
    EXPECT_EQ(f.Column(1), QStringList({"c", "b", "a", "B"}));
    EXPECT_FALSE(g.GetSortAscending());
}

TEST(GridSort, FewerThanTwoRowsRecordsButMovesNothing)
{
    SortGrid f({QStringLiteral("z")});
    CGridCtrl& g = *f.grid;
    g.SetFocusCell(1, 1);
    EXPECT_FALSE(g.SortTextItems(2, FALSE));
    EXPECT_EQ(g.GetSortColumn(), 2);
    EXPECT_FALSE(g.GetSortAscending());
    EXPECT_FALSE(g.IsValid(g.GetFocusCell()));
    EXPECT_FALSE(g.SortTextItems(3, TRUE));
}

int g_comparisons = 0;
int CountingCompare(LPARAM a, LPARAM b, LPARAM data)
{
    ++g_comparisons;
    return CGridCtrl::CompareCellTexts(a, b, data);
}

int ByLength(LPARAM a, LPARAM b, LPARAM)
{
    const auto* first = reinterpret_cast<const CGridCellBase*>(a);
    const auto* second = reinterpret_cast<const CGridCellBase*>(b);
    return static_cast<int>(first->GetText().size() - second->GetText().size());
}

TEST(GridSort, EqualKeysAreNotSwappedAndTheFunctionCanBeReplaced)
{
    SortGrid f({QStringLiteral("k"), QStringLiteral("k"), QStringLiteral("k")});
    CGridCtrl& g = *f.grid;
    EXPECT_TRUE(g.SortItems(CountingCompare, 1, TRUE));
    EXPECT_GT(g_comparisons, 0);
    EXPECT_EQ(f.Column(2), QStringList({"v1", "v2", "v3"}));

    SortGrid lengths({QStringLiteral("ccc"), QStringLiteral("a"), QStringLiteral("bb")});
    lengths.grid->SetCompareFunction(ByLength);
    EXPECT_TRUE(lengths.grid->SortItems(1, FALSE));
    EXPECT_EQ(lengths.Column(1), QStringList({"ccc", "bb", "a"}));
    // The text sort ignores the replaced function.
    EXPECT_TRUE(lengths.grid->SortTextItems(1, TRUE));
    EXPECT_EQ(lengths.Column(1), QStringList({"a", "bb", "ccc"}));
    lengths.grid->SetCompareFunction(nullptr);
    EXPECT_TRUE(lengths.grid->SortItems(1, FALSE));
    EXPECT_EQ(lengths.Column(1), QStringList({"ccc", "bb", "a"}));
}

// Many keys with repeats: the result is ordered and no row is lost.
TEST(GridSort, LargerSortIsOrderedAndKeepsEveryRow)
{
    QStringList keys;
    for (int i = 0; i < 200; ++i)
        keys << QStringLiteral("%1").arg((i * 37) % 50, 2, 10, QChar(u'0'));
    SortGrid f(keys);
    EXPECT_TRUE(f.grid->SortTextItems(1, TRUE));
    QStringList sorted = keys;
    sorted.sort();
    EXPECT_EQ(f.Column(1), sorted);
    QStringList values = f.Column(2);
    values.sort();
    QStringList expected;
    for (int row = 1; row <= 200; ++row)
        expected << QStringLiteral("v%1").arg(row);
    expected.sort();
    EXPECT_EQ(values, expected);
}

// Plain numbers as keys. Past the budget every pair answers "equal", so
// that a sort gone quadratic still ends soon and the count tells.
int g_budget = 0;
int BudgetedNumbers(LPARAM a, LPARAM b, LPARAM)
{
    if (++g_comparisons > g_budget)
        return 0;
    return (a > b) - (a < b);
}

// Keys that rise and then fall split off a row or two per pass around the
// middle key; the sort must stay within n log n comparisons all the same,
// and every row must travel with its key.
TEST(GridSort, RisingThenFallingKeysStayWithinNLogNComparisons)
{
    constexpr int kRows = 20000;
    const auto keyOf = [](int row) { return static_cast<LPARAM>(row < kRows / 2 ? row + 1 : kRows - row); };
    for (const BOOL ascending : {TRUE, FALSE}) {
        SCOPED_TRACE(ascending ? "ascending" : "descending");
        CGridCtrl g;
        g.SetColumnCount(1);
        g.SetRowCount(kRows);
        std::vector<LPARAM> keys;
        for (int row = 0; row < kRows; ++row) {
            g.SetItemText(row, 0, QString::number(row));
            keys.push_back(keyOf(row));
        }
        g_comparisons = 0;
        g_budget = static_cast<int>(4 * kRows * std::log2(kRows));
        ASSERT_TRUE(g.SortRowsByKeys(BudgetedNumbers, ascending, 0, 0, kRows - 1, keys));
        EXPECT_LE(g_comparisons, g_budget);
        if (ascending)
            EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
        else
            EXPECT_TRUE(std::is_sorted(keys.rbegin(), keys.rend()));
        int moved = 0;
        for (int row = 0; row < kRows; ++row)
            moved += keyOf(g.GetItemText(row, 0).toInt()) == keys[static_cast<std::size_t>(row)] ? 0 : 1;
        EXPECT_EQ(moved, 0) << "rows apart from their keys";
    }
}

TEST(GridSort, HeaderClickSortsAscendingThenDescending)
{
    SortGrid f({QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")});
    CGridCtrl& g = *f.grid;
    g.SortByHeaderClick(CCellID(0, 1));
    EXPECT_EQ(f.Column(1), QStringList({"b", "c", "a"}));
    g.SetHeaderSort(TRUE);
    g.SortByHeaderClick(CCellID(0, 1));
    EXPECT_EQ(f.Column(1), QStringList({"a", "b", "c"}));
    g.SortByHeaderClick(CCellID(0, 1));
    EXPECT_EQ(f.Column(1), QStringList({"c", "b", "a"}));
    g.SortByHeaderClick(CCellID(0, 2));
    EXPECT_EQ(g.GetSortColumn(), 2);
    EXPECT_TRUE(g.GetSortAscending());
    EXPECT_EQ(f.Column(2), QStringList({"v1", "v2", "v3"}));
    // The row-header column does not sort.
    g.SortByHeaderClick(CCellID(0, 0));
    EXPECT_EQ(g.GetSortColumn(), 2);
}

} // namespace
