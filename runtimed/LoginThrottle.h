#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>

// Slows down password guessing: each failed login from an address makes the
// next refusal to that address come later, doubling up to a cap that stays
// below the toolkit's request time-out. Reconnecting does not start it afresh;
// an address that stops failing for a while is forgotten.
class LoginThrottle
{
public:
    static constexpr int kFirstDelayMs = 250;
    static constexpr int kMaxDelayMs = 1600;
    static constexpr int kMaxCountedFailures = 16; // the delay stopped growing long before
    static constexpr qint64 kForgetAfterMs = 60000;
    static constexpr qsizetype kMaxAddresses = 4096;

    LoginThrottle();

    // Records one failed login; how long its refusal is to be held back.
    int Failed(const QHostAddress& address);

private:
    struct Record
    {
        int failures = 0;
        qint64 last = 0;
    };

    void ForgetQuietAddresses(qint64 now);

    QElapsedTimer m_clock;
    QHash<QHostAddress, Record> m_records;
};
