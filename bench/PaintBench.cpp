#include "PaintBench.h"

#include "BenchClock.h"
#include "BenchHost.h"
#include "BenchTable.h"
#include "PeerTable.h"
#include "PlainGridShape.h"
#include "RuntimeServer.h"

#include "grid/CGridCtrl.h"
#include "watch/CGridQuillon.h"

#include <QApplication>
#include <QScrollBar>
#include <QTableView>

#include <functional>
#include <memory>

namespace {

constexpr int kRepeats = 25;
constexpr int kSettleRounds = 10;

struct Figures
{
    double paint = 0;
    double scroll = 0;
};

// The median of full repaints, then of page downs and ups taken in turn, each
// with the repaint it causes. 'page' scrolls one page down (true) or up.
Figures Measure(QWidget* viewport, const std::function<void(bool down)>& page)
{
    QApplication::processEvents();
    // Off the first page, so that both directions have somewhere to go.
    page(true);
    viewport->repaint();
    Figures f;
    f.paint = BenchClock::Median(kRepeats, [&] { return BenchClock::Time([&] { viewport->repaint(); }); });
    bool down = true;
    f.scroll = BenchClock::Median(kRepeats, [&] {
        return BenchClock::Time([&] {
            page(down);
            down = !down;
            viewport->repaint();
        });
    });
    return f;
}

std::function<void(bool)> GridPager(CGridCtrl& grid)
{
    return [&grid](bool down) { grid.OnVScroll(down ? SB_PAGEDOWN : SB_PAGEUP, 0); };
}

std::function<void(bool)> ViewPager(QTableView& view)
{
    return [&view](bool down) {
        view.verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                                     : QAbstractSlider::SliderPageStepSub);
    };
}

void AddLines(BenchTable& lines, const char* paint, const char* scroll, const Figures& ours, const Figures& peer)
{
    lines.Add({paint, PlainGridShape::kRows, ours.paint, peer.paint, "ms", "peer", BenchTable::Goal::AtMostThePeer});
    lines.Add({scroll, PlainGridShape::kRows, ours.scroll, peer.scroll, "ms", "peer", BenchTable::Goal::AtMostThePeer});
}

bool PlainGrid(BenchTable& lines)
{
    QWidget window;
    window.resize(PlainGridShape::kWidth, PlainGridShape::kHeight);
    window.show();
    Figures ours;
    {
        CGridCtrl grid(PlainGridShape::kRows + 1, PlainGridShape::kColumns, 1, 0);
        grid.Create(RECT{0, 0, PlainGridShape::kWidth, PlainGridShape::kHeight}, &window, 1);
        for (int row = 1; row <= PlainGridShape::kRows; ++row) {
            for (int col = 0; col < PlainGridShape::kColumns; ++col)
                grid.SetItemText(row, col, PlainGridShape::CellText(row, col));
        }
        ours = Measure(grid.viewport(), GridPager(grid));
        if (grid.GetTopleftNonFixedCell().row <= 1)
            return BenchTable::Fail("the plain grid did not scroll");
    }
    QStandardItemModel model(PlainGridShape::kRows, PlainGridShape::kColumns);
    for (int row = 0; row < PlainGridShape::kRows; ++row) {
        for (int col = 0; col < PlainGridShape::kColumns; ++col)
            model.setItem(row, col, new QStandardItem(PlainGridShape::CellText(row + 1, col)));
    }
    QTableView view(&window);
    view.setGeometry(0, 0, PlainGridShape::kWidth, PlainGridShape::kHeight);
    view.setModel(&model);
    view.show();
    const Figures peer = Measure(view.viewport(), ViewPager(view));
    AddLines(lines, "paint", "page scroll", ours, peer);
    return true;
}

bool WatchGrid(BenchTable& lines)
{
    std::vector<WatchListRow> rows;
    rows.reserve(PlainGridShape::kRows);
    for (int i = 0; i < PlainGridShape::kRows; ++i)
        rows.push_back({RuntimeServer::TagName(i), i % 2 == 0});
    Figures ours;
    {
        BenchHost host;
        host.Load(rows);
        ours = Measure(host.Grid().viewport(), GridPager(host.Grid()));
        if (host.Grid().GetTopleftNonFixedCell().row <= 1 || !host.Grid().verticalScrollBar()->isVisible())
            return BenchTable::Fail("the watch grid did not scroll");
    }
    PeerTable peer;
    peer.Load(rows);
    // A shown view takes its scroll bar in a queued step after the rows
    // arrive; measured before that step, the peer would page without
    // painting a bar, as no user ever sees it.
    QScrollBar* bar = peer.View().verticalScrollBar();
    for (int round = 0; round < kSettleRounds && !bar->isVisible(); ++round)
        QApplication::processEvents();
    if (!bar->isVisible())
        return BenchTable::Fail("the peer shows no scroll bar");
    AddLines(lines, "paint, watch grid", "page scroll, watch grid", ours,
             Measure(peer.View().viewport(), ViewPager(peer.View())));
    return true;
}

} // namespace

bool PaintBench::Run(BenchTable& lines)
{
    return PlainGrid(lines) && WatchGrid(lines);
}
