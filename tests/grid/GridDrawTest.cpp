#include "GridTestSupport.h"

#include "cells/CGridCellBase.h"
#include "platform/VisualStyles.h"

#include <QDir>
#include <QPainter>

#include <climits>

#include <gtest/gtest.h>

namespace {

// The classic look by default, so that the pixels are the grid's own.
class GridDraw : public ::testing::Test
{
protected:
    void SetUp() override { SetVisualStylesEnabled(false); }
    void TearDown() override { SetVisualStylesEnabled(true); }
};

// 4 columns of 60, rows of 20, one fixed row and column, in a 400x300 window.
struct SmallGrid : GridFixture
{
    SmallGrid() : GridFixture(5, 4, 1, 1)
    {
        for (int row = 0; row < grid->GetRowCount(); ++row)
            grid->SetRowHeight(row, 20);
        for (int col = 0; col < grid->GetColumnCount(); ++col)
            grid->SetColumnWidth(col, 60);
    }
};

int CountColour(const QImage& image, const QRect& area, QRgb colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

TEST_F(GridDraw, GridLinesByModeAndTheAreaBeyondTheCells)
{
    SmallGrid f;
    CGridCtrl& g = *f.grid;
    const QRgb line = ToRgb(g.GetGridLineColor());
    const QRgb window = ToRgb(g.GetDefaultCell(FALSE, FALSE)->GetBackClr());
    QImage image = f.Render();
    EXPECT_EQ(image.pixel(119, 50), line); // right edge of column 1
    EXPECT_EQ(image.pixel(90, 39), line);  // bottom edge of row 1
    EXPECT_EQ(image.pixel(300, 50), ToRgb(g.GetGridBkColor()));
    EXPECT_EQ(image.pixel(100, 150), ToRgb(g.GetGridBkColor()));

    g.SetGridLines(GVL_HORZ);
    image = f.Render();
    EXPECT_EQ(image.pixel(119, 50), window);
    EXPECT_EQ(image.pixel(90, 39), line);

    g.SetGridLines(GVL_NONE);
    image = f.Render();
    EXPECT_EQ(image.pixel(119, 50), window);
    EXPECT_EQ(image.pixel(90, 39), window);

    g.SetGridLineColor(RGB(255, 0, 0));
    g.SetGridLines(GVL_VERT);
    EXPECT_EQ(f.Pixel(119, 50), qRgb(255, 0, 0));
}

TEST_F(GridDraw, FocusAndSelectionColours)
{
    SmallGrid f;
    CGridCtrl& g = *f.grid;
    g.SetHighLightColour(RGB(0, 0, 200));
    g.SetSelectedRange(1, 1, 2, 2);
    g.SetFocusCell(1, 1);
    const QImage image = f.Render();
    // The focused, selected cell: focus-cell background inside a frame in the focus text colour.
    EXPECT_EQ(image.pixel(70, 30), ToRgb(g.GetFocusCellBkColour()));
    EXPECT_EQ(image.pixel(60, 30), ToRgb(g.GetFocusCellTextColour()));
    EXPECT_EQ(image.pixel(70, 20), ToRgb(g.GetFocusCellTextColour()));
    // A selected cell without focus: the highlight colour.
    EXPECT_EQ(image.pixel(150, 50), qRgb(0, 0, 200));
    EXPECT_EQ(image.pixel(150, 70), ToRgb(g.GetDefaultCell(FALSE, FALSE)->GetBackClr()));
}

TEST_F(GridDraw, BadQualityMasksEveryCharacter)
{
    SmallGrid f;
    CGridCtrl& g = *f.grid;
    g.SetItemText(1, 1, QStringLiteral("12.5"));
    g.GetCell(1, 1)->SetQuality(0);
    g.SetItemText(2, 1, QStringLiteral("????"));
    const QImage image = f.Render();
    EXPECT_EQ(image.copy(60, 20, 59, 19), image.copy(60, 40, 59, 19));
    EXPECT_EQ(g.GetItemText(1, 1), QStringLiteral("12.5"));
}

TEST_F(GridDraw, SortArrowNarrowsTheTextArea)
{
    SmallGrid f;
    CGridCtrl& g = *f.grid;
    g.SetRowHeight(0, 24);
    g.SetItemText(0, 2, QStringLiteral("MMM"));
    g.SetItemFormat(0, 2, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    const QRgb text = ToRgb(g.GetDefaultCell(TRUE, FALSE)->GetTextClr());
    const auto rightmostText = [&](const QImage& image) {
        for (int x = 178; x >= 120; --x)
            if (CountColour(image, QRect(x, 3, 1, 18), text) > 0)
                return x;
        return -1;
    };
    const int plain = rightmostText(f.Render());
    g.SetSortColumn(2);
    g.SetSortAscending(TRUE);
    const QImage sorted = f.Render();
    const QRgb shadow = ToRgb(GetSysColor(COLOR_BTNSHADOW));
    EXPECT_GT(CountColour(sorted, QRect(160, 2, 19, 21), shadow), 4);
    // Pointing up: the apex row has fewer arrow pixels than the base row.
    int apex = -1;
    int base = -1;
    for (int y = 2; y < 23; ++y) {
        if (CountColour(sorted, QRect(160, y, 19, 1), shadow) > 0) {
            if (apex < 0)
                apex = y;
            base = y;
        }
    }
    ASSERT_GT(base, apex);
    EXPECT_LT(CountColour(sorted, QRect(160, apex, 19, 1), shadow),
              CountColour(sorted, QRect(160, base, 19, 1), shadow));
    EXPECT_LT(rightmostText(sorted), plain - 5);
}

TEST_F(GridDraw, HiddenRowsTakeNoPixels)
{
    SmallGrid hidden;
    SmallGrid removed;
    for (int row = 1; row < 5; ++row) {
        hidden.grid->SetItemText(row, 1, QStringLiteral("row %1").arg(row));
        removed.grid->SetItemText(row, 1, QStringLiteral("row %1").arg(row));
    }
    hidden.grid->SetRowHeight(2, 0);
    removed.grid->DeleteRow(2);
    EXPECT_EQ(hidden.Render(), removed.Render());
}

TEST_F(GridDraw, RedrawOffPaintsNothingNew)
{
    SmallGrid f;
    CGridCtrl& g = *f.grid;
    const QImage before = f.Render();
    g.SetRedraw(FALSE);
    g.SetItemBkColour(1, 1, RGB(0, 255, 0));
    // With drawing off, OnDraw leaves the context untouched.
    QImage canvas(400, 300, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        CDC dc(&painter);
        g.OnDraw(&dc);
    }
    EXPECT_EQ(canvas.pixel(70, 30), qRgb(0, 0, 0));
    g.SetRedraw(TRUE);
    EXPECT_EQ(f.Pixel(70, 30), qRgb(0, 255, 0));
    EXPECT_NE(before.pixel(70, 30), qRgb(0, 255, 0));
}

TEST_F(GridDraw, RedrawCellIntoAContextMatchesThePaint)
{
    SmallGrid f;
    CGridCtrl& g = *f.grid;
    g.SetItemText(2, 2, QStringLiteral("cell"));
    g.SetDoubleBuffering(FALSE);
    const QImage painted = f.Render();
    QImage canvas(painted.size(), QImage::Format_RGB32);
    canvas.fill(ToRgb(g.GetDefaultCell(FALSE, FALSE)->GetBackClr()));
    {
        QPainter painter(&canvas);
        CDC dc(&painter);
        EXPECT_TRUE(g.RedrawCell(2, 2, &dc));
    }
    EXPECT_EQ(canvas.copy(120, 40, 60, 20), painted.copy(120, 40, 60, 20));
}

TEST_F(GridDraw, ThemedHeadersDrawWithTheStyle)
{
    SmallGrid f;
    const QImage classic = f.Render();
    SetVisualStylesEnabled(true);
    f.grid->viewport()->update();
    EXPECT_NE(f.Render().copy(60, 0, 60, 20), classic.copy(60, 0, 60, 20));
}

// The picture a reviewer looks at: header row, focus, selection, a bad value.
TEST_F(GridDraw, OverviewPicture)
{
    GridFixture f(8, 4, 1, 0, 420, 200);
    CGridCtrl& g = *f.grid;
    const char* headings[] = {"Tag/Expression", "Value", "Quality", "Continuous"};
    for (int col = 0; col < 4; ++col) {
        g.SetItemText(0, col, QString::fromLatin1(headings[col]));
        g.SetColumnWidth(col, col == 0 ? 150 : 85);
    }
    const char* tags[] = {"Plant.Tank1.Level", "Plant.Tank1.Temp", "Plant.Pump2.Speed", "Plant.Valve3.Open",
                          "Plant.Tank2.Level", "Plant.Line.Count", "Plant.Alarm"};
    for (int row = 1; row < 8; ++row) {
        g.SetItemText(row, 0, QString::fromLatin1(tags[row - 1]));
        g.SetItemText(row, 1, QString::number(row * 12.5));
        g.SetItemText(row, 2, QStringLiteral("GOOD"));
        g.SetItemFormat(row, 1, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    g.GetCell(4, 1)->SetQuality(0);
    g.SetItemText(4, 2, QStringLiteral("BAD"));
    g.SetSelectedRange(2, 0, 3, 3);
    g.SetFocusCell(2, 1);
    g.SetSortColumn(0);
    const QImage image = f.Render();
    const QString dir = QStringLiteral(QUILLON_TEST_OUTPUT_DIR);
    QDir().mkpath(dir);
    ASSERT_TRUE(image.save(dir + QStringLiteral("/grid-overview.png")));
    EXPECT_EQ(image.pixel(200, 75), ToRgb(g.GetHighLightColour()));
}

// Sizes up to INT_MAX: the grid draws a line as wide as it can use, hit tests
// and scrolls past it without any total running over.
TEST_F(GridDraw, HugeLinesDrawHitTestAndScroll)
{
    SmallGrid f;
    CGridCtrl& g = *f.grid;
    const QRgb line = ToRgb(g.GetGridLineColor());
    const QRgb window = ToRgb(g.GetDefaultCell(FALSE, FALSE)->GetBackClr());
    const QRgb header = ToRgb(g.GetDefaultCell(TRUE, FALSE)->GetBackClr());
    ASSERT_TRUE(g.SetColumnWidth(1, INT_MAX));
    ASSERT_TRUE(g.SetRowHeight(2, INT_MAX));
    EXPECT_GT(g.GetColumnWidth(1), 100000);
    EXPECT_GT(g.GetVirtualHeight(), 100000);

    QImage image = f.Render();
    const QString dir = QStringLiteral(QUILLON_TEST_OUTPUT_DIR);
    QDir().mkpath(dir);
    ASSERT_TRUE(image.save(dir + QStringLiteral("/grid-huge-lines.png")));
    // Column 1 reaches the right edge, row 2 the bottom (the scroll bars take
    // their share); the lines of row 1 and column 0 run across them.
    const int right = image.width() - 2;
    const int bottom = image.height() - 2;
    EXPECT_EQ(image.pixel(right, 30), window);
    EXPECT_EQ(image.pixel(right, 39), line);
    EXPECT_EQ(image.pixel(right, 10), header);
    EXPECT_EQ(image.pixel(200, bottom), window);
    EXPECT_EQ(image.pixel(30, bottom), ToRgb(g.GetDefaultCell(FALSE, TRUE)->GetBackClr()));
    EXPECT_EQ(g.GetCellFromPt(CPoint(right, bottom)), CCellID(2, 1));

    // A line step goes past the huge line; the last steps stop at the end.
    g.OnHScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(g.GetTopleftNonFixedCell(), CCellID(1, 2));
    POINT origin;
    ASSERT_TRUE(g.GetCellOrigin(1, 2, &origin));
    EXPECT_EQ(origin.x, 60);
    for (int i = 0; i < 4; ++i) {
        g.OnHScroll(SB_LINEDOWN, 0);
        g.OnVScroll(SB_LINEDOWN, 0);
        g.OnVScroll(SB_PAGEDOWN, 0);
    }
    EXPECT_GE(g.GetScrollPos32(SB_HORZ), 0);
    EXPECT_GE(g.GetScrollPos32(SB_VERT), 0);
    EXPECT_GT(g.GetTopleftNonFixedCell().row, 2);
    image = f.Render();
    EXPECT_EQ(image.pixel(30, 30), ToRgb(g.GetDefaultCell(FALSE, TRUE)->GetBackClr()));
    g.OnVScroll(SB_TOP, 0);
    g.OnHScroll(SB_TOP, 0);
    EXPECT_EQ(g.GetTopleftNonFixedCell(), CCellID(1, 1));
}

} // namespace
