// The watch grid's evaluation on entry, the forbidden-function check, the
// refresh of Continuous rows, the typed write and Toggle, on a fake runtime.
#include "FakeRuntime.h"
#include "TestHost.h"

#include "platform/CCmdUI.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/common/LogCapture.h"
#include "watch/CGridQuillon.h"

#include <QMimeData>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

constexpr int Tag = CGridQuillon::ColTag;
constexpr int Value = CGridQuillon::ColValue;
constexpr int Quality = CGridQuillon::ColQuality;

QString Invalid()
{
    return LoadResString(IDS_INVALID_EXPRESSION);
}

class WatchGrid : public ::testing::Test
{
protected:
    WatchGrid()
    {
        rt.AddTag(QStringLiteral("Plant.Level"), QStringLiteral("42"));
        rt.AddTag(QStringLiteral("Plant.Flow"), QStringLiteral("3"), 64);
        rt.AddTag(QStringLiteral("Plant.Pump"), QStringLiteral("0"), 192, true);
        rt.AddTag(QStringLiteral("MyBlockUserCount"), QStringLiteral("1"));
    }

    QString Text(int row, int col) const { return f.grid->GetItemText(row, col); }

    FakeRuntime rt;
    WatchGridFixture f{&rt};
};

TEST_F(WatchGrid, NewWatchRowHasItsFormatsLimitsAndColours)
{
    CGridQuillon& g = *f.grid;
    EXPECT_EQ(g.GetRowCount(), 2);
    EXPECT_EQ(g.GetRowHeight(1), 17);
    EXPECT_EQ(g.GetItemFormat(1, Tag), 0x8824u);
    EXPECT_EQ(g.GetItemFormat(1, Value), 0x8824u);
    EXPECT_EQ(g.GetItemFormat(1, Quality), 0x8825u);
    EXPECT_EQ(g.GetItemTextLimit(1, Tag), 2048);
    EXPECT_EQ(g.GetItemTextLimit(1, Value), 1024);
    EXPECT_TRUE(g.GetItemState(1, Quality) & GRIDIS_READONLY);
    EXPECT_FALSE(f.IsChecked(1));
    EXPECT_TRUE(g.GetTitleTips());
    EXPECT_EQ(g.GetGridBkColor(), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(g.GetGridLineColor(), g.GetDefaultCell(TRUE, FALSE)->GetBackClr());
    EXPECT_EQ(g.InsertWatchRow(7), -1) << "beyond the grid";
    EXPECT_EQ(g.InsertWatchRow(1), 1);
    EXPECT_EQ(g.GetRowCount(), 3);
}

TEST_F(WatchGrid, CellsOutsideTheGridAreRefusedWithAWarning)
{
    CGridQuillon& g = *f.grid;
    LogCapture log(QStringLiteral("quillon.watch"));
    EXPECT_EQ(g.InsertWatchRow(7), -1);
    EXPECT_FALSE(g.ValidateEdit(9, Value, QStringLiteral("1")));
    QMimeData data;
    data.setText(QStringLiteral("Plant.Level"));
    EXPECT_FALSE(g.PasteTextAt(CCellID(-1, Tag), &data, TRUE));
    EXPECT_EQ(log.Messages(),
              QStringList({"InsertWatchRow: row 7 is outside the grid", "ValidateEdit: cell (9, 1) is outside the grid",
                           "PasteTextAt: cell (-1, 0) is outside the grid"}));
    EXPECT_EQ(g.GetRowCount(), 2) << "nothing changed";

    g.SetContinuous(0, TRUE);
    EXPECT_EQ(log.Messages().size(), 4) << "the header row has no Continuous box";

    // A paste with nothing on the clipboard is no misuse.
    EXPECT_FALSE(g.PasteTextAt(CCellID(1, Tag), nullptr, TRUE));
    EXPECT_EQ(log.Messages().size(), 4);
}

TEST_F(WatchGrid, StoredRowsArePlacedAboveTheEntryRowUnreadAndScrollable)
{
    CGridQuillon& g = *f.grid;
    std::vector<WatchListRow> rows;
    for (int i = 0; i < 300; ++i)
        rows.push_back({QStringLiteral("Plant.Row%1").arg(i), i % 3 == 0});
    rt.ResetCounts();
    g.AppendWatchRows(rows);
    ASSERT_EQ(g.GetRowCount(), 302);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(Text(i + 1, Tag), rows[size_t(i)].text);
        ASSERT_EQ(f.IsChecked(i + 1), rows[size_t(i)].continuous);
        ASSERT_EQ(g.GetRowHeight(i + 1), 17);
    }
    EXPECT_TRUE(Text(301, Tag).isEmpty()) << "the entry row stays last";
    EXPECT_TRUE(g.IsContinuous(301) == FALSE);
    EXPECT_EQ(rt.TotalCalls(), 0) << "a placed row is read on the next tick, not now";
    // Drawing and the scroll bars are back once the last row is in.
    EXPECT_TRUE(g.GetRedraw());
    EXPECT_GT(g.verticalScrollBar()->maximum(), 0);
    g.EnsureVisible(301, Tag);
    EXPECT_TRUE(g.IsCellVisible(301, Tag));

    // The header keeps a plain cell; every row below has a box.
    g.SetItemText(0, CGridQuillon::ColContinuous, QStringLiteral("Continuous"));
    EXPECT_EQ(Text(0, CGridQuillon::ColContinuous), QStringLiteral("Continuous"));
    g.SetContinuous(0, TRUE);
    EXPECT_FALSE(g.IsContinuous(0));

    // A grid not drawing before stays so.
    g.SetRedraw(FALSE);
    g.AppendWatchRows({{QStringLiteral("Plant.Level"), true}});
    EXPECT_FALSE(g.GetRedraw());
    EXPECT_TRUE(g.IsContinuous(301));
    EXPECT_EQ(g.GetRowCount(), 303);
}

TEST_F(WatchGrid, TypedTagIsReadWatchedAndGetsANewEmptyRowBelow)
{
    f.Type(1, Tag, QStringLiteral("  Plant.Level"));

    EXPECT_EQ(Text(1, Tag), QStringLiteral("Plant.Level")) << "normalised";
    EXPECT_EQ(Text(1, Value), QStringLiteral("42"));
    EXPECT_EQ(Text(1, Quality), QStringLiteral("TK192")) << "the toolkit's quality text";
    EXPECT_TRUE(f.IsChecked(1)) << "a single tag is watched at once";
    ASSERT_EQ(f.grid->GetRowCount(), 3);
    EXPECT_EQ(Text(2, Tag), QString());
    EXPECT_FALSE(f.IsChecked(2));
    // The edited row kept the focus and the Return that ended the edit moved it down.
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(2, Tag));
    EXPECT_EQ(rt.Count("EvaluateCompiled"), 1);
}

TEST_F(WatchGrid, ExpressionIsEvaluatedOnceAndNotWatched)
{
    f.Type(1, Tag, QStringLiteral("Plant.Level + Plant.Flow"));

    EXPECT_EQ(Text(1, Value), QStringLiteral("45"));
    EXPECT_EQ(Text(1, Quality), QStringLiteral("TK64")) << "the lowest quality read";
    EXPECT_FALSE(f.IsChecked(1));
    EXPECT_EQ(f.grid->GetRowCount(), 3);

    // Not refreshed while unchecked: it keeps the value of its evaluation.
    rt.TagNamed(QStringLiteral("Plant.Level")).value = QStringLiteral("50");
    f.grid->RefreshContinuousRows();
    EXPECT_EQ(rt.Count("EvaluateTagList"), 0);
    EXPECT_EQ(Text(1, Value), QStringLiteral("45"));
}

TEST_F(WatchGrid, NameThatDoesNotCompileShowsInvalidExpression)
{
    ASSERT_EQ(Invalid(), QStringLiteral("Invalid expression"));
    f.Type(1, Tag, QStringLiteral("NoSuchTag"));
    EXPECT_EQ(Text(1, Tag), QStringLiteral("NoSuchTag"));
    EXPECT_EQ(Text(1, Value), Invalid());
    EXPECT_EQ(Text(1, Quality), QStringLiteral("TK0"));
    EXPECT_FALSE(f.IsChecked(1));
}

TEST_F(WatchGrid, ForbiddenFunctionsAreFoundOutsideQuotesInAnyCase)
{
    const auto forbidden = [](const char* text) {
        return CGridQuillon::ContainsForbiddenFunction(QString::fromUtf8(text));
    };
    EXPECT_TRUE(forbidden("CreateUser(\"x\",\"y\")"));
    EXPECT_TRUE(forbidden("1 + cReAtEuSeR(\"x\",\"y\")"));
    EXPECT_TRUE(forbidden("setpassword(1)"));
    EXPECT_TRUE(forbidden("REMOVEUSER"));
    EXPECT_TRUE(forbidden("UnblockUser(a)"));
    EXPECT_TRUE(forbidden("RunVBScript(\"x\")"));
    EXPECT_TRUE(forbidden("MyBlockUserCount")) << "no word boundaries";
    EXPECT_TRUE(forbidden("\"a\" & \"b\" & CreateUser(\"x\")")) << "two strings before the name";
    EXPECT_TRUE(forbidden("\"unpaired CreateUser")) << "an unpaired quote hides nothing";
    EXPECT_FALSE(forbidden("\"CreateUser\""));
    EXPECT_FALSE(forbidden("LEN(\"call BlockUser now\") + 1"));
    EXPECT_FALSE(forbidden("Create User"));
    EXPECT_FALSE(forbidden(""));

    VtChar text[16] = u"BlockUser(x)";
    f.grid->CheckForbiddenFunctions(text, 16);
    const QString message = LoadResString(IDS_FORBIDDEN_FUNCTION);
    EXPECT_EQ(QString::fromUtf16(text), message.left(15)) << "cut to the capacity and terminated";
    VtChar harmless[16] = u"Plant.Level";
    f.grid->CheckForbiddenFunctions(harmless, 16);
    EXPECT_EQ(QString::fromUtf16(harmless), QStringLiteral("Plant.Level"));
}

TEST_F(WatchGrid, TypedForbiddenExpressionNeverReachesTheRuntime)
{
    f.Type(1, Tag, QStringLiteral("createUSER(\"x\",\"y\")"));
    f.Type(2, Tag, QStringLiteral("MyBlockUserCount"));

    EXPECT_EQ(Text(1, Tag), QStringLiteral("createUSER(\"x\",\"y\")")) << "the cell keeps the user's text";
    for (int row : {1, 2}) {
        EXPECT_EQ(Text(row, Value), Invalid());
        EXPECT_EQ(Text(row, Quality), QStringLiteral("TK0"));
        EXPECT_FALSE(f.IsChecked(row));
    }
    for (const QString& text : rt.compiled)
        EXPECT_EQ(text, LoadResString(IDS_FORBIDDEN_FUNCTION));

    // Only inside a string it is data and evaluated.
    rt.AddTag(QStringLiteral("Plant.Text"), QStringLiteral("CreateUser"));
    f.Type(3, Tag, QStringLiteral("Plant.Text"));
    EXPECT_EQ(Text(3, Value), QStringLiteral("CreateUser"));
}

TEST_F(WatchGrid, EmptyOrUnchangedTextIsNotEvaluated)
{
    EXPECT_TRUE(f.grid->ValidateEdit(1, Tag, QString()));
    EXPECT_EQ(rt.Count("CompileExpression"), 0);
    EXPECT_EQ(f.grid->GetRowCount(), 2) << "no row for an empty text";

    f.Type(1, Tag, QStringLiteral("Plant.Level"));
    rt.ResetCounts();
    f.Type(1, Tag, QStringLiteral("Plant.Level"));
    EXPECT_EQ(rt.Count("CompileExpression"), 0);
    EXPECT_EQ(f.grid->GetRowCount(), 3);
}

TEST_F(WatchGrid, EditsAreUndoneWhileDisconnectedAndALostConnectionIsMarked)
{
    f.host.connected = FALSE;
    f.Type(1, Tag, QStringLiteral("Plant.Level"));
    EXPECT_EQ(Text(1, Tag), QString());
    EXPECT_EQ(f.grid->GetRowCount(), 2);
    EXPECT_EQ(rt.Count("CompileExpression"), 0);

    f.host.connected = TRUE;
    rt.connectionLost = true;
    f.Type(1, Tag, QStringLiteral("Plant.Level"));
    EXPECT_EQ(Text(1, Tag), QString());
    EXPECT_EQ(f.host.disconnectedMarks, 1);
    EXPECT_FALSE(f.host.connected);
    EXPECT_EQ(rt.Count("CompileExpression"), 0);
}

TEST_F(WatchGrid, ToolkitNotReadyKeepsTheTextAndStillAddsTheEmptyRow)
{
    rt.ready = false;
    f.Type(1, Tag, QStringLiteral("Plant.Level"));
    EXPECT_EQ(Text(1, Tag), QStringLiteral("Plant.Level"));
    EXPECT_EQ(Text(1, Value), QString());
    EXPECT_EQ(f.grid->GetRowCount(), 3);
    EXPECT_EQ(rt.Count("CompileExpression"), 0);
}

TEST_F(WatchGrid, RefreshReadsAllContinuousRowsWithOneListEvaluation)
{
    const int level = f.LoadRow(QStringLiteral("Plant.Level"), true);
    const int once = f.LoadRow(QStringLiteral("Plant.Flow"), false);
    const int flow = f.LoadRow(QStringLiteral("Plant.Flow + 1"), true);
    const int broken = f.LoadRow(QStringLiteral("Plant.Level"), true);
    f.grid->SetItemText(once, Value, QStringLiteral("old"));

    f.grid->RefreshContinuousRows();
    ASSERT_EQ(rt.Count("EvaluateTagList"), 1);
    EXPECT_EQ(rt.lists.at(0), QStringLiteral("Plant.Level\nPlant.Flow + 1\nPlant.Level\n"));
    EXPECT_EQ(Text(level, Value), QStringLiteral("42"));
    EXPECT_EQ(Text(flow, Value), QStringLiteral("4"));
    EXPECT_EQ(Text(flow, Quality), LoadResString(IDS_QUALITY_UNCERTAIN)) << "the program's own quality text";
    EXPECT_EQ(Text(once, Value), QStringLiteral("old")) << "unchecked rows are not touched";

    // One row's expression turns invalid: only that row says so.
    f.grid->SetItemText(broken, Tag, QStringLiteral("Plant.Gone"));
    rt.TagNamed(QStringLiteral("Plant.Level")).value = QStringLiteral("43");
    rt.TagNamed(QStringLiteral("Plant.Level")).quality = 7;
    f.grid->RefreshContinuousRows();
    EXPECT_EQ(rt.Count("EvaluateTagList"), 2);
    EXPECT_EQ(Text(level, Value), QStringLiteral("43"));
    EXPECT_EQ(Text(level, Quality), LoadResString(IDS_QUALITY_INVALID));
    EXPECT_EQ(Text(broken, Value), Invalid());
    EXPECT_EQ(Text(broken, Quality), LoadResString(IDS_QUALITY_BAD));
    EXPECT_EQ(Text(flow, Value), QStringLiteral("4"));
}

TEST_F(WatchGrid, RefreshNeverSendsALoadedForbiddenRow)
{
    const int tag = f.LoadRow(QStringLiteral("Plant.Level"), true);
    const int evil = f.LoadRow(QStringLiteral("\"a\" & \"b\" & CreateUser(\"x\",\"y\",\"admins\")"), true);
    const int quoted = f.LoadRow(QStringLiteral("LEN(\"CreateUser\")"), true);

    f.grid->RefreshContinuousRows();
    ASSERT_EQ(rt.lists.size(), 1);
    EXPECT_EQ(rt.lists.at(0), QStringLiteral("Plant.Level\nLEN(\"CreateUser\")\n"));
    EXPECT_EQ(Text(tag, Value), QStringLiteral("42"));
    EXPECT_EQ(Text(evil, Value), Invalid());
    EXPECT_EQ(Text(evil, Quality), LoadResString(IDS_QUALITY_BAD));
    EXPECT_EQ(Text(quoted, Value), Invalid()) << "the fake has no LEN; it was sent";

    // With only forbidden rows nothing is asked at all.
    f.grid->SetItemText(tag, Tag, QStringLiteral("SetPassword(\"a\",\"b\")"));
    f.grid->SetItemText(quoted, Tag, QStringLiteral("RunVBScript(\"x\")"));
    rt.ResetCounts();
    f.grid->RefreshContinuousRows();
    EXPECT_EQ(rt.Count("EvaluateTagList"), 0);
    EXPECT_EQ(Text(tag, Value), Invalid());
}

TEST_F(WatchGrid, RefreshKeepsRecordsOnTheirRowsWhenATextHoldsALineBreak)
{
    const int split = f.LoadRow(QStringLiteral("Plant.Level +\n1"), true);
    const int flow = f.LoadRow(QStringLiteral("Plant.Flow"), true);
    f.grid->RefreshContinuousRows();
    EXPECT_EQ(rt.lists.at(0), QStringLiteral("Plant.Level + 1\nPlant.Flow\n"));
    EXPECT_EQ(Text(split, Value), QStringLiteral("43"));
    EXPECT_EQ(Text(flow, Value), QStringLiteral("3"));
}

TEST_F(WatchGrid, RefreshWithoutContinuousRowsOrHostAsksNothing)
{
    f.LoadRow(QStringLiteral("Plant.Level"), false);
    f.grid->RefreshContinuousRows();
    f.host.connected = FALSE;
    f.LoadRow(QStringLiteral("Plant.Level"), true);
    f.grid->RefreshContinuousRows();
    EXPECT_EQ(rt.TotalCalls(), 0);
}

TEST_F(WatchGrid, TypedValueIsWrittenToATagAndReadBack)
{
    f.Type(1, Tag, QStringLiteral("Plant.Pump"));
    f.Type(1, Value, QStringLiteral("17"));
    ASSERT_EQ(rt.writes.size(), 1u);
    EXPECT_EQ(rt.writes[0].tag, QStringLiteral("plant.pump"));
    EXPECT_EQ(rt.writes[0].value, QStringLiteral("17"));
    EXPECT_EQ(Text(1, Value), QStringLiteral("17"));

    // The runtime refuses a word for an integer tag: the value read back shows.
    rt.TagNamed(QStringLiteral("Plant.Pump")).quality = 64;
    f.Type(1, Value, QStringLiteral("many"));
    EXPECT_EQ(Text(1, Value), QStringLiteral("17"));
    EXPECT_EQ(Text(1, Quality), QStringLiteral("TK64"));

    // The same text again writes nothing.
    f.Type(1, Value, QStringLiteral("17"));
    EXPECT_EQ(rt.writes.size(), 2u);
}

TEST_F(WatchGrid, TypedValueOfAnExpressionIsShownButNotWritten)
{
    f.Type(1, Tag, QStringLiteral("Plant.Level + 1"));
    f.Type(1, Value, QStringLiteral("99"));
    EXPECT_TRUE(rt.writes.empty());
    EXPECT_EQ(Text(1, Value), QStringLiteral("99"));

    f.host.connected = FALSE;
    f.Type(1, Value, QStringLiteral("5"));
    EXPECT_EQ(Text(1, Value), QStringLiteral("99")) << "refused while disconnected";
}

TEST_F(WatchGrid, ValueCommittedOnAnotherRowWritesThatRowsTag)
{
    f.Type(1, Tag, QStringLiteral("Plant.Level"));
    f.Type(2, Tag, QStringLiteral("Plant.Pump"));
    f.grid->SetFocusCell(1, Tag);
    f.grid->SetItemText(2, Value, QStringLiteral("8"));
    EXPECT_TRUE(f.grid->ValidateEdit(2, Value, QStringLiteral("8")));
    ASSERT_EQ(rt.writes.size(), 1u);
    EXPECT_EQ(rt.writes[0].tag, QStringLiteral("plant.pump"));
    EXPECT_EQ(rt.TagNamed(QStringLiteral("Plant.Level")).value, QStringLiteral("42"));
}

TEST_F(WatchGrid, ToggleFlipsBetweenZeroAndOneFromTheShownValue)
{
    f.Type(1, Tag, QStringLiteral("Plant.Level"));
    rt.TagNamed(QStringLiteral("Plant.Level")).quality = 0;
    const struct
    {
        const char* shown;
        const char* written;
    } cases[] = {{"0", "1"},    {"1", "0"},    {"5", "0"}, {" -3", "0"},
                 {"12.5", "0"}, {"word", "1"}, {"", "1"},  {"-0", "1"}};
    for (const auto& c : cases) {
        f.grid->SetItemText(1, Value, QString::fromUtf8(c.shown));
        f.grid->SetFocusCell(1, Value);
        f.grid->OnToggle();
        EXPECT_EQ(rt.TagNamed(QStringLiteral("Plant.Level")).value, QString::fromUtf8(c.written)) << c.shown;
        EXPECT_EQ(Text(1, Value), QString::fromUtf8(c.written));
        EXPECT_EQ(Text(1, Quality), QStringLiteral("TK192")) << "forced, whatever the runtime says";
    }
    // Typing the row asks before and after its evaluation, each Toggle after.
    EXPECT_EQ(rt.Count("IsConnectionLost"), 2 + static_cast<int>(std::size(cases)));

    rt.connectionLost = true;
    f.grid->OnToggle();
    EXPECT_EQ(f.host.disconnectedMarks, 1);
    rt.ResetCounts();
    f.grid->OnToggle();
    EXPECT_EQ(rt.TotalCalls(), 0) << "nothing while disconnected";
}

TEST_F(WatchGrid, ToggleOnAnExpressionEvaluatesItAgain)
{
    f.Type(1, Tag, QStringLiteral("Plant.Level + 1"));
    rt.TagNamed(QStringLiteral("Plant.Level")).value = QStringLiteral("9");
    f.grid->SetFocusCell(1, Tag);
    f.grid->OnToggle();
    EXPECT_EQ(Text(1, Value), QStringLiteral("10"));
    EXPECT_FALSE(f.IsChecked(1)) << "the box is left alone";
    EXPECT_TRUE(rt.writes.empty());

    // An expression that no longer compiles keeps its value and says BAD.
    f.grid->SetItemText(1, Tag, QStringLiteral("Plant.Gone + 1"));
    f.grid->OnToggle();
    EXPECT_EQ(Text(1, Value), QStringLiteral("10"));
    EXPECT_EQ(Text(1, Quality), QStringLiteral("TK0"));
}

TEST_F(WatchGrid, ToggleNeverCompilesAForbiddenExpression)
{
    const int row = f.LoadRow(QStringLiteral("BLOCKUSER(\"root\")"), false);
    f.grid->SetItemText(row, Value, QStringLiteral("shown"));
    f.grid->SetFocusCell(row, Tag);
    f.grid->OnToggle();
    EXPECT_EQ(rt.Count("CompileExpression"), 0);
    EXPECT_EQ(Text(row, Value), QStringLiteral("shown"));
    EXPECT_EQ(Text(row, Quality), QStringLiteral("TK0"));
}

TEST_F(WatchGrid, ToggleIsEnabledOnlyOnAFilledRowWithOneCellSelected)
{
    const auto enabled = [&] {
        CCmdUI ui(32779);
        f.grid->OnUpdateToggle(&ui);
        return ui.IsEnabled();
    };
    f.grid->SetFocusCell(1, Tag);
    EXPECT_FALSE(enabled()) << "empty row";
    f.Type(1, Tag, QStringLiteral("Plant.Level"));
    f.grid->SetFocusCell(1, Value);
    EXPECT_TRUE(enabled());
    f.grid->SetSelectedRange(1, 0, 1, 1);
    EXPECT_FALSE(enabled()) << "two cells selected";
    f.grid->SetSelectedRange(1, 1, 1, 1);
    EXPECT_TRUE(enabled());
    f.grid->SetFocusCell(-1, -1);
    EXPECT_FALSE(enabled()) << "no focus cell";
}

} // namespace
