// The saved watch list on any bytes: the rows read from a file, written again
// and read back, must be the same rows; nothing lost, split or merged.
#include "app/WatchListFile.h"

#include <cstddef>
#include <cstdint>

namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool SameRows(const std::vector<WatchListRow>& a, const std::vector<WatchListRow>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].text != b[i].text || a[i].continuous != b[i].continuous)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::vector<WatchListRow> rows = WatchListFile::Decode(bytes);
    // One row a line at most, each no longer than the file.
    Require(rows.size() <= std::size_t(bytes.count('\n')) + 1);
    for (const WatchListRow& row : rows)
        Require(std::size_t(row.text.size()) <= size);
    const QByteArray encoded = WatchListFile::Encode(rows);
    Require(SameRows(WatchListFile::Decode(encoded), rows));
    return 0;
}
