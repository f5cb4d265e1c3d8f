#include "GridAxis.h"

#include <algorithm>
#include <climits>

int GridAxis::Pixels(long long length)
{
    constexpr long long kLimit = INT_MAX / 4;
    return static_cast<int>(std::clamp(length, -kLimit, kLimit));
}

void GridAxis::Set(int index, UINT size)
{
    size = std::min(size, kMaxSize);
    m_total += static_cast<long long>(size) - m_sizes[static_cast<size_t>(index)];
    m_sizes[static_cast<size_t>(index)] = size;
    Invalidate(index);
}

void GridAxis::Insert(int index, UINT size)
{
    size = std::min(size, kMaxSize);
    m_sizes.insert(m_sizes.begin() + index, size);
    m_total += size;
    Invalidate(index);
}

void GridAxis::Erase(int index)
{
    m_total -= m_sizes[static_cast<size_t>(index)];
    m_sizes.erase(m_sizes.begin() + index);
    Invalidate(index);
}

void GridAxis::Resize(int count, UINT size)
{
    size = std::min(size, kMaxSize);
    const int old = Count();
    for (int i = count; i < old; ++i)
        m_total -= m_sizes[static_cast<size_t>(i)];
    m_sizes.resize(static_cast<size_t>(count), size);
    if (count > old)
        m_total += static_cast<long long>(count - old) * size;
    Invalidate(std::min(old, count));
}

void GridAxis::Clear()
{
    m_sizes.clear();
    m_total = 0;
    Invalidate(0);
}

void GridAxis::Invalidate(int from)
{
    m_valid = std::min(m_valid, from);
}

long long GridAxis::Prefix(int index) const
{
    if (index > m_valid) {
        m_prefix.resize(m_sizes.size() + 1);
        for (int i = m_valid; i < index; ++i)
            m_prefix[static_cast<size_t>(i) + 1] = m_prefix[static_cast<size_t>(i)] + m_sizes[static_cast<size_t>(i)];
        m_valid = index;
    }
    return m_prefix[static_cast<size_t>(index)];
}

long long GridAxis::Sum(int from, int to) const
{
    from = std::clamp(from, 0, Count());
    to = std::clamp(to, 0, Count());
    return to > from ? Prefix(to) - Prefix(from) : 0;
}

int GridAxis::FirstReaching(int from, long long offset) const
{
    if (from >= Count())
        return Count();
    const long long base = Prefix(from);
    Prefix(Count());
    const auto begin = m_prefix.begin() + from;
    const auto end = m_prefix.begin() + Count() + 1;
    const auto it = std::lower_bound(begin, end, base + offset);
    return it == end ? Count() : static_cast<int>(it - m_prefix.begin());
}

int GridAxis::IndexAt(int from, long long offset) const
{
    if (from >= Count() || offset < 0)
        return offset < 0 ? from : Count();
    const long long base = Prefix(from);
    Prefix(Count());
    const auto begin = m_prefix.begin() + from + 1;
    const auto end = m_prefix.begin() + Count() + 1;
    const auto it = std::upper_bound(begin, end, base + offset);
    return it == end ? Count() : static_cast<int>(it - m_prefix.begin()) - 1;
}
