#include "VictimLists.h"

std::vector<WatchListRow> VictimLists::Old()
{
    std::vector<WatchListRow> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        rows.push_back({QStringLiteral("Plant.Area%1.Tag%2").arg(i % 97).arg(i), i % 2 == 0});
    return rows;
}

std::vector<WatchListRow> VictimLists::New()
{
    std::vector<WatchListRow> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        rows.push_back({QStringLiteral("Anlage.Bereich%1.Wert%2 * 2 \u03a9").arg(i % 89).arg(i), i % 3 == 0});
    return rows;
}
