// Insert Copied Cells and Paste asking the runtime for many rows at once give
// what committing the rows one by one gives: the same cells, boxes, selection
// and focus, and the same tag values in the runtime afterwards.
#include "WatchRuntimeFixture.h"

#include "res/Resource.h"
#include "res/Resources.h"
#include "runtime/VtText.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "watch/CGridQuillon.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

int g_compiles = 0;
int g_batches = 0;

int CountedCompile(const VtChar* text, void* compiled, std::size_t size, int a, int flags, int b, int c)
{
    ++g_compiles;
    return ::CompileExpression(text, compiled, size, a, flags, b, c);
}

int CountedEnterRows(const VtRowEntry* rows, int count, const VtChar* invalid, VtRowAnswer* answers)
{
    ++g_batches;
    return ::EnterRows(rows, count, invalid, answers);
}

// The real toolkit, counted; without the batched request for the row-by-row run.
const RuntimeCalls& Calls(bool batched)
{
    static const RuntimeCalls withBatch = [] {
        RuntimeCalls table = RuntimeCalls::Real();
        table.CompileExpression = &CountedCompile;
        table.EnterRows = &CountedEnterRows;
        return table;
    }();
    static const RuntimeCalls rowByRow = [] {
        RuntimeCalls table = withBatch;
        table.EnterRows = nullptr;
        return table;
    }();
    return batched ? withBatch : rowByRow;
}

const QStringList kWritable = {"Test.Int", "Test.Real", "Test.String", "Test.Bool", "Plant.Tank1.Setpoint"};

// Valid tags and expressions, rows that do not compile, forbidden rows,
// values written (also ones the tag refuses and to a read-only tag), a row
// reading what an earlier row wrote, a Value equal to what the row shows,
// a Quality and a Continuous field, and an empty line.
const QString kLines = QStringLiteral("Test.Int\t41\n"
                                      "Test.Int + 1\n"
                                      "Test.ReadOnly * 2 + 1\tignored\tGOOD\t0\n"
                                      "1 +* 2\t5\n"
                                      "CreateUser(\"mallory\", \"pw\")\n"
                                      "  Test.String \t  spaced text \n"
                                      "Test.Real\t2.5\n"
                                      "Test.Real * 2\n"
                                      "Test.Int\tnot a number\n"
                                      "Test.ReadOnly\t99\n"
                                      "Test.Bool\t0\n"
                                      "Plant.Tank1.Setpoint\t\tBAD\t1\n"
                                      "\n"
                                      "Unknown.Tag\t3\n"
                                      "RunVBScript(\"x\") + Test.Int\n"
                                      "Test.String\tlast\r\n");

struct Outcome
{
    QStringList cells;
    QString selection;
    QStringList runtime;
    int compiles = 0;
    int batches = 0;
};

class WatchBatch : public WatchRuntimeFixture
{
protected:
    void SetUp() override
    {
        WatchRuntimeFixture::SetUp();
        if (HasFatalFailure())
            return;
        for (const QString& tag : kWritable)
            initial << ReadTag(tag);
    }

    QString ReadTag(const QString& name)
    {
        TagRef ref{};
        VtChar text[1024] = {};
        std::uint16_t quality = 0;
        if (!ResolveTag(&ref, VtText(name)) || !ReadTagText(&ref, text, std::size(text), &quality, 0))
            return QStringLiteral("?");
        return QString::fromUtf16(text) + u'/' + QString::number(quality);
    }

    void RestoreTags()
    {
        for (qsizetype i = 0; i < kWritable.size(); ++i) {
            TagRef ref{};
            const QString value = initial.at(i).section(u'/', 0, 0);
            ResolveTag(&ref, VtText(kWritable.at(i)));
            WriteTagText(&ref, VtText(value), -1, -1, -1, 0);
        }
    }

    // One run on a fresh grid holding `rows` loaded rows: act, then record.
    Outcome Run(bool batched, int rows, const std::function<void(CGridQuillon&)>& act)
    {
        RestoreTags();
        WatchGridFixture g(nullptr);
        g.host.handle = f.host.handle;
        g.grid->SetRuntimeCalls(Calls(batched));
        for (int i = 0; i < rows; ++i)
            g.LoadRow(QStringLiteral("Test.Int"), false);
        g_compiles = g_batches = 0;
        act(*g.grid);
        Outcome outcome{{}, {}, {}, g_compiles, g_batches};
        for (int row = 1; row < g.grid->GetRowCount(); ++row) {
            for (int col = 0; col < 3; ++col)
                outcome.cells << g.grid->GetItemText(row, col);
            outcome.cells << (g.grid->IsContinuous(row) ? QStringLiteral("[x]") : QStringLiteral("[ ]"));
        }
        const CellSpan span = g.grid->GetSelectedCellRange();
        const CCellID focus = g.grid->GetFocusCell();
        outcome.selection = QStringLiteral("%1,%2-%3,%4 focus %5,%6")
                                .arg(span.GetMinRow())
                                .arg(span.GetMinCol())
                                .arg(span.GetMaxRow())
                                .arg(span.GetMaxCol())
                                .arg(focus.row)
                                .arg(focus.col);
        for (const QString& tag : kWritable)
            outcome.runtime << tag + u'=' + ReadTag(tag);
        return outcome;
    }

    // The batched run against the row-by-row one; the row-by-row outcome.
    Outcome ExpectSameOutcome(int rows, const std::function<void(CGridQuillon&)>& act)
    {
        const Outcome single = Run(false, rows, act);
        const Outcome batched = Run(true, rows, act);
        EXPECT_EQ(batched.cells, single.cells);
        EXPECT_EQ(batched.selection, single.selection);
        EXPECT_EQ(batched.runtime, single.runtime);
        // Every row was answered by the one request; none asked on its own.
        EXPECT_EQ(batched.batches, 1);
        EXPECT_EQ(batched.compiles, 0);
        EXPECT_GT(single.compiles, 5);
        // Forbidden rows were refused, and the last write reached the runtime.
        EXPECT_EQ(single.cells.count(LoadResString(IDS_INVALID_EXPRESSION)), 2);
        EXPECT_TRUE(single.runtime.contains(QStringLiteral("Test.String=last/192")));
        return single;
    }

    QStringList initial;
};

void InsertCopied(CGridQuillon& grid)
{
    QApplication::clipboard()->setText(kLines);
    grid.SetFocusCell(1, CGridQuillon::ColTag);
    grid.OnInsertCopiedCells();
}

void PasteAtTop(CGridQuillon& grid)
{
    QMimeData data;
    data.setText(kLines);
    grid.PasteTextAt(CCellID(1, CGridQuillon::ColTag), &data, TRUE);
}

TEST_F(WatchBatch, InsertCopiedCellsInOneRequestMatchesRowByRow)
{
    const Outcome single = ExpectSameOutcome(0, InsertCopied);
    // The run did something: values written, rows evaluated.
    EXPECT_TRUE(single.cells.contains(QStringLiteral("Test.Int + 1")));
    EXPECT_TRUE(single.cells.contains(QStringLiteral("42")));
}

TEST_F(WatchBatch, PasteIntoExistingRowsInOneRequestMatchesRowByRow)
{
    const Outcome single = ExpectSameOutcome(20, PasteAtTop);
    EXPECT_TRUE(single.cells.contains(QStringLiteral("Test.Real * 2")));
}

// The runtime gone before the rows are committed: the batched request fails
// and every row goes the way it went one by one.
TEST_F(WatchBatch, LostConnectionEndsAsRowByRow)
{
    runtime.Kill();
    const auto lost = [this](bool batched) {
        WatchGridFixture g(nullptr);
        g.host.handle = f.host.handle;
        g.grid->SetRuntimeCalls(Calls(batched));
        InsertCopied(*g.grid);
        QStringList cells;
        for (int row = 1; row < g.grid->GetRowCount(); ++row)
            cells << g.grid->GetItemText(row, CGridQuillon::ColTag) << g.grid->GetItemText(row, CGridQuillon::ColValue);
        return std::make_pair(cells, g.host.disconnectedMarks);
    };
    const auto single = lost(false);
    const auto batched = lost(true);
    EXPECT_EQ(batched, single);
    EXPECT_EQ(single.second, 1);
}

} // namespace
