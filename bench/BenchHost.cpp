#include "BenchHost.h"

#include "watch/CGridQuillon.h"

#include <array>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr int kHeaderRowHeight = 18;
constexpr std::array<int, 4> kColumnWidths = {90, 47, 53, 77};

} // namespace

BenchHost::BenchHost() : m_grid(new CGridQuillon)
{
    resize(kWidth, kHeight);
    m_grid->Create(RECT{0, 0, kWidth, kHeight}, this, 1000);
    m_grid->SetColumnCount(int(kColumnWidths.size()));
    m_grid->SetRowCount(1);
    m_grid->SetFixedRowCount(1);
    m_grid->SetRowHeight(0, kHeaderRowHeight);
    for (int col = 0; col < int(kColumnWidths.size()); ++col) {
        m_grid->SetItemText(0, col, QStringLiteral("Column %1").arg(col));
        m_grid->SetColumnWidth(col, kColumnWidths[size_t(col)]);
        m_grid->SetItemFormat(0, col, DT_CENTER);
    }
    m_grid->InsertWatchRow(-1);
    m_grid->SetFocusCell(1, CGridQuillon::ColTag);
    show();
}

void BenchHost::Load(const std::vector<WatchListRow>& rows)
{
    m_grid->AppendWatchRows(rows);
}
