#pragma once

#include <cerrno>
#include <chrono>
#include <poll.h>

// A point in time by which a blocking step must be done.
class Deadline
{
public:
    explicit Deadline(int ms) : m_end(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)) {}
    // Milliseconds left, 0 once passed; what poll() takes.
    int RemainingMs() const
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(m_end - std::chrono::steady_clock::now());
        return left.count() > 0 ? static_cast<int>(left.count()) : 0;
    }
    bool Passed() const { return std::chrono::steady_clock::now() >= m_end; }
    // Waits until the socket is ready for `events` (POLLIN, POLLOUT); false
    // when the deadline passed first or the wait failed.
    bool WaitFor(int fd, short events) const
    {
        for (;;) {
            pollfd p = {fd, events, 0};
            const int n = ::poll(&p, 1, RemainingMs());
            if (n > 0)
                return true;
            if (n == 0 || errno != EINTR)
                return false;
        }
    }

private:
    std::chrono::steady_clock::time_point m_end;
};
