#include "FileTimeClock.h"

std::int64_t FileTimeClock::Now()
{
    return FromDateTime(QDateTime::currentDateTimeUtc());
}

std::int64_t FileTimeClock::FromDateTime(const QDateTime& t)
{
    return (t.toMSecsSinceEpoch() + kEpochOffsetMs) * kTicksPerMs;
}

QDateTime FileTimeClock::ToDateTime(std::int64_t ticks)
{
    // Years beyond 9999 are out of the formats' range anyway.
    constexpr std::int64_t kMaxTicks = 2650467743999999999LL; // 9999-12-31T23:59:59.999
    if (ticks < 0 || ticks > kMaxTicks)
        return {};
    return QDateTime::fromMSecsSinceEpoch(ticks / kTicksPerMs - kEpochOffsetMs, Qt::UTC);
}
