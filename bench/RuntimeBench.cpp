// EvaluateTagList of 1,000 and 10,000 tag lines through a real VantelRuntime on
// loopback, beside a loopback round trip of the same request and reply sizes
// (the physical limit); prints both and their ratio. Then the time the tag
// browser takes to open on the 10,000 tags.

#include "LoopbackEcho.h"
#include "RuntimeServer.h"
#include "runtime/TagBrowserExt.h"
#include "runtime/VantelToolkit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kTags = 10000;
constexpr int kRepeats = 21;

double Median(const std::function<void()>& work)
{
    std::vector<double> times;
    work(); // warm-up
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RuntimeServer runtime(kTags);
    VtHandle handle = nullptr;
    if (runtime.Port() == 0 || !ToolkitStartup() ||
        ConnectRuntime(u"127.0.0.1", runtime.Port(), u"", 0, u"", 10, &handle) != S_OK) {
        std::fprintf(stderr, "bench_runtime: cannot start or reach VantelRuntime\n");
        return 1;
    }
    ActivateConnection(handle);
    LoopbackEcho echo;
    if (!echo.Ok())
        return 1;

    std::printf("| lines | request bytes | reply bytes | EvaluateTagList ms | echo ms | ratio |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|\n");
    for (int count : {1000, 10000}) {
        QStringList names;
        for (int i = 0; i < count; ++i)
            names << RuntimeServer::TagName(i);
        const std::u16string lines = (names.join(u'\n') + u'\n').toStdU16String();
        std::vector<ResultRecord> records(static_cast<std::size_t>(count));
        qint64 requestBytes = 0;
        qint64 replyBytes = 0;
        if (!runtime.FrameSizes(names, requestBytes, replyBytes)) {
            std::fprintf(stderr, "bench_runtime: no reply to a plain Evaluate of %d lines\n", count);
            return 1;
        }
        const double toolkit = Median([&] { EvaluateTagList(lines.c_str(), count, records.data(), -1); });
        if (records.back().valid == 0) {
            std::fprintf(stderr, "bench_runtime: evaluation failed\n");
            return 1;
        }
        const double physical = Median(
            [&] { echo.RoundTrip(static_cast<std::size_t>(requestBytes), static_cast<std::size_t>(replyBytes)); });
        std::printf("| %d | %lld | %lld | %.3f | %.3f | %.2f |\n", count, static_cast<long long>(requestBytes),
                    static_cast<long long>(replyBytes), toolkit, physical, toolkit / physical);
    }

    // The browser: from the call to its first turn of the event loop, shown and filled.
    const double browser = Median([] {
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        VtChar buffer[kTagBrowserBufferSize];
        TagBrowser(buffer, kTagBrowserBufferSize, 1, 0, 0);
    });
    std::printf("\nTag browser open and close with %d tags: %.3f ms\n", kTags, browser);
    CloseConnection(handle);
    ToolkitShutdown();
    return 0;
}
