#include "GridTestSupport.h"

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

// A scroll moves the pixels that stay in view and paints only the strip that
// comes in. What the window then shows must equal a grid of the same content
// and state painted whole at the same place.

namespace {

constexpr int kRows = 120;
constexpr int kCols = 8;

struct Scene
{
    int fixedCols = 0;
    bool oddLines = false;
};

void Fill(CGridCtrl& g, const Scene& scene)
{
    g.SetFixedColumnCount(scene.fixedCols);
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kCols; ++col)
            g.SetItemText(row, col, QStringLiteral("r%1c%2 text").arg(row).arg(col));
    }
    if (scene.oddLines) {
        g.SetRowHeight(7, 41);
        g.SetRowHeight(12, 0);
        g.SetRowHeight(13, 3);
        g.SetRowHeight(kRows - 2, 33);
        g.SetColumnWidth(2, 0);
        g.SetColumnWidth(3, 131);
        g.SetColumnWidth(5, 9);
    }
    g.SetItemBkColour(20, 2, RGB(0xE0, 0x40, 0x40));
    // Texts set without a paint of their own.
    g.Refresh();
}

// What the window's backing store holds: the pixels on screen, not a fresh
// rendering of the widget.
QImage Shown(QWidget& window)
{
    QApplication::processEvents();
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// A new grid put straight at the scrolled grid's place, focus and selection.
QImage PaintedWhole(const Scene& scene, CGridCtrl& scrolled)
{
    GridFixture fresh(kRows, kCols, 1, 0);
    CGridCtrl& g = *fresh.grid;
    Fill(g, scene);
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kCols; ++col)
            g.SetItemText(row, col, scrolled.GetItemText(row, col));
    }
    g.SetFocusCell(scrolled.GetFocusCell());
    const CellSpan selected = scrolled.GetSelectedCellRange();
    if (scrolled.IsValid(selected))
        g.SetSelectedRange(selected);
    g.SetScrollPos32(SB_VERT, scrolled.GetScrollPos32(SB_VERT));
    g.SetScrollPos32(SB_HORZ, scrolled.GetScrollPos32(SB_HORZ));
    g.Refresh();
    return Shown(fresh.parent);
}

class GridScrollPaint : public ::testing::TestWithParam<Scene>
{
protected:
    void SetUp() override
    {
        Fill(*f.grid, GetParam());
        f.grid->SetFocusCell(1, GetParam().fixedCols);
        Shown(f.parent);
    }

    void ExpectSameAsWhole(const char* step)
    {
        const QImage shown = Shown(f.parent);
        const QImage whole = PaintedWhole(GetParam(), *f.grid);
        ASSERT_EQ(shown.size(), whole.size()) << step;
        EXPECT_TRUE(shown == whole) << step << " at " << f.grid->GetScrollPos32(SB_VERT) << ", "
                                    << f.grid->GetScrollPos32(SB_HORZ);
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(f.grid, key, modifiers); }

    GridFixture f{kRows, kCols, 1, 0};
};

TEST_P(GridScrollPaint, EveryScrollShowsWhatAWholePaintShows)
{
    CGridCtrl& g = *f.grid;
    g.setFocus();
    QScrollBar* bar = g.verticalScrollBar();
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"top", [] {}},
        {"page down", [&] { g.OnVScroll(SB_PAGEDOWN, 0); }},
        {"two lines down",
         [&] {
             g.OnVScroll(SB_LINEDOWN, 0);
             g.OnVScroll(SB_LINEDOWN, 0);
         }},
        {"a line up", [&] { g.OnVScroll(SB_LINEUP, 0); }},
        // The focus walks off the bottom edge: the grid scrolls a line at a time.
        {"keys down past the edge",
         [&] {
             for (int i = 0; i < 40; ++i)
                 Key(Qt::Key_Down);
         }},
        {"with a selection",
         [&] {
             Key(Qt::Key_Down, Qt::ShiftModifier);
             Key(Qt::Key_Right, Qt::ShiftModifier);
         }},
        {"two columns right",
         [&] {
             g.OnHScroll(SB_LINEDOWN, 0);
             g.OnHScroll(SB_LINEDOWN, 0);
         }},
        {"a column left", [&] { g.OnHScroll(SB_LINEUP, 0); }},
        {"the bar's page down", [&] { QTest::keyClick(bar, Qt::Key_PageDown); }},
        {"last page", [&] { g.OnVScroll(SB_BOTTOM, 0); }},
        {"page up from the end", [&] { g.OnVScroll(SB_PAGEUP, 0); }},
        {"a line back down", [&] { g.OnVScroll(SB_LINEDOWN, 0); }},
        {"thumb to the middle",
         [&] {
             bar->setSliderPosition(bar->maximum() / 2);
             g.OnVScroll(SB_THUMBTRACK, 0);
         }},
        {"page up, page down",
         [&] {
             g.OnVScroll(SB_PAGEUP, 0);
             g.OnVScroll(SB_PAGEDOWN, 0);
         }},
    };
    for (const auto& [step, scroll] : steps) {
        scroll();
        ExpectSameAsWhole(step);
    }
}

// A cell changed and asked to be painted, then a scroll before the paint: the
// cell's new look arrives where the cell has moved to.
TEST_P(GridScrollPaint, APaintPendingBeforeTheScrollLandsWhereTheCellMoved)
{
    CGridCtrl& g = *f.grid;
    g.OnVScroll(SB_PAGEDOWN, 0);
    Shown(f.parent);
    const int row = g.GetTopleftNonFixedCell().row + 3;
    g.SetItemText(row, 4, QStringLiteral("changed"));
    g.RedrawCell(row, 4);
    g.OnVScroll(SB_LINEDOWN, 0);
    ExpectSameAsWhole("pending paint, a line down");
    g.SetItemText(row, 4, QStringLiteral("again"));
    g.RedrawCell(row, 4);
    g.OnVScroll(SB_LINEUP, 0);
    g.OnVScroll(SB_LINEUP, 0);
    ExpectSameAsWhole("pending paint, two lines up");
}

INSTANTIATE_TEST_SUITE_P(Scenes, GridScrollPaint, ::testing::Values(Scene{0, false}, Scene{1, true}),
                         [](const ::testing::TestParamInfo<Scene>& info) {
                             return info.param.oddLines ? std::string("FixedColumnOddLines") : std::string("Plain");
                         });

} // namespace
