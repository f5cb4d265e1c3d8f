#pragma once

#include <functional>

// Wall-clock times in milliseconds for the benchmarks.
class BenchClock
{
public:
    static double Time(const std::function<void()>& work);
    // The median of 'repeats' runs, each returning its own time, so that work
    // prepared outside the timed part is not counted; one-off hiccups of a
    // shared machine do not count either.
    static double Median(int repeats, const std::function<double()>& run);
};
