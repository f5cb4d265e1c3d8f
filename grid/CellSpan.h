#pragma once

#include "CCellID.h"

#include <algorithm>

// An inclusive rectangle of cells; (-1, -1, -1, -1) is empty.
class CellSpan
{
public:
    constexpr explicit CellSpan(int minRow = -1, int minCol = -1, int maxRow = -1, int maxCol = -1)
        : m_nMinRow(minRow)
        , m_nMinCol(minCol)
        , m_nMaxRow(maxRow)
        , m_nMaxCol(maxCol)
    {
    }

    constexpr int GetMinRow() const { return m_nMinRow; }
    constexpr int GetMinCol() const { return m_nMinCol; }
    constexpr int GetMaxRow() const { return m_nMaxRow; }
    constexpr int GetMaxCol() const { return m_nMaxCol; }
    constexpr int Count() const { return (m_nMaxRow - m_nMinRow + 1) * (m_nMaxCol - m_nMinCol + 1); }
    constexpr CCellID GetTopLeft() const { return CCellID(m_nMinRow, m_nMinCol); }
    constexpr bool IsValid() const
    {
        return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 && m_nMinRow <= m_nMaxRow &&
               m_nMinCol <= m_nMaxCol;
    }
    constexpr bool InRange(int row, int col) const
    {
        return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
    }
    constexpr bool InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }
    constexpr CellSpan Intersect(const CellSpan& rhs) const
    {
        return CellSpan(std::max(m_nMinRow, rhs.m_nMinRow), std::max(m_nMinCol, rhs.m_nMinCol),
                        std::min(m_nMaxRow, rhs.m_nMaxRow), std::min(m_nMaxCol, rhs.m_nMaxCol));
    }
    friend constexpr bool operator==(const CellSpan&, const CellSpan&) = default;

private:
    int m_nMinRow;
    int m_nMinCol;
    int m_nMaxRow;
    int m_nMaxCol;
};
