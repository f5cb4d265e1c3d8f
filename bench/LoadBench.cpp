#include "LoadBench.h"

#include "BenchTable.h"
#include "RuntimeServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kClients = 200;
constexpr int kRows = 100;
constexpr int kPeriodMs = 500;
constexpr int kTicks = 60; // 30 s
constexpr int kTags = kClients * kRows;
constexpr int kWaitMs = 60000;
constexpr long long kLeadMs = 1000; // from the start signal to the first tick

// Every fifth tag is simulated, so that the simulation writes the store while
// the clients read it.
QString PlantText()
{
    static const char* const kTypes[] = {"real ro 0 sim=sine min=0 max=100 period=10", "real rw 1.5", "int rw 42",
                                         "bool rw 1", "string rw \"Batch 7\""};
    QString text;
    for (int i = 0; i < kTags; ++i)
        text += QStringLiteral("%1 %2\n").arg(RuntimeServer::TagName(i), kTypes[i % 5]);
    return text;
}

long long MonotonicNanos()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

// User and system time of a process in seconds; negative when unreadable.
double CpuSeconds(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = file.readAll();
    // The command name may hold spaces; the fields are counted after its ')'.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    constexpr int kUtime = 11; // fields 14 and 15 of the whole line
    if (fields.size() <= kUtime + 1)
        return -1;
    return (fields[kUtime].toDouble() + fields[kUtime + 1].toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().split(' ').value(0).toDouble() : -1;
}

// Waits for the next line of a client and returns it trimmed.
QByteArray ReadLine(QProcess& client)
{
    while (!client.canReadLine()) {
        if (!client.waitForReadyRead(kWaitMs))
            return {};
    }
    return client.readLine().trimmed();
}

} // namespace

bool LoadBench::Run(BenchTable& lines)
{
    const RuntimeServer runtime(PlantText());
    if (runtime.Port() == 0)
        return BenchTable::Fail("cannot start VantelRuntime for the load");
    const QString program = QCoreApplication::applicationDirPath() + "/bench_load_client";
    std::vector<std::unique_ptr<QProcess>> clients;
    // On a failed run the rest are stopped together, not one destructor's wait after another.
    const auto stopAll = qScopeGuard([&clients] {
        for (auto& client : clients)
            client->kill();
        for (auto& client : clients)
            client->waitForFinished(kWaitMs);
    });
    for (int i = 0; i < kClients; ++i) {
        auto client = std::make_unique<QProcess>();
        client->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Starts spread over the period, so that the ticks are too.
        client->start(program,
                      {QString::number(runtime.Port()), QString::number(i * kRows), QString::number(kRows),
                       QString::number(i * kPeriodMs / kClients), QString::number(kTicks), QString::number(kPeriodMs)});
        clients.push_back(std::move(client));
    }
    for (auto& client : clients) {
        if (ReadLine(*client) != "ready")
            return BenchTable::Fail("a load client did not connect");
    }

    const double cpuBefore = CpuSeconds(runtime.ProcessId());
    const long long start = MonotonicNanos() + kLeadMs * 1000000;
    const QByteArray signal = QByteArray::number(start) + '\n';
    // Without an event loop a QProcess passes written bytes on only inside its own waits.
    for (auto& client : clients) {
        if (client->write(signal) != signal.size() || !client->waitForBytesWritten(kWaitMs))
            return BenchTable::Fail("a load client did not take the start time");
    }
    std::vector<double> ticks;
    ticks.reserve(static_cast<std::size_t>(kClients * kTicks));
    for (auto& client : clients) {
        const QByteArray line = ReadLine(*client);
        const QList<QByteArray> times = line.split(' ');
        if (times.size() != kTicks || !client->waitForFinished(kWaitMs) || client->exitCode() != 0) {
            std::fprintf(stderr, "bench_quillon: load client: %s\n", line.constData());
            return BenchTable::Fail("a load client failed");
        }
        for (const QByteArray& t : times)
            ticks.push_back(t.toDouble() / 1000);
    }
    const double wall = (MonotonicNanos() - start) / 1e9;
    const double cpu = CpuSeconds(runtime.ProcessId()) - cpuBefore;
    if (cpuBefore < 0 || cpu < 0)
        return BenchTable::Fail("cannot read the runtime's CPU time");

    std::sort(ticks.begin(), ticks.end());
    const double p99 = ticks[ticks.size() * 99 / 100];
    std::fprintf(stderr, "runtime load: median tick %.3f ms, p99 %.3f ms, max %.3f ms, load average %.2f\n",
                 ticks[ticks.size() / 2], p99, ticks.back(), LoadAverage());
    lines.Add({"runtime load, 200 clients", kClients, p99, BenchTable::kLoadTickLimitMs, "ms", "limit",
               BenchTable::Goal::LoadTickLimit});
    lines.Add(
        {"runtime CPU share, 200 clients", kClients, 100 * cpu / wall, 100, "%", "one core", BenchTable::Goal::None});
    return true;
}
