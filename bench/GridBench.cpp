// Builds, paints and scrolls grids of 100, 10,000 and 100,000 rows by 4
// columns, and does the same with a QTableView over a QStandardItemModel.
// Prints each figure and the ratio grid / peer.

#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kColumns = 4;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kRepeats = 25;

double Milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// Median of repeated runs: one-off hiccups of a shared machine do not count.
double Median(const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < kRepeats; ++i)
        times.push_back(Milliseconds(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString CellText(int row, int col)
{
    return QStringLiteral("Plant.Area%1.Tag%2").arg(row % 97).arg(row * kColumns + col);
}

struct Figures
{
    double build = 0;
    double paint = 0;
    double scroll = 0;
};

Figures MeasureGrid(int rows, QWidget& parent)
{
    Figures f;
    auto grid = std::make_unique<CGridCtrl>(1, kColumns, 1, 0);
    grid->Create(RECT{0, 0, kWidth, kHeight}, &parent, 1);
    f.build = Milliseconds([&] {
        for (int row = 1; row <= rows; ++row) {
            const int index = grid->InsertRow(CellText(row, 0));
            for (int col = 1; col < kColumns; ++col)
                grid->SetItemText(index, col, CellText(row, col));
        }
    });
    QApplication::processEvents();
    QWidget* viewport = grid->viewport();
    grid->OnVScroll(SB_PAGEDOWN, 0);
    f.paint = Median([&] { viewport->repaint(); });
    bool down = true;
    f.scroll = Median([&] {
        grid->OnVScroll(down ? SB_PAGEDOWN : SB_PAGEUP, 0);
        down = !down;
        viewport->repaint();
    });
    grid->setParent(nullptr);
    return f;
}

Figures MeasurePeer(int rows, QWidget& parent)
{
    Figures f;
    QStandardItemModel model(0, kColumns);
    QTableView view(&parent);
    view.setGeometry(0, 0, kWidth, kHeight);
    view.setModel(&model);
    view.show();
    f.build = Milliseconds([&] {
        for (int row = 1; row <= rows; ++row) {
            QList<QStandardItem*> items;
            for (int col = 0; col < kColumns; ++col)
                items << new QStandardItem(CellText(row, col));
            model.appendRow(items);
        }
    });
    QApplication::processEvents();
    QWidget* viewport = view.viewport();
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    f.paint = Median([&] { viewport->repaint(); });
    bool down = true;
    f.scroll = Median([&] {
        view.verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                                     : QAbstractSlider::SliderPageStepSub);
        down = !down;
        viewport->repaint();
    });
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QWidget parent;
    parent.resize(kWidth, kHeight);
    parent.show();

    std::printf("%-8s %-8s %12s %12s %8s\n", "rows", "work", "grid ms", "peer ms", "ratio");
    std::vector<Figures> grids;
    for (const int rows : {100, 10000, 100000}) {
        const Figures grid = MeasureGrid(rows, parent);
        const Figures peer = MeasurePeer(rows, parent);
        grids.push_back(grid);
        const auto line = [&](const char* work, double g, double p) {
            std::printf("%-8d %-8s %12.3f %12.3f %8.2f\n", rows, work, g, p, g / p);
        };
        line("build", grid.build, peer.build);
        line("paint", grid.paint, peer.paint);
        line("scroll", grid.scroll, peer.scroll);
    }
    std::printf("grid at 100,000 rows / at 100 rows: paint %.2f, scroll %.2f\n", grids[2].paint / grids[0].paint,
                grids[2].scroll / grids[0].scroll);
    return 0;
}
