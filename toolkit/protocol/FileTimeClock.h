#pragma once

#include <QDateTime>

#include <cstdint>

// Time stamps travel as FILETIME ticks: 100-nanosecond intervals since
// 1601-01-01 UTC, the unit the program's time-stamp cells hold.
class FileTimeClock
{
public:
    static std::int64_t Now();
    static std::int64_t FromDateTime(const QDateTime& t);
    // An invalid QDateTime when the ticks lie outside what QDateTime can hold.
    static QDateTime ToDateTime(std::int64_t ticks);

    static constexpr std::int64_t kTicksPerMs = 10000;
    // Milliseconds from 1601-01-01 to 1970-01-01.
    static constexpr std::int64_t kEpochOffsetMs = 11644473600000LL;
};
