#pragma once

// A cell address; (-1, -1) is no cell.
class CCellID
{
public:
    int row;
    int col;

    constexpr explicit CCellID(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}

    constexpr bool IsValid() const { return row >= 0 && col >= 0; }
    friend constexpr bool operator==(const CCellID& a, const CCellID& b) { return a.row == b.row && a.col == b.col; }
};
