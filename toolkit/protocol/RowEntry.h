#pragma once

#include "RuntimeResult.h"

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

// The runtime's answer to one RowEntry.
struct RowAnswer
{
    enum class Written : std::uint8_t { NoTag = 0, Unchanged = 1, ReadBack = 2 };

    bool compiled = false;
    RuntimeResult result; // the evaluation, when compiled
    bool resolved = false; // the expression is exactly one tag
    Written written = Written::NoTag;
    RuntimeResult readBack; // when ReadBack

    void Encode(WireWriter& w, std::uint8_t steps) const;
    static bool Decode(WireReader& r, std::uint8_t steps, RowAnswer& out);

    // The text the Value cell shows after an evaluation: the value cut to
    // the record's text, "Error: " and the reason (both within the cell's
    // value text), or `invalid` when the expression did not compile.
    static QString ShownText(bool compiled, const RuntimeResult& result, const QString& invalid);
};
