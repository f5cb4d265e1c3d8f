#pragma once

#include <QString>

#include <cstdint>

class WireReader;
class WireWriter;

// One row of an EnterRows request: what committing a watch row's Tag and
// Value fields asks of the runtime, so that many rows travel in one frame.
struct RowEntry
{
    enum Step : std::uint8_t { Evaluate = 1, Write = 2 };

    std::uint8_t steps = 0;
    // Compiled, evaluated and resolved (Evaluate).
    QString expression;
    // Write: value goes to tag, which is then read back. With Evaluate as well
    // the write is skipped when the evaluation leaves exactly `typed` in the
    // Value cell: a typed text equal to the cell's is no edit.
    QString tag;
    QString value;
    QString typed;

    void Encode(WireWriter& w) const;
    static bool Decode(WireReader& r, RowEntry& out);
};
