// The watch grid on the real toolkit against a real VantelRuntime that needs a
// login: live values, one list request per tick, writes seen by another
// client, and administration functions that never run from the grid.
#include "WatchRuntimeFixture.h"

#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "watch/CGridQuillon.h"

#include <QDeadlineTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int Tag = CGridQuillon::ColTag;
constexpr int Value = CGridQuillon::ColValue;
constexpr int Quality = CGridQuillon::ColQuality;

// The real toolkit, with the list evaluations counted on the way.
int g_listRequests = 0;

int CountedEvaluateTagList(const VtChar* lines, int count, ResultRecord* records, int reserved)
{
    ++g_listRequests;
    return ::EvaluateTagList(lines, count, records, reserved);
}

const RuntimeCalls& CountingCalls()
{
    static const RuntimeCalls calls = [] {
        RuntimeCalls table = RuntimeCalls::Real();
        table.EvaluateTagList = &CountedEvaluateTagList;
        return table;
    }();
    return calls;
}

class WatchRuntime : public WatchRuntimeFixture
{
protected:
    void SetUp() override
    {
        WatchRuntimeFixture::SetUp();
        if (HasFatalFailure())
            return;
        f.grid->SetRuntimeCalls(CountingCalls());
        g_listRequests = 0;
    }

    // Refreshes as the timer does until the row shows another value (the
    // simulation moves every 250 ms); false after 3 s.
    bool RefreshUntilChanged(int row, const QString& before)
    {
        QDeadlineTimer deadline(3000);
        while (!deadline.hasExpired()) {
            QTest::qWait(100);
            f.grid->RefreshContinuousRows();
            if (f.grid->GetItemText(row, Value) != before)
                return true;
        }
        return false;
    }

    QString Text(int row, int col) const { return f.grid->GetItemText(row, col); }
};

TEST_F(WatchRuntime, SimulatedValuesChangeFromTickToTick)
{
    f.Type(1, Tag, QStringLiteral("Plant.Line.Counter"));
    EXPECT_TRUE(f.IsChecked(1));
    const int fault = f.LoadRow(QStringLiteral("Plant.Diagnostics.SensorFault"), true);
    const int sum = f.LoadRow(QStringLiteral("Test.ReadOnly * 2 + 1"), true);

    f.grid->RefreshContinuousRows();
    EXPECT_EQ(Text(1, Quality), LoadResString(IDS_QUALITY_GOOD));
    EXPECT_EQ(Text(fault, Quality), LoadResString(IDS_QUALITY_BAD));
    EXPECT_EQ(Text(sum, Value), QStringLiteral("15"));
    const QString first = Text(1, Value);
    EXPECT_TRUE(RefreshUntilChanged(1, first)) << first.toStdString();
}

TEST_F(WatchRuntime, OneListRequestPerTickWhateverTheNumberOfRows)
{
    f.LoadRow(QStringLiteral("Plant.Tank1.Level"), true);
    f.grid->RefreshContinuousRows();
    EXPECT_EQ(g_listRequests, 1);

    for (int i = 0; i < 40; ++i)
        f.LoadRow(i % 2 ? QStringLiteral("Plant.Pump1.Current") : QStringLiteral("Plant.Line.Speed * 2"), true);
    f.grid->RefreshContinuousRows();
    f.grid->RefreshContinuousRows();
    EXPECT_EQ(g_listRequests, 3);
    EXPECT_NE(Text(41, Value), LoadResString(IDS_INVALID_EXPRESSION));
    EXPECT_EQ(Text(41, Quality), LoadResString(IDS_QUALITY_GOOD));
}

TEST_F(WatchRuntime, TypedWriteIsSeenByASecondClient)
{
    f.Type(1, Tag, QStringLiteral("Test.Int"));
    f.Type(1, Value, QStringLiteral("123"));
    EXPECT_EQ(Text(1, Value), QStringLiteral("123"));

    f.Type(2, Tag, QStringLiteral("Test.Bool"));
    const QString before = tk::ReadTag(QStringLiteral("Test.Bool"));
    f.grid->SetFocusCell(2, Tag);
    f.grid->OnToggle();
    const QString toggled = Text(2, Value);
    EXPECT_NE(toggled, before);

    VtHandle second = nullptr;
    ASSERT_EQ(ConnectAs(u"root", u"pw-root", second), S_OK);
    ActivateConnection(second);
    EXPECT_EQ(tk::ReadTag(QStringLiteral("Test.Int")), QStringLiteral("123"));
    EXPECT_EQ(tk::ReadTag(QStringLiteral("Test.Bool")), toggled);
    CloseConnection(second);
    ActivateConnection(f.host.handle);
}

TEST_F(WatchRuntime, AdministrationFunctionsNeverRunFromTheGrid)
{
    // The grid's user could create users: the function would work if it ran.
    EXPECT_EQ(tk::Evaluate(QStringLiteral("CreateUser(\"ctl\", \"pw\", \"admins\")")), QStringLiteral("1"));
    const QByteArray users = Users();

    const QString create = QStringLiteral("CreateUser(\"x\",\"y\",\"admins\")");
    f.Type(1, Tag, create);
    EXPECT_EQ(Text(1, Value), LoadResString(IDS_INVALID_EXPRESSION));
    f.grid->SetFocusCell(1, Tag);
    f.grid->OnToggle();
    const int loaded = f.LoadRow(QStringLiteral("\"a\" & \"b\" & ") + create, true);
    f.grid->RefreshContinuousRows();
    f.grid->RefreshContinuousRows();
    EXPECT_EQ(Text(loaded, Value), LoadResString(IDS_INVALID_EXPRESSION));
    EXPECT_EQ(g_listRequests, 0) << "the only Continuous row is never sent";

    EXPECT_TRUE(Users() == users) << "the user database was written";
    VtHandle x = nullptr;
    EXPECT_EQ(ConnectAs(u"x", u"y", x), E_ACCESSDENIED);
    ActivateConnection(f.host.handle);
}

} // namespace
