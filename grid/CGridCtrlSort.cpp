// Sorting: rows move physically, cells and heights together.

#include "CGridCtrl.h"

#include "cells/CGridCellBase.h"

#include <QGuiApplication>

#include <algorithm>
#include <bit>
#include <tuple>
#include <utility>

namespace {

// A range this short is never handed to the heap sort.
constexpr int kShortRange = 16;

} // namespace

int CGridCtrl::CompareCellTexts(LPARAM cell1, LPARAM cell2, LPARAM)
{
    const auto* first = reinterpret_cast<const CGridCellBase*>(cell1);
    const auto* second = reinterpret_cast<const CGridCellBase*>(cell2);
    if (!first || !second)
        return 0;
    // Ordinal on UTF-16 code units, as wcscmp compares.
    return QString::compare(first->GetText(), second->GetText(), Qt::CaseSensitive);
}

// An editor open on a row that moves would write into another row.
BOOL CGridCtrl::PrepareSort(int col, BOOL ascending)
{
    EndEditing();
    SetSortColumn(col);
    m_bAscending = ascending;
    ResetSelectedRange();
    return TRUE;
}

BOOL CGridCtrl::SortTextItems(int col, BOOL ascending, LPARAM data)
{
    return SortItems(CompareCellTexts, col, ascending, data);
}

BOOL CGridCtrl::SortItems(int col, BOOL ascending, LPARAM data)
{
    return SortItems(m_pfnCompare ? m_pfnCompare : CompareCellTexts, col, ascending, data);
}

BOOL CGridCtrl::SortItems(PFNLVCOMPARE compare, int col, BOOL ascending, LPARAM data)
{
    PrepareSort(col, ascending);
    return SortRows(compare, col, ascending, data, m_nFixedRows, -1);
}

BOOL CGridCtrl::SortRows(PFNLVCOMPARE compare, int col, BOOL ascending, LPARAM data, int low, int high)
{
    EndEditing();
    if (!compare || col < 0 || col >= m_nCols)
        return FALSE;
    if (high == -1)
        high = m_nRows - 1;
    if (low < 0 || high >= m_nRows || low >= high)
        return FALSE;
    std::vector<LPARAM> cells;
    cells.reserve(static_cast<std::size_t>(high - low + 1));
    for (int row = low; row <= high; ++row)
        cells.push_back(reinterpret_cast<LPARAM>(GetCell(row, col)));
    return SortRowsByKeys(compare, ascending, data, low, high, cells);
}

BOOL CGridCtrl::SortRowsByKeys(PFNLVCOMPARE compare, BOOL ascending, LPARAM data, int low, int high,
                               std::vector<LPARAM>& keys)
{
    EndEditing();
    if (!compare || low < 0 || high >= m_nRows || low >= high ||
        keys.size() != static_cast<std::size_t>(high - low + 1))
        return FALSE;
    // The rows are exchanged in a list of their order while sorting and moved
    // once at the end: the same order as exchanging the rows themselves.
    std::vector<int> rows(keys.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = low + static_cast<int>(i);
    const int passes = 2 * static_cast<int>(std::bit_width(rows.size()));
    QuickSortRows(compare, ascending, data, low, low, high, keys, rows, passes);
    PlaceRows(low, rows);
    return TRUE;
}

// Quicksort around the middle key. The pivot is the key itself, so it stays
// the same while rows move; equal keys are never swapped. The smaller part is
// sorted by a nested call and the larger one by the loop, so nesting stays
// below log2 of the row count; a range that still splits badly after about
// 2 log2(n) passes is heap-sorted, which bounds the work at n log n.
void CGridCtrl::QuickSortRows(PFNLVCOMPARE compare, BOOL ascending, LPARAM data, int first, int low, int high,
                              std::vector<LPARAM>& keys, std::vector<int>& rows, int depthLeft)
{
    const auto at = [first](int row) { return static_cast<std::size_t>(row - first); };
    const auto order = [&](LPARAM a, LPARAM b) {
        const int result = compare(a, b, data);
        // The sign only: a comparison may answer INT_MIN.
        const int sign = (result > 0) - (result < 0);
        return ascending ? sign : -sign;
    };
    // The heap's sift works on positions alone, so even a comparison that is
    // not a strict order cannot lead it outside the range.
    const auto heapSort = [&] {
        std::vector<std::pair<LPARAM, int>> range;
        range.reserve(static_cast<std::size_t>(high - low + 1));
        for (int row = low; row <= high; ++row)
            range.emplace_back(keys[at(row)], rows[at(row)]);
        const auto less = [&order](const std::pair<LPARAM, int>& a, const std::pair<LPARAM, int>& b) {
            return order(a.first, b.first) < 0;
        };
        std::make_heap(range.begin(), range.end(), less);
        std::sort_heap(range.begin(), range.end(), less);
        for (int row = low; row <= high; ++row)
            std::tie(keys[at(row)], rows[at(row)]) = range[static_cast<std::size_t>(row - low)];
    };
    while (low < high) {
        // A short range costs little however it splits, and keeps its order of equal keys.
        if (--depthLeft < 0 && high - low >= kShortRange) {
            heapSort();
            return;
        }
        const LPARAM pivot = keys[at((low + high) / 2)];
        int lo = low;
        int hi = high;
        while (lo <= hi) {
            while (lo < high && order(keys[at(lo)], pivot) < 0)
                ++lo;
            while (hi > low && order(keys[at(hi)], pivot) > 0)
                --hi;
            if (lo <= hi) {
                if (compare(keys[at(lo)], keys[at(hi)], data) != 0) {
                    std::swap(keys[at(lo)], keys[at(hi)]);
                    std::swap(rows[at(lo)], rows[at(hi)]);
                }
                ++lo;
                --hi;
            }
        }
        // The parts low..hi and lo..high are sorted apart; which goes first
        // does not change the result.
        if (hi - low < high - lo) {
            QuickSortRows(compare, ascending, data, first, low, hi, keys, rows, depthLeft);
            low = lo;
        } else {
            QuickSortRows(compare, ascending, data, first, lo, high, keys, rows, depthLeft);
            high = hi;
        }
    }
}

// Row headers (fixed columns) stay; the height travels with the row.
void CGridCtrl::PlaceRows(int first, const std::vector<int>& from)
{
    if (m_bVirtualMode)
        return;
    const auto fixedCols = static_cast<std::size_t>(GetFixedColumnCount());
    const auto cols = static_cast<std::size_t>(m_nCols);
    // Every cell is taken out of its place and put back where it belongs, so
    // that each one has exactly one owner at any time.
    GridRow cells;
    cells.reserve(from.size() * (cols - std::min(fixedCols, cols)));
    std::vector<UINT> heights;
    heights.reserve(from.size());
    for (const int row : from) {
        GridRow* source = m_RowData[static_cast<std::size_t>(row)].get();
        for (std::size_t col = fixedCols; col < cols; ++col)
            cells.push_back(source && col < source->size() ? std::move((*source)[col]) : nullptr);
        heights.push_back(m_rowHeights.Size(row));
    }
    std::size_t next = 0;
    for (std::size_t i = 0; i < from.size(); ++i) {
        const int row = first + static_cast<int>(i);
        GridRow* target = m_RowData[static_cast<std::size_t>(row)].get();
        for (std::size_t col = fixedCols; col < cols; ++col, ++next) {
            if (!target || col >= target->size())
                continue;
            CellPtr& cell = cells[next];
            if (from[i] != row) {
                ForgetCell(cell.get());
                if (cell)
                    cell->SetCoords(row, static_cast<int>(col));
            }
            (*target)[col] = std::move(cell);
        }
        if (from[i] != row)
            m_rowHeights.Set(row, heights[i]);
    }
}

void CGridCtrl::SortByHeaderClick(const CCellID& cell)
{
    if (!IsValid(cell) || !m_bSortOnClick || m_bVirtualMode || cell.col < GetFixedColumnCount())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    SortItems(cell.col, cell.col == m_nSortColumn ? !m_bAscending : TRUE);
    viewport()->update();
    QGuiApplication::restoreOverrideCursor();
}
