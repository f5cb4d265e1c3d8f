// Rows from the tag browser: the Insert Tag command and a double-click on an
// empty row, on a fake runtime whose browser answers at once.
#include "FakeRuntime.h"
#include "TestHost.h"

#include "res/Resource.h"
#include "watch/CGridQuillon.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int Tag = CGridQuillon::ColTag;
constexpr int Value = CGridQuillon::ColValue;

class WatchBrowse : public ::testing::Test
{
protected:
    WatchBrowse()
    {
        rt.AddTag(QStringLiteral("Plant.Level"), QStringLiteral("42"));
        rt.AddTag(QStringLiteral("Plant.Flow"), QStringLiteral("3"));
        rt.browserPick = QStringLiteral("Plant.Level");
    }

    QString Text(int row, int col) const { return f.grid->GetItemText(row, col); }

    void DoubleClick(int row, int col)
    {
        CRect rect;
        f.grid->GetCellRect(row, col, &rect);
        const QPoint center((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, center);
        // Past the double-click time, so the next press pair is one double-click.
        QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {}, center, 1000);
        WatchGridFixture::Flush();
    }

    FakeRuntime rt;
    WatchGridFixture f{&rt};
};

TEST_F(WatchBrowse, InsertTagPutsThePickAboveTheFocusRowAndEvaluatesIt)
{
    for (const char* tag : {"1 + 1", "2 + 2", "3 + 3"})
        f.Type(f.grid->GetRowCount() - 1, Tag, QString::fromLatin1(tag));
    f.grid->SetFocusCell(3, Value);
    f.grid->OnCommand(ID_INSERT_TAG);

    ASSERT_EQ(f.grid->GetRowCount(), 6);
    EXPECT_EQ(Text(3, Tag), QStringLiteral("Plant.Level"));
    EXPECT_EQ(Text(3, Value), QStringLiteral("42"));
    EXPECT_TRUE(f.IsChecked(3));
    EXPECT_EQ(Text(4, Tag), QStringLiteral("3 + 3"));
    EXPECT_EQ(Text(5, Tag), QString());
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(3, Value));
}

TEST_F(WatchBrowse, InsertTagDoesNothingWhenDisconnectedAndMarksALostConnection)
{
    f.host.connected = FALSE;
    f.grid->OnCommand(ID_INSERT_TAG);
    EXPECT_EQ(rt.Count("TagBrowser"), 0);
    EXPECT_EQ(f.grid->GetRowCount(), 2);

    f.host.connected = TRUE;
    rt.browserPick.clear();
    rt.connectionLost = true;
    f.grid->OnCommand(ID_INSERT_TAG);
    EXPECT_EQ(rt.Count("TagBrowser"), 1);
    EXPECT_EQ(f.grid->GetRowCount(), 2) << "a cancelled browser changes nothing";
    EXPECT_EQ(f.host.disconnectedMarks, 1);
}

TEST_F(WatchBrowse, DoubleClickInColumnZeroFillsTheEmptyRowAndAddsOneBelow)
{
    DoubleClick(1, Tag);
    EXPECT_EQ(rt.Count("TagBrowser"), 1);
    ASSERT_EQ(f.grid->GetRowCount(), 3);
    EXPECT_EQ(Text(1, Tag), QStringLiteral("Plant.Level"));
    EXPECT_EQ(Text(1, Value), QStringLiteral("42"));
    EXPECT_TRUE(f.IsChecked(1));
    EXPECT_EQ(rt.Count("CompileExpression"), 2) << "evaluated on commit and once more";
    EXPECT_EQ(Text(2, Tag), QString());
    EXPECT_EQ(f.grid->GetCell(1, Tag)->IsEditing(), FALSE);
}

TEST_F(WatchBrowse, DoubleClickInAnotherColumnFillsTheRowAndAppendsOne)
{
    for (int col = 1; col <= 3; ++col) {
        const int row = f.grid->GetRowCount() - 1;
        DoubleClick(row, col);
        ASSERT_EQ(f.grid->GetRowCount(), row + 2) << "column " << col;
        EXPECT_EQ(Text(row, Tag), QStringLiteral("Plant.Level"));
        EXPECT_EQ(Text(row, Value), QStringLiteral("42"));
        EXPECT_EQ(Text(row + 1, Tag), QString());
        EXPECT_EQ(f.grid->GetFocusCell(), CCellID(row, col));
    }
    EXPECT_TRUE(rt.writes.empty()) << "the pick is no value to write";
}

TEST_F(WatchBrowse, DoubleClickOnAFilledRowOrACancelledPickChangesNothing)
{
    f.Type(1, Tag, QStringLiteral("Plant.Flow"));
    DoubleClick(1, Value);
    EXPECT_EQ(rt.Count("TagBrowser"), 0);

    rt.browserPick.clear();
    DoubleClick(2, Value);
    EXPECT_EQ(rt.Count("TagBrowser"), 1);
    EXPECT_EQ(f.grid->GetRowCount(), 3);
    EXPECT_EQ(Text(2, Tag), QString());
}

// The connection was lost while the browser was open: the pick is kept but
// not read, the loss is marked once, and an empty row still follows.
TEST_F(WatchBrowse, APickAfterTheConnectionWasLostIsKeptUnreadAndMarksTheLossOnce)
{
    rt.connectionLost = true;
    DoubleClick(1, Tag);
    EXPECT_EQ(Text(1, Tag), QStringLiteral("Plant.Level"));
    EXPECT_EQ(Text(1, Value), QString());
    ASSERT_EQ(f.grid->GetRowCount(), 3);
    EXPECT_EQ(Text(2, Tag), QString());
    EXPECT_EQ(f.host.disconnectedMarks, 1);

    f.host.connected = TRUE;
    f.grid->SetFocusCell(2, Tag);
    f.grid->OnCommand(ID_INSERT_TAG);
    EXPECT_EQ(Text(2, Tag), QStringLiteral("Plant.Level"));
    EXPECT_EQ(Text(2, Value), QString());
    EXPECT_EQ(f.host.disconnectedMarks, 2) << "once for each loss";
    EXPECT_EQ(rt.Count("CompileExpression"), 0) << "nothing evaluated on the lost connection";
}

} // namespace
