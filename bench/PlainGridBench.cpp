#include "PlainGridBench.h"

#include "BenchClock.h"
#include "BenchTable.h"
#include "PlainGridShape.h"

#include "cells/CGridCellBase.h"
#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {

constexpr int kBuildRepeats = 3;
constexpr int kKeys = 41;
constexpr int kLongText = 2000;

// As bench_grid builds it: a heading row, then InsertRow with column 0's text
// and SetItemText for the others, row by row.
double BuildGrid(QWidget& window)
{
    auto grid = std::make_unique<CGridCtrl>(1, PlainGridShape::kColumns, 1, 0);
    grid->Create(RECT{0, 0, PlainGridShape::kWidth, PlainGridShape::kHeight}, &window, 1);
    QApplication::processEvents();
    const double time = BenchClock::Time([&] {
        for (int row = 1; row <= PlainGridShape::kRows; ++row) {
            const int index = grid->InsertRow(PlainGridShape::CellText(row, 0));
            for (int col = 1; col < PlainGridShape::kColumns; ++col)
                grid->SetItemText(index, col, PlainGridShape::CellText(row, col));
        }
        QApplication::processEvents();
    });
    grid->setParent(nullptr);
    return time;
}

double BuildPeer(QWidget& window)
{
    QStandardItemModel model(0, PlainGridShape::kColumns);
    QTableView view(&window);
    view.setGeometry(0, 0, PlainGridShape::kWidth, PlainGridShape::kHeight);
    view.setModel(&model);
    view.show();
    QApplication::processEvents();
    return BenchClock::Time([&] {
        for (int row = 1; row <= PlainGridShape::kRows; ++row) {
            QList<QStandardItem*> items;
            for (int col = 0; col < PlainGridShape::kColumns; ++col)
                items << new QStandardItem(PlainGridShape::CellText(row, col));
            model.appendRow(items);
        }
        QApplication::processEvents();
    });
}

// Words of changing length, so that a wrapping editor breaks the text into lines.
QString LongText()
{
    QString text;
    for (int i = 0; text.size() < kLongText; ++i)
        text += QStringLiteral("Plant.Area%1.Tag%2 + ").arg(i % 7).arg(i * 131);
    return text.left(kLongText);
}

// One letter typed at the end of the text and painted; a Backspace, not
// timed, takes it away again so that every key meets 2,000 characters.
bool TypeIntoLongCell(double* perKey)
{
    QWidget window;
    window.resize(PlainGridShape::kWidth, PlainGridShape::kHeight);
    window.show();
    CGridCtrl grid(10, PlainGridShape::kColumns, 1, 1);
    grid.Create(RECT{0, 0, PlainGridShape::kWidth, PlainGridShape::kHeight}, &window, 1);
    grid.SetItemText(1, 1, LongText());
    grid.setFocus();
    grid.SetFocusCell(1, 1);
    QApplication::processEvents();
    QTest::keyClick(&grid, Qt::Key_F2);
    QApplication::processEvents();
    const CGridCellBase* cell = grid.GetCell(1, 1);
    QWidget* editor = cell && cell->IsEditing() ? cell->GetEditWnd() : nullptr;
    if (!editor)
        return BenchTable::Fail("the editor did not open");
    *perKey = BenchClock::Median(kKeys, [&] {
        const double time = BenchClock::Time([&] {
            QTest::keyClick(editor, Qt::Key_X);
            QApplication::processEvents();
        });
        QTest::keyClick(editor, Qt::Key_Backspace);
        QApplication::processEvents();
        return time;
    });
    if (!cell->IsEditing())
        return BenchTable::Fail("the editor closed while typing");
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    return grid.GetItemText(1, 1) == LongText() || BenchTable::Fail("Escape did not restore the text");
}

} // namespace

bool PlainGridBench::Run(BenchTable& lines)
{
    QWidget window;
    window.resize(PlainGridShape::kWidth, PlainGridShape::kHeight);
    window.show();
    const double build = BenchClock::Median(kBuildRepeats, [&] { return BuildGrid(window); });
    const double peer = BenchClock::Median(kBuildRepeats, [&] { return BuildPeer(window); });
    lines.Add({"build plain grid", PlainGridShape::kRows, build, peer, "ms", "peer", BenchTable::Goal::AtMostThePeer});

    double perKey = 0;
    if (!TypeIntoLongCell(&perKey))
        return false;
    lines.Add(
        {"typing into a long cell", 1, perKey, BenchTable::kKeyLimitMs, "ms", "limit", BenchTable::Goal::KeyLimit});
    return true;
}
