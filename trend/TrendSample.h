#pragma once

#include <QtGlobal>

#include <cstdint>

// The quality of a trend sample: the class a row showed on that tick, or None
// when the row was not read (deleted, no longer Continuous, disconnected).
enum class TrendQuality : std::uint8_t { None, Good, Uncertain, NotAvailable, Bad, Invalid };

// One tick of one series. value is NaN where the line has a gap.
struct TrendSample
{
    qint64 msecs;
    double value;
    TrendQuality quality;
};
