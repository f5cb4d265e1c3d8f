// The program's benchmark: each figure beside a peer or a limit measured in
// the same run, in one table. The peer is a QTableView over a
// QStandardItemModel; the limit of a refresh tick is a plain loopback round
// trip of the same bytes.
//
//   bench_quillon                     the table
//   bench_quillon --resident KIND LIST   (internal) bytes per row of the list
//                                        file LIST loaded into KIND "watch" or
//                                        "peer", as its own process
//   bench_quillon --only WORD         the steps whose name holds WORD
//   bench_quillon --trend             the trend's lines only

#include "BenchClock.h"
#include "BenchHost.h"
#include "BenchTable.h"
#include "LoadBench.h"
#include "LoopbackEcho.h"
#include "PaintBench.h"
#include "PeerTable.h"
#include "PlainGridBench.h"
#include "RuntimeServer.h"
#include "WatchPasteBench.h"
#include "tests/runtimed/ModbusDeviceProcess.h"

#include "app/WatchListFile.h"
#include "grid/CGridCtrl.h"
#include "runtime/VantelToolkit.h"
#include "tests/common/TestCertificates.h"
#include "trend/CTrendChartView.h"
#include "trend/CTrendWindow.h"
#include "watch/CGridQuillon.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <malloc.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 4;
constexpr int kTags = 10000;
constexpr int kRepeats = 3;
constexpr int kTickRepeats = 11;
constexpr int kModbusTags = 1000;
constexpr int kTrendSeries = CTrendWindow::kMaxSeries;

void Flush()
{
    QApplication::processEvents();
}

// A list in which sorting has work to do: tag names in a scrambled order,
// every other row Continuous.
std::vector<WatchListRow> ScrambledList(int count)
{
    std::vector<WatchListRow> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        rows.push_back({RuntimeServer::TagName(static_cast<int>((i * 7919LL) % count)), i % 2 == 0});
    return rows;
}

// Keys that rise and then fall, "00001" ... "50000" ... "00001": a quicksort
// around the middle key splits off a row or two per pass on them.
std::vector<WatchListRow> RisingThenFallingList(int count)
{
    std::vector<WatchListRow> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        rows.push_back({QStringLiteral("%1").arg(i < count / 2 ? i + 1 : count - i, 5, 10, QChar(u'0')), false});
    return rows;
}

// The first 'count' tags of the plant, all Continuous.
std::vector<WatchListRow> ContinuousList(int count)
{
    std::vector<WatchListRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({RuntimeServer::TagName(i), true});
    return rows;
}

// Cells shaped like a watch row's: a tag name, a value, a quality, a flag.
QString CellText(int row, int col)
{
    switch (col) {
    case 0: return RuntimeServer::TagName(row);
    case 1: return QString::number(row * 0.25);
    case 2: return QStringLiteral("Good");
    default: return QString::number(row % 2);
    }
}

long long ResidentBytes()
{
    malloc_trim(0);
    long long size = 0;
    long long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lld %lld", &size, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

// Child process: the resident set with the list loaded minus before it.
int ResidentPerRow(const QString& kind, const QString& path)
{
    std::unique_ptr<BenchHost> host;
    std::unique_ptr<PeerTable> peer;
    if (kind == u"watch")
        host = std::make_unique<BenchHost>();
    else
        peer = std::make_unique<PeerTable>();
    Flush();
    const long long before = ResidentBytes();
    // The list read from the file goes before the second look; its texts
    // live on in the rows.
    std::size_t count = 0;
    {
        const std::vector<WatchListRow> rows = WatchListFile::Read(path);
        count = rows.size();
        if (host)
            host->Load(rows);
        else
            peer->Load(rows);
    }
    Flush();
    const long long after = ResidentBytes();
    if (count != std::size_t(kRows))
        return 1;
    std::printf("%lld\n", (after - before) / kRows);
    return 0;
}

double MeasureResident(const char* kind, const QString& path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--resident", kind, path});
    if (!child.waitForFinished(120000) || child.exitCode() != 0)
        return -1;
    return child.readAllStandardOutput().trimmed().toDouble();
}

bool MemoryPerRow(const QString& path, BenchTable& lines)
{
    const double watchBytes = MeasureResident("watch", path);
    const double peerBytes = MeasureResident("peer", path);
    if (watchBytes <= 0 || peerBytes <= 0)
        return BenchTable::Fail("the resident set could not be measured");
    lines.Add({"memory per watch row", kRows, watchBytes, peerBytes, "B", "peer", BenchTable::Goal::BytesPerRow});
    return true;
}

// ---------------------------------------------------------------- load and sort

// A sorted peer goes to 'sorted': the model's own teardown after a sort looks
// each item up among its siblings, for minutes at 100,000 rows, so the
// program ends without it.
using SortedPeers = std::vector<std::unique_ptr<PeerTable>>;

bool SortsAndIsSorted(CGridQuillon& grid, PeerTable& peer, double* ours, double* peers)
{
    grid.SetFocusCell(1, CGridQuillon::ColTag);
    *ours = BenchClock::Time([&] {
        grid.OnSortAscending();
        Flush();
    });
    *peers = BenchClock::Time([&] {
        peer.Model().sort(CGridQuillon::ColTag);
        Flush();
    });
    for (int row = 2; row <= kRows; ++row) {
        if (QString::compare(grid.GetItemText(row - 1, 0), grid.GetItemText(row, 0), Qt::CaseInsensitive) > 0)
            return BenchTable::Fail("the watch rows are not sorted");
    }
    return true;
}

bool SortRisingThenFalling(BenchTable& lines, SortedPeers& sorted)
{
    const std::vector<WatchListRow> list = RisingThenFallingList(kRows);
    BenchHost host;
    host.Load(list);
    auto peer = std::make_unique<PeerTable>();
    peer->Load(list);
    Flush();
    double sort = 0;
    double peerSort = 0;
    if (!SortsAndIsSorted(host.Grid(), *peer, &sort, &peerSort))
        return false;
    lines.Add({"sort keys rising then falling", kRows, sort, peerSort, "ms", "peer", BenchTable::Goal::HalfThePeer});
    sorted.push_back(std::move(peer));
    return true;
}

bool LoadAndSort(const QString& path, BenchTable& lines, SortedPeers& sorted)
{
    std::unique_ptr<BenchHost> host;
    const double load = BenchClock::Median(kRepeats, [&] {
        host.reset();
        host = std::make_unique<BenchHost>();
        Flush();
        return BenchClock::Time([&] {
            host->Load(WatchListFile::Read(path));
            Flush();
        });
    });
    std::unique_ptr<PeerTable> peer;
    const double peerLoad = BenchClock::Median(kRepeats, [&] {
        peer.reset();
        peer = std::make_unique<PeerTable>();
        Flush();
        return BenchClock::Time([&] {
            peer->Load(WatchListFile::Read(path));
            Flush();
        });
    });
    CGridQuillon& grid = host->Grid();
    // The header row and the empty entry row besides the list.
    if (grid.GetRowCount() != kRows + 2 || peer->Model().rowCount() != kRows)
        return BenchTable::Fail("the list did not load");
    lines.Add({"load DBRemoteQuillon.dat", kRows, load, peerLoad, "ms", "peer", BenchTable::Goal::HalfThePeer});

    double sort = 0;
    double peerSort = 0;
    if (!SortsAndIsSorted(grid, *peer, &sort, &peerSort))
        return false;
    lines.Add({"sort by Tag/Expression", kRows, sort, peerSort, "ms", "peer", BenchTable::Goal::HalfThePeer});
    sorted.push_back(std::move(peer));
    return true;
}

// ---------------------------------------------------------------- copy and paste

std::unique_ptr<CGridCtrl> PlainGrid(QWidget& window)
{
    auto grid = std::make_unique<CGridCtrl>(kRows + 1, kColumns, 1, 0);
    grid->Create(RECT{0, 0, window.width(), window.height()}, &window, 1);
    return grid;
}

bool CopyAndPaste(BenchTable& lines)
{
    QWidget window;
    window.resize(400, 300);
    window.show();
    const std::unique_ptr<CGridCtrl> source = PlainGrid(window);
    for (int row = 1; row <= kRows; ++row) {
        for (int col = 0; col < kColumns; ++col)
            source->SetItemText(row, col, CellText(row, col));
    }
    source->SetSelectedRange(1, 0, kRows, kColumns - 1);
    Flush();
    const double copy = BenchClock::Median(kRepeats, [&] { return BenchClock::Time([&] { source->OnEditCopy(); }); });
    const QString copied = QGuiApplication::clipboard()->text();
    // Out of the window: only the grid pasted into paints there.
    source->setParent(nullptr);

    std::unique_ptr<CGridCtrl> target;
    const double paste = BenchClock::Median(kRepeats, [&] {
        target.reset();
        target = PlainGrid(window);
        target->SetFocusCell(1, 0);
        Flush();
        return BenchClock::Time([&] {
            target->OnEditPaste();
            Flush();
        });
    });
    if (target->GetItemText(kRows, kColumns - 1) != CellText(kRows, kColumns - 1))
        return BenchTable::Fail("the paste did not arrive");

    PeerTable peerSource(kRows, [](int row, int col) { return CellText(row + 1, col); });
    Flush();
    const double exportText =
        BenchClock::Median(kRepeats, [&] { return BenchClock::Time([&] { peerSource.ExportToClipboard(); }); });
    if (QGuiApplication::clipboard()->text() != copied)
        return BenchTable::Fail("the grid and the peer copied different text");
    std::unique_ptr<PeerTable> peerTarget;
    const double importText = BenchClock::Median(kRepeats, [&] {
        peerTarget.reset();
        peerTarget = std::make_unique<PeerTable>(kRows);
        Flush();
        return BenchClock::Time([&] {
            peerTarget->ImportFromClipboard();
            Flush();
        });
    });
    lines.Add(
        {"copy 4 columns to the clipboard", kRows, copy, exportText, "ms", "peer", BenchTable::Goal::HalfThePeer});
    lines.Add({"paste 4 columns into a grid", kRows, paste, importText, "ms", "peer", BenchTable::Goal::HalfThePeer});
    return true;
}

// ---------------------------------------------------------------- refresh tick

// The median refresh tick of `rows`, all Continuous, once every row shows a
// GOOD value, so that device tags are measured as they are read, not while
// they wait; -1 when no good values came.
double SettledTick(VtHandle handle, const std::vector<WatchListRow>& rows)
{
    BenchHost host;
    host.SetConnection(handle);
    host.Load(rows);
    Flush();
    CGridQuillon& grid = host.Grid();
    const int count = static_cast<int>(rows.size());
    const auto tick = [&] {
        return BenchClock::Time([&] {
            grid.RefreshContinuousRows();
            Flush();
        });
    };
    const QDeadlineTimer deadline(10000);
    for (tick(); grid.GetItemText(count, CGridQuillon::ColQuality) != u"GOOD"; tick()) {
        if (deadline.hasExpired())
            return -1;
        QThread::msleep(20);
    }
    return BenchClock::Median(kTickRepeats, tick);
}

// One settled refresh tick of `rows` beside a loopback round trip of the same bytes.
bool MeasureTick(const RuntimeServer& runtime, VtHandle handle, LoopbackEcho& echo,
                 const std::vector<WatchListRow>& rows, const char* operation, BenchTable::Goal goal, BenchTable& lines)
{
    QStringList names;
    for (const WatchListRow& row : rows)
        names << row.text;
    qint64 requestBytes = 0;
    qint64 replyBytes = 0;
    if (!runtime.FrameSizes(names, requestBytes, replyBytes))
        return BenchTable::Fail("no reply to a plain Evaluate");
    const double ours = SettledTick(handle, rows);
    if (ours < 0)
        return BenchTable::Fail("the refresh showed no good values");
    const double physical = BenchClock::Median(kTickRepeats, [&] {
        return BenchClock::Time(
            [&] { echo.RoundTrip(static_cast<std::size_t>(requestBytes), static_cast<std::size_t>(replyBytes)); });
    });
    lines.Add({operation, static_cast<int>(rows.size()), ours, physical, "ms", "echo", goal});
    return true;
}

// Runs `measure` on a toolkit connection to the runtime and a loopback echo.
bool WithConnection(const RuntimeServer& runtime, const std::function<bool(VtHandle, LoopbackEcho&)>& measure)
{
    LoopbackEcho echo;
    if (!echo.Ok())
        return BenchTable::Fail("no loopback echo");
    VtHandle handle = nullptr;
    if (runtime.Port() == 0 || !ToolkitStartup() ||
        ConnectRuntime(u"127.0.0.1", runtime.Port(), u"", 0, u"", 10, &handle) != S_OK)
        return BenchTable::Fail("cannot start or reach VantelRuntime");
    ActivateConnection(handle);
    const bool measured = measure(handle, echo);
    CloseConnection(handle);
    ToolkitShutdown();
    return measured;
}

bool Ticks(BenchTable& lines)
{
    const RuntimeServer runtime(kTags);
    return WithConnection(runtime, [&](VtHandle handle, LoopbackEcho& echo) {
        for (const int count : {kTags / 10, kTags})
            if (!MeasureTick(runtime, handle, echo, ContinuousList(count), "refresh tick, Continuous rows",
                             count == kTags ? BenchTable::Goal::TickLimit : BenchTable::Goal::None, lines))
                return false;
        return true;
    });
}

// The tick of kTags rows with TLS between toolkit and runtime, beside the
// plain tick of the same rows measured just before (the last line).
bool TlsTick(BenchTable& lines)
{
    const double plainTick = lines.Last().ours;
    QTemporaryDir certificates;
    if (!TestCertificates::Make(certificates.path()))
        return BenchTable::Fail("cannot make the test certificates");
    const RuntimeServer runtime(kTags, certificates.path());
    const std::u16string ca = certificates.filePath("ca.pem").toStdU16String();
    if (VtSetTransportSecurity(1, ca.c_str()) != S_OK)
        return BenchTable::Fail("the toolkit refuses the test CA");
    const bool measured = WithConnection(runtime, [&](VtHandle handle, LoopbackEcho&) {
        const double ours = SettledTick(handle, ContinuousList(kTags));
        if (ours < 0)
            return BenchTable::Fail("the refresh over TLS showed no good values");
        lines.Add({"refresh tick over TLS", kTags, ours, plainTick, "ms", "plain", BenchTable::Goal::TlsRatio});
        return true;
    });
    VtSetTransportSecurity(0, u"");
    return measured;
}

// The same tick over tags of two Modbus devices (pymodbus servers), each
// polled by the runtime on its own: the tick reads the runtime's last values
// and never waits for a device.
bool ModbusTick(BenchTable& lines)
{
    ModbusDeviceProcess devices[2];
    QString plant;
    std::vector<WatchListRow> rows;
    for (int d = 0; d < 2; ++d) {
        if (!devices[d].Start(0, kModbusTags / 2))
            return BenchTable::Fail("cannot start the pymodbus device (python3-pymodbus)");
        plant += QStringLiteral("device Plc%1 modbus-tcp 127.0.0.1:%2\n").arg(d).arg(devices[d].Port());
        for (int a = 0; a < kModbusTags / 2; ++a) {
            const QString name = QStringLiteral("Plc%1.Register%2").arg(d).arg(a);
            plant += QStringLiteral("%1 int rw 0 device=Plc%2 table=holding address=%3\n").arg(name).arg(d).arg(a);
            rows.push_back({name, true});
        }
    }
    const RuntimeServer runtime(plant);
    return WithConnection(runtime, [&](VtHandle handle, LoopbackEcho& echo) {
        return MeasureTick(runtime, handle, echo, rows, "refresh tick, 1,000 Modbus tags",
                           BenchTable::Goal::ModbusTickLimit, lines);
    });
}

// ---------------------------------------------------------------- the trend

// Plant-like values that change on every tick (a slow wave per series, each
// at its own phase), so that every sample is a step of its own.
std::vector<TrendReading> TrendTick(int tick)
{
    std::vector<TrendReading> readings;
    for (int s = 0; s < kTrendSeries; ++s) {
        const double wave = 50 + 40 * std::sin((tick + s * 37) * 2 * M_PI / 240) + s;
        readings.push_back({QString::number(wave, 'f', 2), TrendQuality::Good});
    }
    return readings;
}

// The heap in use in every arena, big blocks included: glibc raises its mmap
// threshold when an mmapped block is freed, and from then on images of the
// window's size come from the heap proper instead, so counting only one of the
// two would depend on what the process freed before.
size_t HeapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// One tick added to 32 full series and the chart painted again; and the heap
// the 32 full series add to an empty trend window already shown at that size
// (its chart, axes and backing store), chart data and legend included.
bool Trend(BenchTable& lines)
{
    auto window = std::make_unique<CTrendWindow>(nullptr);
    window->resize(900, 500);
    window->show();
    Flush();
    QWidget* viewport = window->ChartView()->viewport();
    viewport->repaint();
    Flush();
    const size_t heapBefore = HeapBytes();
    QStringList labels;
    for (int s = 0; s < kTrendSeries; ++s)
        labels << QStringLiteral("Plant.Area%1.Value").arg(s);
    window->AddSeries(labels);
    Flush();
    // Filled while paused, so that only the last tick redraws.
    window->SetPaused(true);
    qint64 now = QDateTime::currentMSecsSinceEpoch();
    int tick = 0;
    for (; tick < TrendSeries::kCapacity; ++tick)
        window->AddTick(now += 500, TrendTick(tick));
    window->SetPaused(false);
    viewport->repaint();
    Flush();
    const double bytes = double(HeapBytes()) - double(heapBefore);

    const double update = BenchClock::Median(kTickRepeats, [&] {
        const std::vector<TrendReading> readings = TrendTick(++tick);
        return BenchClock::Time([&] {
            window->AddTick(now += 500, readings);
            viewport->repaint();
        });
    });
    if (window->Series().front()->Count() != TrendSeries::kCapacity)
        return BenchTable::Fail("the trend series are not full");
    lines.Add({"trend update, 32 series", kTrendSeries, update, BenchTable::kTrendTickLimitMs, "ms", "limit",
               BenchTable::Goal::TrendTick});
    lines.Add({"memory of 32 full trend series", kTrendSeries, bytes, BenchTable::kTrendBytesLimit, "B", "limit",
               BenchTable::Goal::TrendBytes});
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == u"--resident")
        return ResidentPerRow(args[2], args[3]);

    // --only WORD runs the steps whose name holds WORD; --trend is --only trend.
    QString only;
    if (args.size() == 3 && args[1] == u"--only")
        only = args[2];
    else if (args.size() == 2 && args[1] == u"--trend")
        only = QStringLiteral("trend");

    QTemporaryDir dir;
    const QString path = dir.filePath("DBRemoteQuillon.dat");
    if (!WatchListFile::Write(path, ScrambledList(kRows))) {
        BenchTable::Fail("cannot write the list file");
        return 1;
    }

    // The sorted peers are left to the end of the process (see SortedPeers).
    SortedPeers sortedPeers;
    const auto finish = [&dir](int code) {
        std::fflush(stdout);
        dir.remove();
        std::_Exit(code);
    };
    const std::vector<std::pair<const char*, std::function<bool(BenchTable&)>>> steps = {
        {"load and sort", [&](BenchTable& lines) { return LoadAndSort(path, lines, sortedPeers); }},
        {"sort rising then falling", [&](BenchTable& lines) { return SortRisingThenFalling(lines, sortedPeers); }},
        {"copy and paste", CopyAndPaste},
        {"plain grid", PlainGridBench::Run},
        {"paint and page scroll", PaintBench::Run},
        {"tick", Ticks},
        {"tls tick", TlsTick},
        {"modbus tick", ModbusTick},
        {"watch paste", WatchPasteBench::Run},
        {"trend", Trend},
        {"memory", [&](BenchTable& lines) { return MemoryPerRow(path, lines); }},
        {"runtime load", LoadBench::Run},
    };
    BenchTable lines;
    for (const auto& [name, step] : steps) {
        if (QString::fromLatin1(name).contains(only) && !step(lines))
            finish(1);
    }
    lines.Print();
    finish(0);
}
