#include "EditorTestSupport.h"

#include "cells/CTitleTip.h"
#include "platform/TickCount.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The window beneath the tip: remembers the mouse and key events it gets.
class EventLog : public QWidget
{
public:
    struct Entry
    {
        QEvent::Type type;
        QPoint global;
    };

    EventLog()
    {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
    }

    bool event(QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            entries.push_back({event->type(), static_cast<QMouseEvent*>(event)->globalPosition().toPoint()});
            break;
        case QEvent::KeyPress: entries.push_back({event->type(), QPoint()}); break;
        default: break;
        }
        return QWidget::event(event);
    }

    std::vector<Entry> entries;
};

const QString kLongText = QStringLiteral("A text far too long to fit into the narrow cell it belongs to");
const CRect kCell(10, 20, 90, 40);

class TitleTipTest : public ::testing::Test
{
protected:
    explicit TitleTipTest(const QRect& geometry = QRect(100, 100, 400, 300))
    {
        window.setGeometry(geometry);
        window.show();
        window.activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&window);
        window.setFocus();
        tip.Create(&window);
    }

    void ShowOver(const CRect& cell, const QString& text = kLongText, const LOGFONTW* font = nullptr)
    {
        tip.Show(cell, text, 0, -1, &cell, font);
    }

    QRect CellOnScreen(const CRect& cell) const
    {
        return QRect(window.mapToGlobal(QPoint(cell.left, cell.top)), QSize(cell.Width(), cell.Height()));
    }

    static QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }

    EventLog window;
    CTitleTip tip;
};

TEST_F(TitleTipTest, ShowsOnlyTextThatDoesNotFit)
{
    ShowOver(kCell, QStringLiteral("short"));
    EXPECT_FALSE(tip.isVisible());

    ShowOver(kCell);
    ASSERT_TRUE(tip.isVisible());
    const QRect cell = CellOnScreen(kCell);
    EXPECT_EQ(tip.geometry().left(), cell.left() - 3) << "starts where the cell's text starts";
    EXPECT_GE(tip.geometry().top(), cell.bottom()) << "lies just below the cell";
    EXPECT_LE(tip.geometry().top(), cell.bottom() + 4);
    EXPECT_GT(tip.width(), kCell.Width());
}

TEST_F(TitleTipTest, NothingShowsWhileTheProgramHasNoFocus)
{
    window.clearFocus();
    ShowOver(kCell);
    EXPECT_FALSE(tip.isVisible());
}

TEST_F(TitleTipTest, UsesTheCellsFont)
{
    ShowOver(kCell);
    const int plainHeight = tip.height();
    tip.Hide();
    LOGFONTW big = LogFontFromQFont(window.font());
    big.lfHeight = -40;
    ShowOver(kCell, kLongText, &big);
    EXPECT_GT(tip.height(), plainHeight + 20);
}

TEST_F(TitleTipTest, MovingOutOfTheCellHidesItAndReachesTheWindow)
{
    ShowOver(kCell);
    ASSERT_TRUE(tip.isVisible());
    const QPoint onTip(tip.width() - 5, tip.height() / 2);
    // Sent straight to the tip: moving the offscreen cursor picks the window beneath.
    QMouseEvent move(QEvent::MouseMove, QPointF(onTip), QPointF(tip.mapToGlobal(onTip)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&tip, &move);
    Flush();
    EXPECT_FALSE(tip.isVisible());
    ASSERT_FALSE(window.entries.empty());
    EXPECT_EQ(window.entries.back().type, QEvent::MouseMove);
    EXPECT_EQ(window.entries.back().global, tip.mapToGlobal(onTip));
}

TEST_F(TitleTipTest, AClickReachesTheWindowBeneathAndTwoMakeADoubleClick)
{
    std::uint64_t now = 1000;
    const TickSource previous = SetTickSource([&now] { return now; });
    ShowOver(kCell);
    const QPoint onTip(20, tip.height() / 2);
    const QPoint global = tip.mapToGlobal(onTip);
    QTest::mouseClick(&tip, Qt::LeftButton, {}, onTip);
    Flush();
    EXPECT_FALSE(tip.isVisible());
    ASSERT_EQ(window.entries.size(), 2u);
    EXPECT_EQ(window.entries[0].type, QEvent::MouseButtonPress);
    EXPECT_EQ(window.entries[0].global, global);
    EXPECT_EQ(window.entries[1].type, QEvent::MouseButtonRelease);

    now += 100;
    ShowOver(kCell);
    QTest::mouseClick(&tip, Qt::LeftButton, {}, onTip);
    Flush();
    ASSERT_GE(window.entries.size(), 3u);
    EXPECT_EQ(window.entries[2].type, QEvent::MouseButtonDblClick);

    now += 5000;
    window.entries.clear();
    ShowOver(kCell);
    QTest::mouseClick(&tip, Qt::LeftButton, {}, onTip);
    Flush();
    ASSERT_FALSE(window.entries.empty());
    EXPECT_EQ(window.entries[0].type, QEvent::MouseButtonPress);
    SetTickSource(previous);
}

TEST_F(TitleTipTest, AKeyHidesItAndReachesTheFocusWindow)
{
    ShowOver(kCell);
    ASSERT_TRUE(tip.isVisible());
    QTest::keyClick(&window, Qt::Key_Down);
    EXPECT_FALSE(tip.isVisible());
    ASSERT_FALSE(window.entries.empty());
    EXPECT_EQ(window.entries.back().type, QEvent::KeyPress);
}

class TitleTipNearRightEdgeTest : public TitleTipTest
{
protected:
    TitleTipNearRightEdgeTest() : TitleTipTest(QRect(Screen().width() - 200, 100, 190, 200)) {}
};

TEST_F(TitleTipNearRightEdgeTest, KeepsEightPixelsFromTheScreenEdge)
{
    const CRect cell(100, 20, 180, 40);
    ShowOver(cell);
    ASSERT_TRUE(tip.isVisible());
    EXPECT_LE(tip.geometry().right() + 1, Screen().width() - 7) << "text ends 8 pixels before the edge";
    EXPECT_LT(tip.geometry().left(), CellOnScreen(cell).left() - 3) << "moved left to make room";
    EXPECT_GE(tip.geometry().left(), window.mapToGlobal(QPoint(0, 0)).x() - 3) << "but not past the window";
}

class TitleTipNearBottomTest : public TitleTipTest
{
protected:
    TitleTipNearBottomTest() : TitleTipTest(QRect(100, Screen().height() - 120, 300, 110)) {}
};

TEST_F(TitleTipNearBottomTest, GoesAboveTheCellWhenTheScreenEndsBelowIt)
{
    const CRect cell(10, 80, 90, 100);
    ShowOver(cell);
    ASSERT_TRUE(tip.isVisible());
    EXPECT_LE(tip.geometry().bottom(), CellOnScreen(cell).top());
    EXPECT_GE(tip.geometry().top(), 8);
}

// A grid on a second screen, right of a smaller primary one; run with two
// screens by the test_cells_two_screens entry, skipped on one screen.
class TitleTipOnSecondScreenTest : public TitleTipTest
{
protected:
    TitleTipOnSecondScreenTest() : TitleTipTest(QRect(SecondScreen().left() + 300, 200, 400, 300)) {}
    static QRect SecondScreen()
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        return screens.size() > 1 ? screens[1]->geometry() : QRect();
    }
};

TEST_F(TitleTipOnSecondScreenTest, TakesItsBoundsFromTheScreenThatHoldsTheCell)
{
    if (QGuiApplication::screens().size() < 2) {
        ASSERT_FALSE(qEnvironmentVariableIsSet("QUILLON_TWO_SCREENS")) << "the two screens were not set up";
        GTEST_SKIP() << "one screen only";
    }
    const QRect screen = SecondScreen();
    ASSERT_GT(screen.left(), Screen().right());
    ShowOver(kCell);
    ASSERT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.geometry().left(), CellOnScreen(kCell).left() - 3);
    EXPECT_TRUE(screen.contains(tip.geometry())) << "on the cell's screen";

    // Near that screen's right edge the tip keeps 8 pixels from it.
    tip.Hide();
    window.setGeometry(screen.right() - 200, 200, 190, 200);
    const CRect nearEdge(100, 20, 180, 40);
    ShowOver(nearEdge);
    ASSERT_TRUE(tip.isVisible());
    EXPECT_LE(tip.geometry().right() + 1, screen.right() + 1 - 7);
    EXPECT_GE(tip.geometry().left(), window.mapToGlobal(QPoint(0, 0)).x() - 3);
}

TEST_F(TitleTipTest, RendersToAPicture)
{
    ShowOver(kCell);
    ASSERT_TRUE(tip.isVisible());
    const QImage image = tip.grab().toImage();
    EXPECT_TRUE(image.save(TestOutputPath(QStringLiteral("title-tip.png"))));
    // A frame around the tooltip background.
    EXPECT_NE(image.pixel(0, 0), image.pixel(image.width() / 2, 1));
}

} // namespace
