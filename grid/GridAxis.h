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
    // No line is larger: a line added to a point on the screen stays far
    // inside int, and so do the drawing loops that step over lines.
    static constexpr UINT kMaxSize = 1u << 20;
    // A position or length in pixels as int, held within +-(INT_MAX / 4) so
    // that a line size or a window size may still be added to it.
    static int Pixels(long long length);

    int Count() const { return static_cast<int>(m_sizes.size()); }
    UINT Size(int index) const { return m_sizes[static_cast<std::size_t>(index)]; }
    void Set(int index, UINT size);
    void Insert(int index, UINT size);
    void Erase(int index);
    // New entries take 'size'. Sizes above kMaxSize are taken as kMaxSize.
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
