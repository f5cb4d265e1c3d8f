#include "TimeStampText.h"

#include "toolkit/protocol/FileTimeClock.h"

#include <QDateTime>
#include <QRegularExpression>

namespace {

constexpr std::int64_t kTicksPerDay = 86400LL * 1000 * FileTimeClock::kTicksPerMs;

std::int64_t Ticks(const FILETIME& t)
{
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

FILETIME FromTicks(std::int64_t ticks)
{
    const auto u = static_cast<std::uint64_t>(ticks);
    return FILETIME{static_cast<DWORD>(u & 0xFFFFFFFFu), static_cast<DWORD>(u >> 32)};
}

QTime ParseTime(const QString& s)
{
    for (const char* f : {"HH:mm:ss.zzz", "HH:mm:ss", "HH:mm"}) {
        const QTime t = QTime::fromString(s, QLatin1String(f));
        if (t.isValid())
            return t;
    }
    return {};
}

} // namespace

bool TimeStampText::Parse(const QString& text, int kind, FILETIME& time)
{
    const QString s = text.trimmed();
    if (kind == 2) {
        const QTime t = ParseTime(s);
        if (!t.isValid())
            return false;
        time = FromTicks(static_cast<std::int64_t>(t.msecsSinceStartOfDay()) * FileTimeClock::kTicksPerMs);
        return true;
    }
    QDateTime local;
    if (kind == 1) {
        const QDate d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
        local = d.isValid() ? d.startOfDay() : QDateTime();
    } else if (kind == 0) {
        const qsizetype gap = s.indexOf(QRegularExpression(QStringLiteral("[ T]")));
        const QDate d = QDate::fromString(s.left(gap), QStringLiteral("yyyy-MM-dd"));
        const QTime t = gap > 0 ? ParseTime(s.mid(gap + 1).trimmed()) : QTime(0, 0);
        local = d.isValid() && t.isValid() ? QDateTime(d, t) : QDateTime();
    }
    if (!local.isValid() || local.date().year() < 1601)
        return false;
    time = FromTicks(FileTimeClock::FromDateTime(local));
    return true;
}

bool TimeStampText::Format(const FILETIME& time, int kind, QString& text)
{
    const std::int64_t ticks = Ticks(time);
    if (kind == 2) {
        if (ticks < 0 || ticks >= kTicksPerDay)
            return false;
        const QTime t = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ticks / FileTimeClock::kTicksPerMs));
        text = t.toString(t.msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss"));
        return true;
    }
    const QDateTime utc = FileTimeClock::ToDateTime(ticks);
    if (!utc.isValid() || (kind != 0 && kind != 1))
        return false;
    const QDateTime local = utc.toLocalTime();
    if (kind == 1)
        text = local.toString(QStringLiteral("yyyy-MM-dd"));
    else
        text = local.toString(local.time().msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                                                  : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return true;
}
