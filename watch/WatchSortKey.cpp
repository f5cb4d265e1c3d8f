#include "WatchSortKey.h"

#include "CGridQuillon.h"
#include "cells/CGridCellCheck.h"

#include <algorithm>

WatchSortKey::WatchSortKey(const CGridCellBase* cell) : m_cell(cell)
{
    if (!cell)
        return;
    if (const auto* check = dynamic_cast<const CGridCellCheck*>(cell)) {
        m_isCheck = true;
        m_checked = check->GetCheck() != FALSE;
    }
    const QString text = cell->GetText();
    m_ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (m_ascii)
        m_lowered = text.toLower();
}

int WatchSortKey::Compare(LPARAM key1, LPARAM key2, LPARAM data)
{
    const auto* first = reinterpret_cast<const WatchSortKey*>(key1);
    const auto* second = reinterpret_cast<const WatchSortKey*>(key2);
    if (!first || !second || !first->m_cell || !second->m_cell)
        return 0;
    if (first->m_isCheck && second->m_isCheck)
        return static_cast<int>(first->m_checked) - static_cast<int>(second->m_checked);
    if (first->m_ascii && second->m_ascii)
        return QString::compare(first->m_lowered, second->m_lowered, Qt::CaseSensitive);
    return CGridQuillon::CompareWatchCells(reinterpret_cast<LPARAM>(first->m_cell),
                                           reinterpret_cast<LPARAM>(second->m_cell), data);
}
