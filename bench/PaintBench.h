#pragma once

class BenchTable;

// Full repaints and page scrolls of the plain grid and of the watch grid at
// 100,000 rows, each beside a QTableView showing the same rows.
class PaintBench
{
public:
    static bool Run(BenchTable& lines);
};
