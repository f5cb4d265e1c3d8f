// Sorting: rows move physically, cells and heights together.

#include "CGridCtrl.h"

#include "cells/CGridCellBase.h"

#include <QGuiApplication>

int CGridCtrl::CompareCellTexts(LPARAM cell1, LPARAM cell2, LPARAM)
{
    const auto* first = reinterpret_cast<const CGridCellBase*>(cell1);
    const auto* second = reinterpret_cast<const CGridCellBase*>(cell2);
    if (!first || !second)
        return 0;
    // Ordinal on UTF-16 code units, as wcscmp compares.
    return QString::compare(first->GetText(), second->GetText(), Qt::CaseSensitive);
}

BOOL CGridCtrl::PrepareSort(int col, BOOL ascending)
{
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

// Quicksort around the middle cell. The pivot is the cell object itself, so
// it stays the same cell while rows move; equal keys are never swapped.
BOOL CGridCtrl::SortRows(PFNLVCOMPARE compare, int col, BOOL ascending, LPARAM data, int low, int high)
{
    if (!compare || col < 0 || col >= m_nCols)
        return FALSE;
    if (high == -1)
        high = m_nRows - 1;
    if (low < 0 || high >= m_nRows || low >= high)
        return FALSE;
    const auto key = [&](int row) { return reinterpret_cast<LPARAM>(GetCell(row, col)); };
    const auto order = [&](LPARAM a, LPARAM b) {
        const int result = compare(a, b, data);
        // The sign only: a comparison may answer INT_MIN.
        const int sign = (result > 0) - (result < 0);
        return ascending ? sign : -sign;
    };
    const LPARAM pivot = key((low + high) / 2);
    int lo = low;
    int hi = high;
    while (lo <= hi) {
        while (lo < high && order(key(lo), pivot) < 0)
            ++lo;
        while (hi > low && order(key(hi), pivot) > 0)
            --hi;
        if (lo <= hi) {
            if (compare(key(lo), key(hi), data) != 0)
                SwapRows(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        SortRows(compare, col, ascending, data, low, hi);
    if (lo < high)
        SortRows(compare, col, ascending, data, lo, high);
    return TRUE;
}

// Row headers (fixed columns) stay; the height travels with the row.
void CGridCtrl::SwapRows(int a, int b)
{
    for (int col = GetFixedColumnCount(); col < m_nCols; ++col) {
        CGridCellBase* first = GetCell(a, col);
        CGridCellBase* second = GetCell(b, col);
        SetCell(a, col, second);
        SetCell(b, col, first);
    }
    if (m_bVirtualMode)
        return;
    const UINT height = m_rowHeights.Size(a);
    m_rowHeights.Set(a, m_rowHeights.Size(b));
    m_rowHeights.Set(b, height);
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
