#pragma once

#include "RuntimeResult.h"

#include <QString>

#include <cstdint>

class WireReader;
class WireWriter;

// The runtime's answer to one RowEntry.
struct RowAnswer
{
    enum class Written : std::uint8_t { NoTag = 0, Unchanged = 1, ReadBack = 2 };

    bool compiled = false;
    RuntimeResult result;  // the evaluation, when compiled
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
