// The watch grid's scrolls move the pixels that stay in view and paint only
// the strip that comes in: check boxes, the entry row and the focus included,
// the window shows what a watch grid painted whole at the same place shows.
#include "FakeRuntime.h"
#include "TestHost.h"

#include "watch/CGridQuillon.h"
#include "watch/WatchListRow.h"

#include <QApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<WatchListRow> Rows()
{
    std::vector<WatchListRow> rows;
    for (int i = 0; i < 90; ++i)
        rows.push_back({QStringLiteral("Plant.Unit%1.Level").arg(i), i % 3 == 0});
    return rows;
}

QImage Shown(QWidget& window)
{
    QApplication::processEvents();
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

class WatchScrollPaint : public ::testing::Test
{
protected:
    WatchScrollPaint()
    {
        f.grid->AppendWatchRows(Rows());
        f.grid->SetFocusCell(1, CGridQuillon::ColTag);
        Shown(f.host);
    }

    void ExpectSameAsWhole(const char* step)
    {
        const QImage shown = Shown(f.host);
        WatchGridFixture fresh{&rt};
        fresh.grid->AppendWatchRows(Rows());
        fresh.grid->SetFocusCell(f.grid->GetFocusCell());
        fresh.grid->SetScrollPos32(SB_VERT, f.grid->GetScrollPos32(SB_VERT));
        fresh.grid->Refresh();
        EXPECT_TRUE(shown == Shown(fresh.host)) << step << " at " << f.grid->GetScrollPos32(SB_VERT);
    }

    FakeRuntime rt;
    WatchGridFixture f{&rt};
};

TEST_F(WatchScrollPaint, ScrolledRowsShowWhatAWholePaintShows)
{
    CGridQuillon& g = *f.grid;
    const std::vector<std::pair<const char*, UINT>> steps = {
        {"page down", SB_PAGEDOWN}, {"a line up", SB_LINEUP},     {"last page, the entry row", SB_BOTTOM},
        {"page up", SB_PAGEUP},     {"a line down", SB_LINEDOWN}, {"another line down", SB_LINEDOWN},
    };
    for (const auto& [step, code] : steps) {
        g.OnVScroll(code, 0);
        ExpectSameAsWhole(step);
    }
    g.SetFocusCell(g.GetTopleftNonFixedCell().row, CGridQuillon::ColTag);
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(&g, Qt::Key_Down);
    ExpectSameAsWhole("keys down past the edge");
}

} // namespace
