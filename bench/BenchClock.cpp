#include "BenchClock.h"

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

double BenchClock::Time(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double BenchClock::Median(int repeats, const std::function<double()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i)
        times.push_back(run());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
