// The trend from the watch grid: Ctrl+T on the grid chooses the rows, the
// refresh tick feeds what the rows show.
#include "app/CTrendController.h"

#include "tests/common/ScratchSettings.h"
#include "tests/common/TempDir.h"
#include "tests/watch/TestHost.h"
#include "trend/CTrendWindow.h"
#include "watch/CGridQuillon.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class TrendControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        a = f.LoadRow(QStringLiteral("Plant.A"), true);
        b = f.LoadRow(QStringLiteral("Plant.B"), false);
        c = f.LoadRow(QStringLiteral("Plant.C"), true);
        d = f.LoadRow(QStringLiteral("Plant.D"), true);
    }
    void TearDown() override
    {
        controller.Close();
        WatchGridFixture::Flush();
    }

    void Show(int row, const QString& value, const QString& quality)
    {
        f.grid->SetItemText(row, CGridQuillon::ColValue, value);
        f.grid->SetItemText(row, CGridQuillon::ColQuality, quality);
    }
    void PressCtrlT() { QTest::keyClick(f.grid, Qt::Key_T, Qt::ControlModifier); }

    TempDir m_dir;
    ScratchSettings m_settings{m_dir.File(QStringLiteral("QuillonExt.ini"))};
    QStringList& messages = m_settings.messages;
    WatchGridFixture f{nullptr};
    CTrendController controller{*f.grid, &f.host};
    int a = 0, b = 0, c = 0, d = 0;
};

TEST_F(TrendControllerTest, CtrlTWithOneCellSelectedShowsAllContinuousRows)
{
    f.grid->SetFocusCell(b, 0);
    f.grid->SetSelectedRange(b, 0, b, 0);
    PressCtrlT();
    ASSERT_NE(controller.Window(), nullptr);
    EXPECT_TRUE(controller.Window()->isVisible());
    EXPECT_TRUE(controller.Window()->windowTitle().contains(QStringLiteral("Trend")));
    EXPECT_EQ(controller.Window()->Labels(), (QStringList{"Plant.A", "Plant.C", "Plant.D"}));
    EXPECT_TRUE(messages.isEmpty());
    // The key went to the trend, not into the cell.
    EXPECT_EQ(f.grid->GetItemText(b, CGridQuillon::ColTag), QStringLiteral("Plant.B"));
}

TEST_F(TrendControllerTest, SelectedRowsOnlyAndCtrlTAgainAddsTheNewlySelected)
{
    f.grid->SetSelectedRange(b, 0, c, 3); // B is not Continuous
    PressCtrlT();
    ASSERT_NE(controller.Window(), nullptr);
    EXPECT_EQ(controller.Window()->Labels(), QStringList{"Plant.C"});
    f.grid->SetSelectedRange(c, 0, d, 1);
    PressCtrlT();
    EXPECT_EQ(controller.Window()->Labels(), (QStringList{"Plant.C", "Plant.D"}));
}

TEST_F(TrendControllerTest, NoQualifyingRowSaysSoAndOpensNothing)
{
    f.grid->SetSelectedRange(b, 0, b, 3);
    PressCtrlT();
    EXPECT_EQ(controller.Window(), nullptr);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("No Continuous row"))) << messages[0].toStdString();
}

TEST_F(TrendControllerTest, TicksFeedWhatTheRowsShowAndFollowMovedRows)
{
    controller.OnTrendCommand();
    ASSERT_NE(controller.Window(), nullptr);
    const auto& series = controller.Window()->Series();
    ASSERT_EQ(series.size(), 3u);

    Show(a, QStringLiteral("12.5"), QStringLiteral("GOOD"));
    Show(c, QStringLiteral("1"), QStringLiteral("GOOD"));
    Show(d, QStringLiteral("7"), QStringLiteral("BAD"));
    controller.OnTick(true);
    EXPECT_EQ(series[0]->At(0).value, 12.5);
    EXPECT_EQ(series[1]->At(0).value, 1.0);
    EXPECT_TRUE(std::isnan(series[2]->At(0).value));
    EXPECT_EQ(series[2]->At(0).quality, TrendQuality::Bad);

    // A line inserted above moves every row down; the series follow their rows.
    ASSERT_EQ(f.grid->InsertWatchRow(1), 1);
    EXPECT_EQ(f.grid->GetItemText(d + 1, CGridQuillon::ColTag), QStringLiteral("Plant.D"));
    Show(d + 1, QStringLiteral("8"), QStringLiteral("GOOD"));
    controller.OnTick(true);
    EXPECT_EQ(series[2]->At(1).value, 8.0);
    EXPECT_EQ(series[0]->At(1).value, 12.5);

    // A row no longer Continuous is not read: its line has a gap. So has
    // every line while disconnected.
    f.grid->SetContinuous(d + 1, FALSE);
    controller.OnTick(true);
    EXPECT_TRUE(std::isnan(series[2]->At(2).value));
    EXPECT_EQ(series[2]->At(2).quality, TrendQuality::None);
    controller.OnTick(false);
    for (const auto& s : series)
        EXPECT_TRUE(std::isnan(s->At(3).value));
}

TEST_F(TrendControllerTest, ClosedTrendOpensAgainAtItsPlaceWithNewSeries)
{
    controller.OnTrendCommand();
    ASSERT_NE(controller.Window(), nullptr);
    controller.Window()->setGeometry(150, 120, 500, 320);
    controller.OnTick(true);
    controller.Close();
    WatchGridFixture::Flush();
    EXPECT_EQ(controller.Window(), nullptr) << "closing deletes the window";
    controller.OnTick(true); // nothing to feed, nothing breaks

    controller.OnTrendCommand();
    ASSERT_NE(controller.Window(), nullptr);
    EXPECT_EQ(controller.Window()->geometry(), QRect(150, 120, 500, 320));
    EXPECT_EQ(controller.Window()->Series()[0]->Count(), 0);
}

} // namespace
