#pragma once

#include "platform/WinTypes.h"

#include <cstddef>
#include <vector>

// The sizes of the rows (or columns) of a grid, with their total kept up to
// date and prefix sums rebuilt lazily from the first changed entry, so that
// positions deep in a large grid cost a search, not a walk.
class GridAxis
{
public:
    int Count() const { return static_cast<int>(m_sizes.size()); }
    UINT Size(int index) const { return m_sizes[static_cast<std::size_t>(index)]; }
    void Set(int index, UINT size);
    void Insert(int index, UINT size);
    void Erase(int index);
    // New entries take 'size'.
    void Resize(int count, UINT size);
    void Clear();

    long long Total() const { return m_total; }
    // Sum of the sizes of [from, to).
    long long Sum(int from, int to) const;
    // Smallest k >= from whose Sum(from, k) reaches offset; Count() when none does.
    int FirstReaching(int from, long long offset) const;
    // The entry from 'from' on whose span contains offset; Count() beyond the end.
    int IndexAt(int from, long long offset) const;

private:
    void Invalidate(int from);
    long long Prefix(int index) const;

    std::vector<UINT> m_sizes;
    long long m_total = 0;
    // m_prefix[i] is the sum of the first i sizes, valid for i <= m_valid.
    mutable std::vector<long long> m_prefix{0};
    mutable int m_valid = 0;
};
