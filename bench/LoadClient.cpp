// One toolkit client of the runtime-load benchmark, run as a child process of
// bench_quillon: the toolkit keeps one active connection per process, so each
// client of the load is a process of its own.
//
//   bench_load_client PORT FIRST_TAG ROWS OFFSET_MS TICKS PERIOD_MS
//
// Connects, evaluates its rows once, says "ready" and waits for a start time
// (CLOCK_MONOTONIC nanoseconds, shared by all processes) on standard input.
// From the start time plus its offset it evaluates the rows once a period, as
// the watch grid's refresh does, and at the end prints each tick's time in
// microseconds on one line. Any failure, a tick a whole period late among
// them, prints "failed: WHY" and exits 1.

#include "bench/RuntimeServer.h"
#include "runtime/VantelToolkit.h"

#include <QCoreApplication>
#include <QStringList>

#include <time.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr long long kNanosPerMs = 1000000;

long long Now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

void SleepUntil(long long nanos)
{
    const timespec t{static_cast<time_t>(nanos / 1000000000LL), static_cast<long>(nanos % 1000000000LL)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) != 0) {}
}

int Fail(const char* why)
{
    std::printf("failed: %s\n", why);
    std::fflush(stdout);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 7)
        return Fail("usage: bench_load_client PORT FIRST_TAG ROWS OFFSET_MS TICKS PERIOD_MS");
    const int port = args[1].toInt();
    const int first = args[2].toInt();
    const int rows = args[3].toInt();
    const long long offset = args[4].toLongLong() * kNanosPerMs;
    const int ticks = args[5].toInt();
    const long long period = args[6].toLongLong() * kNanosPerMs;
    if (port <= 0 || port > 65535 || first < 0 || rows <= 0 || rows > 100000 || ticks <= 0 || ticks > 100000 ||
        period <= 0)
        return Fail("bad arguments");

    QStringList names;
    for (int i = 0; i < rows; ++i)
        names << RuntimeServer::TagName(first + i);
    const std::u16string lines = (names.join(u'\n') + u'\n').toStdU16String();
    std::vector<ResultRecord> records(static_cast<std::size_t>(rows));

    VtHandle handle = nullptr;
    if (!ToolkitStartup() || ConnectRuntime(u"127.0.0.1", port, u"", 0, u"", 10, &handle) != S_OK)
        return Fail("cannot reach the runtime");
    ActivateConnection(handle);
    if (!EvaluateTagList(lines.c_str(), rows, records.data(), -1) || records.back().valid == 0)
        return Fail("the rows do not evaluate");
    std::printf("ready\n");
    std::fflush(stdout);

    long long start = 0;
    if (std::scanf("%lld", &start) != 1 || start <= 0)
        return Fail("no start time");
    std::vector<long long> micros;
    micros.reserve(static_cast<std::size_t>(ticks));
    for (int k = 0; k < ticks; ++k) {
        const long long slot = start + offset + k * period;
        SleepUntil(slot);
        const long long before = Now();
        // A client a whole period behind its slots no longer makes the load it stands for.
        if (before - slot > period)
            return Fail("a tick began a period late");
        const int answered = EvaluateTagList(lines.c_str(), rows, records.data(), -1);
        const long long after = Now();
        if (!answered)
            return Fail("a tick was not answered");
        micros.push_back((after - before) / 1000);
    }
    std::string out;
    for (const long long t : micros)
        out += std::to_string(t) + ' ';
    std::printf("%s\n", out.c_str());
    std::fflush(stdout);
    CloseConnection(handle);
    ToolkitShutdown();
    return 0;
}
