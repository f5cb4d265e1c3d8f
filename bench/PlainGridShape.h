#pragma once

#include <QString>

// The plain grid the grid benchmarks build: 100,000 rows of 4 columns in an
// 800 x 600 window, its texts shaped like tag names.
class PlainGridShape
{
public:
    static constexpr int kRows = 100000;
    static constexpr int kColumns = 4;
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    static QString CellText(int row, int col);
};
