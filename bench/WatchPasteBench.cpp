#include "WatchPasteBench.h"

#include "BenchClock.h"
#include "BenchHost.h"
#include "BenchTable.h"
#include "RuntimeServer.h"

#include "watch/CGridQuillon.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <memory>

namespace {

constexpr int kLines = 100000;
constexpr int kTags = 10000;
// Few repeats: each run is a whole paste of 100,000 lines.
constexpr int kRepeats = 3;

// Lines as the grid copies them: tag and Continuous flag, every fourth an
// expression over two tags, every tenth an expression that does not compile.
QString ClipboardText()
{
    QString text;
    for (int i = 0; i < kLines; ++i) {
        const QString tag = RuntimeServer::TagName(i % kTags);
        if (i % 10 == 9)
            text += tag + QStringLiteral(" +* 1\t\t\t0");
        else if (i % 4 == 3)
            text += tag + QStringLiteral(" + ") + RuntimeServer::TagName((i * 7) % kTags) + QStringLiteral("\t\t\t0");
        else
            text += tag + QStringLiteral("\t\t\t1");
        text += QStringLiteral("\r\n");
    }
    return text;
}

std::unique_ptr<QMimeData> Copied(const QString& text)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    return data;
}

// A grid at the empty entry row, the clipboard holding the lines.
double InsertOnce(VtHandle handle, const QString& text)
{
    BenchHost host;
    host.SetConnection(handle);
    host.Load({});
    CGridQuillon& grid = host.Grid();
    grid.SetFocusCell(1, CGridQuillon::ColTag);
    QApplication::clipboard()->setText(text);
    QApplication::processEvents();
    const double ms = BenchClock::Time([&] {
        grid.OnInsertCopiedCells();
        QApplication::processEvents();
    });
    return grid.GetRowCount() == kLines + 2 ? ms : -1;
}

// A grid that already holds as many rows, each watching another tag.
double PasteOnce(VtHandle handle, const QString& text)
{
    BenchHost host;
    host.SetConnection(handle);
    std::vector<WatchListRow> rows;
    for (int i = 0; i < kLines; ++i)
        rows.push_back({RuntimeServer::TagName((i + 1) % kTags), false});
    host.Load(rows);
    CGridQuillon& grid = host.Grid();
    const std::unique_ptr<QMimeData> data = Copied(text);
    QApplication::processEvents();
    const double ms = BenchClock::Time([&] {
        grid.PasteTextAt(CCellID(1, CGridQuillon::ColTag), data.get(), TRUE);
        QApplication::processEvents();
    });
    const QString lastTag = text.section(QStringLiteral("\r\n"), kLines - 1, kLines - 1).section(u'\t', 0, 0);
    return grid.GetItemText(kLines, CGridQuillon::ColTag) == lastTag ? ms : -1;
}

} // namespace

bool WatchPasteBench::Run(BenchTable& lines)
{
    const RuntimeServer runtime(kTags);
    VtHandle handle = nullptr;
    if (runtime.Port() == 0 || !ToolkitStartup() ||
        ConnectRuntime(u"127.0.0.1", runtime.Port(), u"", 0, u"", 10, &handle) != S_OK)
        return BenchTable::Fail("cannot start or reach VantelRuntime");
    ActivateConnection(handle);
    const QString text = ClipboardText();
    const double insert = BenchClock::Median(kRepeats, [&] { return InsertOnce(handle, text); });
    const double paste = BenchClock::Median(kRepeats, [&] { return PasteOnce(handle, text); });
    CloseConnection(handle);
    ToolkitShutdown();
    if (insert < 0 || paste < 0)
        return BenchTable::Fail("the paste did not reach every line");
    lines.Add({"insert copied cells", kLines, insert, BenchTable::kInsertLimitMs, "ms", "limit",
               BenchTable::Goal::InsertLimit});
    lines.Add({"paste into watch grid", kLines, paste, BenchTable::kInsertLimitMs, "ms", "limit",
               BenchTable::Goal::InsertLimit});
    return true;
}
