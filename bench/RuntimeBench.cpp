// EvaluateTagList of 1,000 and 10,000 tag lines through a real VantelRuntime on
// loopback, beside a loopback round trip of the same request and reply sizes
// (the physical limit); prints both and their ratio. Then the time the tag
// browser takes to open on the 10,000 tags.

#include "LoopbackEcho.h"
#include "runtime/TagBrowserExt.h"
#include "runtime/VantelToolkit.h"
#include "toolkit/protocol/Protocol.h"
#include "toolkit/protocol/WireWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtEndian>

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

// A plant of kTags tags of all four types in three levels of folders.
QString PlantText()
{
    static const char* const kTypes[] = {"real rw 1.5", "int rw 42", "bool rw 1", "string rw \"Batch 7\""};
    QString text;
    for (int i = 0; i < kTags; ++i)
        text += QStringLiteral("Area%1.Unit%2.Tag%3 %4\n").arg(i / 100).arg(i / 10 % 10).arg(i % 10).arg(kTypes[i % 4]);
    return text;
}

QString TagName(int i)
{
    return QStringLiteral("Area%1.Unit%2.Tag%3").arg(i / 100).arg(i / 10 % 10).arg(i % 10);
}

bool StartRuntime(QProcess& process, const QString& plant, quint16& port)
{
    process.start(QCoreApplication::applicationDirPath() + "/VantelRuntime", {"--port", "0", "--plant", plant});
    if (!process.waitForStarted(10000))
        return false;
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(10000))
            return false;
    }
    port = static_cast<quint16>(QString::fromUtf8(process.readLine()).trimmed().section(':', -1).toUInt());
    return port != 0;
}

// The frame sizes of one Evaluate of these lines, read off the wire.
bool FrameSizes(quint16 port, const QStringList& lines, qint64& requestBytes, qint64& replyBytes)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(3000))
        return false;
    const auto exchange = [&socket](vtproto::Request type, const WireWriter& body, qint64& sent) {
        WireWriter head;
        head.U8(static_cast<std::uint8_t>(type));
        head.U32(1);
        const QByteArray payload = head.Payload() + body.Payload();
        QByteArray frame(vtproto::kHeaderSize, Qt::Uninitialized);
        qToBigEndian(static_cast<std::uint32_t>(payload.size()), frame.data());
        sent = socket.write(frame + payload);
        while (socket.bytesAvailable() < vtproto::kHeaderSize && socket.waitForReadyRead(3000)) {
        }
        const qint64 length = qFromBigEndian<std::uint32_t>(socket.read(vtproto::kHeaderSize).constData());
        qint64 got = 0;
        while (got < length && (socket.bytesAvailable() > 0 || socket.waitForReadyRead(3000)))
            got += socket.read(length - got).size();
        return vtproto::kHeaderSize + got;
    };
    WireWriter hello;
    hello.U32(vtproto::kMagic);
    hello.U16(vtproto::kVersion);
    qint64 ignored = 0;
    exchange(vtproto::Request::Hello, hello, ignored);
    WireWriter evaluate;
    evaluate.U32(static_cast<std::uint32_t>(lines.size()));
    for (const QString& line : lines)
        evaluate.Str(line);
    replyBytes = exchange(vtproto::Request::Evaluate, evaluate, requestBytes);
    return replyBytes > vtproto::kHeaderSize;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString plant = dir.filePath("plant.txt");
    QFile file(plant);
    if (!file.open(QIODevice::WriteOnly) || file.write(PlantText().toUtf8()) < 0)
        return 1;
    file.close();
    QProcess runtime;
    quint16 port = 0;
    VtHandle handle = nullptr;
    if (!StartRuntime(runtime, plant, port) || !ToolkitStartup() ||
        ConnectRuntime(u"127.0.0.1", port, u"", 0, u"", 10, &handle) != S_OK) {
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
            names << TagName(i);
        const std::u16string lines = (names.join(u'\n') + u'\n').toStdU16String();
        std::vector<ResultRecord> records(static_cast<std::size_t>(count));
        qint64 requestBytes = 0;
        qint64 replyBytes = 0;
        if (!FrameSizes(port, names, requestBytes, replyBytes)) {
            std::fprintf(stderr, "bench_runtime: no reply to a plain Evaluate of %d lines\n", count);
            return 1;
        }
        const double toolkit = Median([&] { EvaluateTagList(lines.c_str(), count, records.data(), -1); });
        if (records.back().valid == 0) {
            std::fprintf(stderr, "bench_runtime: evaluation failed\n");
            return 1;
        }
        const double physical = Median([&] {
            echo.RoundTrip(static_cast<std::size_t>(requestBytes), static_cast<std::size_t>(replyBytes));
        });
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
    runtime.kill();
    runtime.waitForFinished(10000);
    return 0;
}
