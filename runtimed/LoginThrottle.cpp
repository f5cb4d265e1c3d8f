#include "LoginThrottle.h"

#include <algorithm>

LoginThrottle::LoginThrottle()
{
    m_clock.start();
}

int LoginThrottle::Failed(const QHostAddress& address)
{
    const qint64 now = m_clock.elapsed();
    if (m_records.size() >= kMaxAddresses)
        ForgetQuietAddresses(now);
    Record& record = m_records[address];
    if (now - record.last > kForgetAfterMs)
        record.failures = 0;
    record.last = now;
    record.failures = std::min(record.failures + 1, kMaxCountedFailures);
    return std::min<qint64>(qint64(kFirstDelayMs) << (record.failures - 1), kMaxDelayMs);
}

// Many addresses at once: the quiet ones go, and if none is quiet the table
// starts afresh rather than grow without end.
void LoginThrottle::ForgetQuietAddresses(qint64 now)
{
    m_records.removeIf([now](const auto& entry) { return now - entry.value().last > kForgetAfterMs; });
    if (m_records.size() >= kMaxAddresses)
        m_records.clear();
}
