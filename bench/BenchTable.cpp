#include "BenchTable.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

namespace {

// The target and whether the line meets it; no target for a figure given for information.
std::pair<const char*, std::optional<bool>> Judge(const BenchTable::Line& line)
{
    using Goal = BenchTable::Goal;
    using T = BenchTable;
    switch (line.goal) {
    case Goal::HalfThePeer:
        return {"<= 0.5 and < 500 ms", line.ours / line.peer <= T::kRatioLimit && line.ours < T::kOperationLimitMs};
    case Goal::AtMostThePeer: return {"<= 1.0", line.ours <= line.peer};
    case Goal::TickLimit: return {"< 20 ms", line.ours < T::kTickLimitMs};
    case Goal::ModbusTickLimit: return {"< 5 ms", line.ours < T::kModbusTickLimitMs};
    case Goal::BytesPerRow: return {"<= 800 B", line.ours <= T::kBytesPerRowLimit};
    case Goal::TrendTick: return {"<= 2 ms", line.ours <= T::kTrendTickLimitMs};
    case Goal::TrendBytes: return {"<= 4 MiB", line.ours <= T::kTrendBytesLimit};
    case Goal::TlsRatio: return {"<= 1.3 x plain", line.ours / line.peer <= T::kTlsTickRatioLimit};
    case Goal::InsertLimit: return {"<= 5 s", line.ours <= T::kInsertLimitMs};
    case Goal::KeyLimit: return {"<= 2 ms", line.ours <= T::kKeyLimitMs};
    case Goal::LoadTickLimit: return {"p99 <= 10 ms", line.ours <= T::kLoadTickLimitMs};
    case Goal::None: break;
    }
    return {"-", std::nullopt};
}

} // namespace

void BenchTable::Print() const
{
    std::printf("| operation | rows | ours | peer or limit | ratio | target | result |\n");
    std::printf("|---|---:|---:|---:|---:|---|---|\n");
    for (const Line& line : m_lines) {
        const auto [target, pass] = Judge(line);
        // Times to the microsecond, bytes whole.
        const int digits = std::strcmp(line.unit, "ms") == 0 ? 3 : 0;
        std::printf("| %s | %d | %.*f %s | %s %.*f %s | %.2f | %s | %s |\n", line.operation, line.rows, digits,
                    line.ours, line.unit, line.peerName, digits, line.peer, line.unit, line.ours / line.peer, target,
                    !pass   ? "-"
                    : *pass ? "pass"
                            : "FAIL");
    }
}

bool BenchTable::Fail(const char* what)
{
    std::fprintf(stderr, "bench_quillon: %s\n", what);
    return false;
}
