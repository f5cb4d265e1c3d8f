#pragma once

#include <vector>

// The one table of scripts/bench.sh: each line a figure of the program beside
// a peer or a limit measured in the same run, and whether it meets its target.
class BenchTable
{
public:
    // What a line must meet.
    enum class Goal {
        None,
        HalfThePeer,
        AtMostThePeer,
        TickLimit,
        ModbusTickLimit,
        BytesPerRow,
        TrendTick,
        TrendBytes,
        TlsRatio,
        InsertLimit,
        KeyLimit,
        LoadTickLimit,
    };

    // The limits, in milliseconds or bytes.
    static constexpr double kOperationLimitMs = 500;
    static constexpr double kRatioLimit = 0.5;
    static constexpr double kTickLimitMs = 20;
    static constexpr double kModbusTickLimitMs = 5;
    static constexpr double kBytesPerRowLimit = 800;
    static constexpr double kTrendTickLimitMs = 2;
    static constexpr double kTrendBytesLimit = 4 * 1024 * 1024;
    static constexpr double kTlsTickRatioLimit = 1.3;
    static constexpr double kInsertLimitMs = 5000;
    static constexpr double kKeyLimitMs = 2;
    static constexpr double kLoadTickLimitMs = 10;

    struct Line
    {
        const char* operation;
        int rows;
        double ours;
        double peer;
        const char* unit;
        const char* peerName;
        Goal goal;
    };

    void Add(const Line& line) { m_lines.push_back(line); }
    const Line& Last() const { return m_lines.back(); }
    void Print() const;

    // Reports why a measurement could not be made; always false.
    static bool Fail(const char* what);

private:
    std::vector<Line> m_lines;
};
