// The grid's paste on any text, into a small created grid (6 rows of which one
// fixed, 4 columns) with some rows and columns hidden and some cells read-only.
// The last bytes of the input pick the start cell, the hidden lines, the
// read-only cells, the field separators and whether the pasted cells are
// selected; the rest is the text. The paste must stay inside the grid: cells
// above or left of the start, hidden or read-only keep their text, and every
// cell it writes holds one trimmed field, without separator or line break.
#include "grid/CGridCtrl.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <QMimeData>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

constexpr int kRows = 6;
constexpr int kCols = 4;

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

QString Original(int row, int col)
{
    return QStringLiteral("%1%2").arg(row).arg(col);
}

struct Layout
{
    CCellID start;
    std::uint8_t hiddenRows = 0;
    std::uint8_t hiddenCols = 0;
    std::uint32_t readOnly = 0;
    QString separators;
    BOOL selectPasted = FALSE;

    bool Hidden(int row, int col) const { return (hiddenRows >> row & 1) || (hiddenCols >> col & 1); }
    bool ReadOnly(int row, int col) const { return readOnly >> (row * kCols + col) & 1; }
    // Cells the paste may not write.
    bool Kept(int row, int col) const
    {
        return row < start.row || col < start.col || Hidden(row, col) || ReadOnly(row, col);
    }
};

Layout TakeLayout(FuzzedDataProvider& in)
{
    static const QString kSeparators[] = {QStringLiteral("\t"), QStringLiteral("\t,"), QStringLiteral(",;")};
    Layout layout;
    const std::uint8_t flags = in.ConsumeIntegral<std::uint8_t>();
    layout.selectPasted = flags & 1 ? TRUE : FALSE;
    layout.separators = kSeparators[(flags >> 1) % 3];
    layout.start.row = in.ConsumeIntegralInRange(-1, kRows);
    layout.start.col = in.ConsumeIntegralInRange(-1, kCols);
    // Hidden lines and read-only cells only now and then.
    if (flags & 0x80) {
        layout.hiddenRows = in.ConsumeIntegral<std::uint8_t>();
        layout.hiddenCols = in.ConsumeIntegral<std::uint8_t>() & 0x0F;
        layout.readOnly = in.ConsumeIntegral<std::uint32_t>();
    }
    return layout;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_paste";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);

    FuzzedDataProvider in(data, size);
    const Layout layout = TakeLayout(in);
    const std::string text = in.ConsumeRemainingBytesAsString();

    QWidget parent;
    auto* grid = new CGridCtrl(kRows, kCols, 1, 0);
    grid->Create(RECT{0, 0, 300, 200}, &parent, 1);
    grid->SetFieldSeparators(layout.separators);
    for (int row = 0; row < kRows; ++row) {
        if (layout.hiddenRows >> row & 1)
            grid->SetRowHeight(row, 0);
        for (int col = 0; col < kCols; ++col) {
            grid->SetItemText(row, col, Original(row, col));
            if (layout.ReadOnly(row, col))
                grid->SetItemState(row, col, grid->GetItemState(row, col) | GRIDIS_READONLY);
        }
    }
    for (int col = 0; col < kCols; ++col) {
        if (layout.hiddenCols >> col & 1)
            grid->SetColumnWidth(col, 0);
    }

    const auto mime = std::make_unique<QMimeData>();
    mime->setText(QString::fromUtf8(text));
    const BOOL pasted = grid->PasteTextAt(layout.start, mime.get(), layout.selectPasted);
    Require(pasted == FALSE || (grid->IsValid(layout.start) && !layout.ReadOnly(layout.start.row, layout.start.col)));

    Require(grid->GetRowCount() == kRows && grid->GetColumnCount() == kCols);
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kCols; ++col) {
            const QString cell = grid->GetItemText(row, col);
            if (cell == Original(row, col))
                continue;
            Require(pasted && !layout.Kept(row, col));
            Require(qsizetype(text.size()) >= cell.size() && cell == cell.trimmed() && !cell.contains(u'\n'));
            for (const QChar separator : layout.separators)
                Require(!cell.contains(separator));
        }
    }
    // What is selected afterwards is what was pasted, or nothing.
    const CellSpan selected = grid->GetSelectedCellRange();
    Require(grid->GetSelectedCount() == 0 || (layout.selectPasted && selected.GetMinRow() >= layout.start.row &&
                                              selected.GetMinCol() >= layout.start.col && grid->IsValid(selected)));
    return 0;
}
