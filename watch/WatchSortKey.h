#pragma once

#include "platform/WinTypes.h"

#include <QString>

class CGridCellBase;

// A watch cell's sort key, made once before a sort so that the two million
// comparisons of 100,000 rows do not each test cell types and fold letter
// case. Compare orders keys exactly as CGridQuillon::CompareWatchCells orders
// their cells.
class WatchSortKey
{
public:
    explicit WatchSortKey(const CGridCellBase* cell);

    // The LPARAMs are WatchSortKey pointers.
    static int Compare(LPARAM key1, LPARAM key2, LPARAM data);

private:
    const CGridCellBase* m_cell;
    // The text in lower case when it is plain ASCII: there, comparing code
    // units of the lowered texts is what the case-insensitive comparison does.
    QString m_lowered;
    bool m_ascii = false;
    bool m_isCheck = false;
    bool m_checked = false;
};
