#pragma once

#include <chrono>

// A point in time by which a blocking step must be done.
class Deadline
{
public:
    explicit Deadline(int ms)
        : m_end(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms))
    {
    }
    // Milliseconds left, 0 once passed; what poll() takes.
    int RemainingMs() const
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_end - std::chrono::steady_clock::now());
        return left.count() > 0 ? static_cast<int>(left.count()) : 0;
    }
    bool Passed() const { return std::chrono::steady_clock::now() >= m_end; }

private:
    std::chrono::steady_clock::time_point m_end;
};
