#include "GridTestSupport.h"

#include "cells/CGridCell.h"

#include <QApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

// Heights 20, with rows 3 and 4 hidden; widths 50; one fixed row and column.
struct HiddenRows : GridFixture
{
    HiddenRows() : GridFixture(40, 6, 1, 1, 300, 200)
    {
        for (int row = 0; row < grid->GetRowCount(); ++row)
            grid->SetRowHeight(row, 20);
        for (int col = 0; col < grid->GetColumnCount(); ++col)
            grid->SetColumnWidth(col, 50);
        grid->SetRowHeight(3, 0);
        grid->SetRowHeight(4, 0);
    }
};

TEST(GridGeometry, RectanglesAndHitTestingSkipHiddenRows)
{
    HiddenRows f;
    CGridCtrl& g = *f.grid;
    CRect rect;
    ASSERT_TRUE(g.GetCellRect(5, 2, &rect));
    EXPECT_EQ(rect, CRect(100, 60, 149, 79)); // inclusive right and bottom
    EXPECT_EQ(g.GetCellFromPt(CPoint(100, 60)), CCellID(5, 2));
    EXPECT_EQ(g.GetCellFromPt(CPoint(99, 59)), CCellID(2, 1));
    EXPECT_EQ(g.GetCellFromPt(CPoint(10, 10)), CCellID(0, 0));
    EXPECT_EQ(g.GetCellFromPt(CPoint(10, 10), FALSE), CCellID(-1, -1));
    EXPECT_EQ(g.GetCellFromPt(CPoint(299, 70)).col, 5);
    g.SetColumnCount(4);
    EXPECT_EQ(g.GetCellFromPt(CPoint(299, 70)).col, -1);

    ASSERT_TRUE(g.GetCellRangeRect(CellSpan(1, 1, 5, 2), &rect));
    EXPECT_EQ(rect, CRect(50, 20, 149, 79));
    EXPECT_TRUE(g.MouseOverRowResizeArea(CPoint(10, 78)));
    EXPECT_FALSE(g.MouseOverRowResizeArea(CPoint(10, 70)));
    EXPECT_TRUE(g.MouseOverColumnResizeArea(CPoint(101, 10)));
    EXPECT_FALSE(g.MouseOverColumnResizeArea(CPoint(101, 30)));
}

TEST(GridGeometry, VisibilityAndScrolledOffCells)
{
    HiddenRows f;
    CGridCtrl& g = *f.grid;
    EXPECT_TRUE(g.IsCellVisible(5, 2));
    EXPECT_FALSE(g.IsCellVisible(30, 2));
    g.EnsureVisible(30, 2);
    EXPECT_TRUE(g.IsCellVisible(30, 2));
    EXPECT_FALSE(g.IsCellVisible(2, 2));
    EXPECT_TRUE(g.IsCellVisible(0, 2)); // the fixed row never scrolls away
    POINT origin;
    EXPECT_FALSE(g.GetCellOrigin(2, 2, &origin));
    CRect rect;
    ASSERT_TRUE(g.GetCellRect(30, 2, &rect));
    EXPECT_LE(rect.bottom, g.GetClientRect().bottom);
    CGridCtrl unplaced(3, 3);
    EXPECT_FALSE(unplaced.IsCellVisible(1, 1));
}

// A cell shows when no line from the first one drawn up to its own begins at
// or beyond the client's edge: walked line by line, as a reference.
bool ShownByWalking(CGridCtrl& g, int row, int col)
{
    const CCellID topLeft = g.GetTopleftNonFixedCell();
    const CRect client = g.GetClientRect();
    const auto walk = [](auto size, int fixed, int first, int index, int limit) {
        int edge = 0;
        for (int i = 0; i < fixed && i < index; ++i)
            edge += size(i);
        for (int i = index < fixed ? index : first; i <= index; ++i) {
            if (edge >= limit)
                return false;
            edge += size(i);
        }
        return true;
    };
    if ((row >= g.GetFixedRowCount() && row < topLeft.row) || (col >= g.GetFixedColumnCount() && col < topLeft.col))
        return false;
    return walk([&](int i) { return g.GetColumnWidth(i); }, g.GetFixedColumnCount(), topLeft.col, col, client.right) &&
           walk([&](int i) { return g.GetRowHeight(i); }, g.GetFixedRowCount(), topLeft.row, row, client.bottom);
}

TEST(GridGeometry, VisibilityAgreesWithWalkingTheLinesWhereverScrolled)
{
    HiddenRows f;
    CGridCtrl& g = *f.grid;
    g.SetColumnWidth(2, 0);
    g.SetRowHeight(12, 7);
    for (const CCellID& target : {CCellID(1, 1), CCellID(20, 5), CCellID(39, 3), CCellID(5, 1)}) {
        g.EnsureVisible(target.row, target.col);
        for (int row = 0; row < g.GetRowCount(); ++row) {
            for (int col = 0; col < g.GetColumnCount(); ++col)
                ASSERT_EQ(bool(g.IsCellVisible(row, col)), ShownByWalking(g, row, col)) << row << "," << col;
        }
    }
}

TEST(GridGeometry, ScrollBarsAppearOnlyWhenNeeded)
{
    GridFixture f(3, 3, 1, 1, 300, 200);
    CGridCtrl& g = *f.grid;
    for (int col = 0; col < 3; ++col)
        g.SetColumnWidth(col, 50);
    EXPECT_FALSE(g.IsScrollBarShown(SB_VERT));
    EXPECT_FALSE(g.IsScrollBarShown(SB_HORZ));
    EXPECT_EQ(g.GetScrollMax(SB_VERT), 0);
    EXPECT_EQ(g.GetScrollMax(SB_HORZ), 0);

    // A wide column brings the horizontal bar...
    g.SetColumnWidth(2, 1000);
    QApplication::processEvents();
    EXPECT_TRUE(g.IsScrollBarShown(SB_HORZ));
    EXPECT_FALSE(g.IsScrollBarShown(SB_VERT));
    EXPECT_EQ(g.GetScrollMax(SB_HORZ), g.GetColumnWidth(1) + 1000 - 1);

    // ...and rows that only fit without it then need the vertical one too.
    const int clientHeight = g.GetClientRect().Height() + g.horizontalScrollBar()->sizeHint().height();
    g.SetRowHeight(1, clientHeight - g.GetFixedRowHeight() - g.GetRowHeight(2) - 2);
    QApplication::processEvents();
    EXPECT_TRUE(g.IsScrollBarShown(SB_VERT));
    EXPECT_TRUE(g.IsScrollBarShown(SB_HORZ));

    g.EnableScrollBars(SB_VERT, FALSE);
    QApplication::processEvents();
    EXPECT_FALSE(g.IsScrollBarShown(SB_VERT));
}

TEST(GridGeometry, LineAndPageScrollingFollowTheGridsRules)
{
    HiddenRows f;
    CGridCtrl& g = *f.grid;
    g.OnVScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(g.GetScrollPos32(SB_VERT), 20);
    EXPECT_EQ(g.GetTopleftNonFixedCell().row, 2);
    g.OnVScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(g.GetScrollPos32(SB_VERT), 40);
    EXPECT_EQ(g.GetTopleftNonFixedCell().row, 3); // hidden: shows as row 5 does
    g.OnVScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(g.GetScrollPos32(SB_VERT), 60); // moved by row 5, past the hidden rows
    EXPECT_EQ(g.GetTopleftNonFixedCell().row, 6);
    g.OnVScroll(SB_LINEUP, 0);
    g.OnVScroll(SB_LINEUP, 0);
    EXPECT_EQ(g.GetTopleftNonFixedCell().row, 2);
    g.OnVScroll(SB_PAGEDOWN, 0);
    EXPECT_EQ(g.GetScrollPos32(SB_VERT), 20 + g.GetClientRect().Height() - 20);
    g.OnVScroll(SB_BOTTOM, 0);
    const int bottom = g.GetScrollPos32(SB_VERT);
    EXPECT_EQ(bottom, g.verticalScrollBar()->maximum());
    EXPECT_EQ(g.GetVisibleNonFixedCellRange().GetMaxRow(), g.GetRowCount() - 1);
    g.OnVScroll(SB_PAGEDOWN, 0);
    EXPECT_EQ(g.GetScrollPos32(SB_VERT), bottom);
    g.OnVScroll(SB_TOP, 0);
    EXPECT_EQ(g.GetScrollPos32(SB_VERT), 0);
    g.OnHScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(g.GetTopleftNonFixedCell().col, 2);

    // The bar's own buttons go through the same handler.
    g.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g.GetScrollPos32(SB_VERT), 20);
    g.verticalScrollBar()->setSliderPosition(47);
    EXPECT_EQ(g.GetScrollPos32(SB_VERT), 47);
}

// The top-left cell comes from prefix sums; the plain walk must agree.
TEST(GridGeometry, TopLeftCellMatchesThePlainWalk)
{
    HiddenRows f;
    CGridCtrl& g = *f.grid;
    g.SetRowHeight(10, 7);
    g.SetRowHeight(11, 0);
    const auto plainTopLeftRow = [&](int pos) {
        int row = g.GetFixedRowCount();
        int sum = 0;
        while (sum < pos && row < g.GetRowCount() - 1)
            sum += g.GetRowHeight(row++);
        return row;
    };
    for (int pos = 0; pos <= g.verticalScrollBar()->maximum(); ++pos) {
        g.SetScrollPos32(SB_VERT, pos);
        ASSERT_EQ(g.GetTopleftNonFixedCell().row, plainTopLeftRow(pos)) << "pos " << pos;
    }
}

TEST(GridGeometry, EnsureVisibleStopsWhenACellIsTallerThanTheWindow)
{
    HiddenRows f;
    CGridCtrl& g = *f.grid;
    g.SetRowHeight(20, 1000);
    g.EnsureVisible(20, 1);
    CRect rect;
    ASSERT_TRUE(g.GetCellRect(20, 1, &rect));
    EXPECT_EQ(rect.top, g.GetFixedRowHeight());
}

TEST(GridGeometry, AutoSizeRespectsHiddenLinesAndTheWindow)
{
    GridFixture f(3, 3, 1, 1, 200, 150);
    CGridCtrl& g = *f.grid;
    g.SetItemText(1, 1, QString(200, u'W'));
    ASSERT_TRUE(g.AutoSizeColumn(1));
    EXPECT_EQ(g.GetColumnWidth(1), g.GetClientRect().Width() - 4 - g.GetFixedColumnWidth());

    g.SetColumnWidth(2, 0);
    g.SetItemText(1, 2, QStringLiteral("text"));
    EXPECT_FALSE(g.AutoSizeColumn(2));
    g.AutoSize();
    EXPECT_EQ(g.GetColumnWidth(2), 0);

    g.SetItemText(2, 1, QStringLiteral("a\nb\nc"));
    g.SetItemFormat(2, 1, DT_WORDBREAK);
    const int before = g.GetRowHeight(2);
    ASSERT_TRUE(g.AutoSizeRow(2));
    EXPECT_GT(g.GetRowHeight(2), before);
    g.SetRowHeight(1, 0);
    EXPECT_FALSE(g.AutoSizeRow(1));

    g.ExpandColumnsToFit(FALSE);
    EXPECT_EQ(g.GetVirtualWidth(), g.GetClientRect().Width());
}

// Records the visibility each cell was last told; never told counts as not visible.
class VisibilityCell : public CGridCell
{
    DECLARE_DYNCREATE(VisibilityCell)

public:
    void SetVisible(BOOL visible) override
    {
        m_visible = visible;
        ++m_calls;
    }
    BOOL m_visible = FALSE;
    int m_calls = 0;
};
IMPLEMENT_DYNCREATE(VisibilityCell, CGridCell)

TEST(GridGeometry, PaintTellsEveryCellItsVisibilityAsThePlainPassWould)
{
    GridFixture f(0, 0, 0, 0, 300, 200);
    CGridCtrl& g = *f.grid;
    g.SetDefaultCellType(RUNTIME_CLASS(VisibilityCell));
    g.SetRowCount(200);
    g.SetColumnCount(12);
    g.SetFixedRowCount(1);
    g.SetFixedColumnCount(1);
    const auto check = [&] {
        f.Render();
        const CellSpan span = g.GetVisibleNonFixedCellRange();
        for (int row = 0; row < g.GetRowCount(); ++row)
            for (int col = 0; col < g.GetColumnCount(); ++col) {
                const auto* cell = static_cast<VisibilityCell*>(g.GetCell(row, col));
                ASSERT_EQ(static_cast<bool>(cell->m_visible), span.InRange(row, col)) << row << "," << col;
            }
    };
    check();
    g.OnVScroll(SB_PAGEDOWN, 0);
    check();
    g.OnHScroll(SB_LINEDOWN, 0);
    g.InsertRow(QStringLiteral("x"), 5);
    check();
    g.OnVScroll(SB_BOTTOM, 0);
    check();
    // A cell that stays visible is not told again.
    const auto* kept = static_cast<VisibilityCell*>(g.GetCell(g.GetRowCount() - 1, 2));
    const int calls = kept->m_calls;
    f.Render();
    EXPECT_EQ(kept->m_calls, calls);
}

} // namespace
