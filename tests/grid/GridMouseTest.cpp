#include "InteractionSupport.h"

#include "cells/CInPlaceEdit.h"
#include "cells/CTitleTip.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

void Click(InteractionGrid& f, int row, int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(f.Viewport(), Qt::LeftButton, modifiers, f.Centre(row, col));
    InteractionGrid::Flush();
}

// The divider at the right edge of column col, in the header row.
QPoint ColumnDivider(const InteractionGrid& f, int col)
{
    CRect rect;
    f.grid->GetCellRect(0, col, &rect);
    return QPoint(rect.right, (rect.top + rect.bottom) / 2);
}

// A wheel event over 'target' (the cells when null); pixels as a touchpad gives them.
void Wheel(InteractionGrid& f, int delta, QWidget* target = nullptr, int pixels = 0)
{
    if (!target)
        target = f.Viewport();
    const QPoint pos = target == f.Viewport() ? f.Centre(2, 2) : QPoint(2, 2);
    QWheelEvent wheel(QPointF(pos), QPointF(target->mapToGlobal(pos)), QPoint(0, pixels), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
    InteractionGrid::Flush();
}

TEST(GridMouse, AClickSelectsAndASecondClickOnTheTextEdits)
{
    InteractionGrid f;
    Click(f, 2, 2);
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(2, 2));
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(2, 2, 2, 2));
    EXPECT_EQ(f.Editor(2, 2), nullptr) << "a click elsewhere only selects";
    EXPECT_EQ(f.parent.Codes(), (std::vector<int>{GRIDN_SELCHANGING, GRIDN_SELCHANGED, NM_CLICK}));
    EXPECT_EQ(f.parent.commands, 1) << "the command arrives after the click";

    f.parent.records.clear();
    Click(f, 2, 2);
    CInPlaceEdit* editor = f.Editor(2, 2);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("r2c2"));
    EXPECT_EQ(f.parent.Codes(), std::vector<int>{GRIDN_BEGINEDIT});

    // A click elsewhere closes the editor, keeping what was typed.
    QTest::keyClicks(editor, QStringLiteral("!"));
    Click(f, 4, 3);
    EXPECT_EQ(f.Editor(2, 2), nullptr);
    EXPECT_EQ(f.grid->GetItemText(2, 2), QStringLiteral("r2c2!"));
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(4, 3));
}

TEST(GridMouse, ShiftAndCtrlClicksAndADrag)
{
    InteractionGrid f;
    Click(f, 1, 1);
    Click(f, 3, 2, Qt::ShiftModifier);
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(1, 1, 3, 2));
    EXPECT_EQ(f.grid->GetSelectedCount(), 6);

    Click(f, 5, 4, Qt::ControlModifier);
    EXPECT_EQ(f.grid->GetSelectedCount(), 7) << "Ctrl adds to the selection";
    EXPECT_TRUE(f.grid->IsCellSelected(5, 4));
    Click(f, 2, 2, Qt::ControlModifier);
    EXPECT_FALSE(f.grid->IsCellSelected(2, 2)) << "Ctrl on a selected cell takes it out";
    EXPECT_EQ(f.grid->GetSelectedCount(), 6);

    QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(4, 1));
    QTest::mouseMove(f.Viewport(), f.Centre(5, 3));
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(5, 3));
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(4, 1, 5, 3));
    EXPECT_EQ(f.grid->GetSelectedCount(), 6);
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(5, 3));
    EXPECT_EQ(f.grid->GetMouseMode(), CGridCtrl::MouseMode::None);
}

TEST(GridMouse, HeaderClicksSelectWholeLines)
{
    InteractionGrid f;
    QTest::mouseClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(0, 2));
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(1, 2, 5, 2));
    QTest::mouseClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(3, 0));
    EXPECT_EQ(f.grid->GetSelectedCellRange(), CellSpan(3, 1, 3, 4));
    QTest::mouseClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(0, 0));
    EXPECT_EQ(f.grid->GetSelectedCount(), 20);
}

TEST(GridMouse, ADividerDraggedPastTheLeftEdgeGivesTheSmallestWidth)
{
    for (const BOOL mayHide : {FALSE, TRUE}) {
        InteractionGrid f;
        f.grid->SetAllowColumnHide(mayHide);
        const QPoint divider = ColumnDivider(f, 2);
        f.Hover(divider);
        EXPECT_EQ(f.grid->GetMouseMode(), CGridCtrl::MouseMode::OverColumnDivider);
        QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::NoModifier, divider);
        EXPECT_EQ(f.grid->GetMouseMode(), CGridCtrl::MouseMode::SizingColumn);
        QTest::mouseMove(f.Viewport(), QPoint(5, divider.y()));
        QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, divider.y()));
        EXPECT_EQ(f.grid->GetColumnWidth(2), mayHide ? 0 : 1);
        EXPECT_EQ(f.grid->GetColumnWidth(1), 60);
    }
}

TEST(GridMouse, ADividerDragDrawsAnInvertedBarAndSetsTheWidth)
{
    InteractionGrid f;
    const QPoint divider = ColumnDivider(f, 1);
    f.Hover(divider);
    QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::NoModifier, divider);
    QTest::mouseMove(f.Viewport(), QPoint(200, divider.y()));
    const QImage during = f.Viewport()->grab().toImage();
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(200, divider.y()));
    const QImage after = f.Viewport()->grab().toImage();
    EXPECT_NE(during.pixel(200, 250), after.pixel(200, 250)) << "the bar inverts the area beyond the cells";
    EXPECT_EQ(f.grid->GetColumnWidth(1), 200 - 60);
}

TEST(GridMouse, ADoubleClickedDividerAutoSizesTheColumnOnItsLeft)
{
    InteractionGrid f;
    f.grid->SetItemText(3, 2, QStringLiteral("a much longer text than fits"));
    const QPoint divider = ColumnDivider(f, 2);
    f.Hover(divider);
    QTest::mouseDClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, divider);
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::NoModifier, divider);
    const int sized = f.grid->GetColumnWidth(2);
    EXPECT_GT(sized, 60);
    f.grid->AutoSizeColumn(2);
    EXPECT_EQ(f.grid->GetColumnWidth(2), sized);
    EXPECT_EQ(f.grid->GetColumnWidth(3), 60);
}

TEST(GridMouse, ADoubleClickOnACellsTextEdits)
{
    InteractionGrid f;
    Click(f, 2, 3);
    f.parent.records.clear();
    QTest::mouseDClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(4, 1));
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(4, 1));
    InteractionGrid::Flush();
    EXPECT_NE(f.Editor(4, 1), nullptr);
    ASSERT_GE(f.parent.records.size(), 2u);
    EXPECT_EQ(f.parent.records[0].code, GRIDN_BEGINEDIT);
    EXPECT_EQ(f.parent.records[1].code, NM_DBLCLK);
    EXPECT_EQ(f.parent.records[1].row, 4);
}

TEST(GridMouse, RightClicksReportTheCellOrNone)
{
    InteractionGrid f;
    QTest::mouseClick(f.Viewport(), Qt::RightButton, Qt::NoModifier, QPoint(380, 280));
    ASSERT_EQ(f.parent.records.size(), 1u);
    EXPECT_EQ(f.parent.records[0].code, NM_RCLICK);
    EXPECT_EQ(f.parent.records[0].row, -1);
    EXPECT_EQ(f.parent.records[0].col, -1);
    QTest::mouseClick(f.Viewport(), Qt::RightButton, Qt::NoModifier, f.Centre(3, 0));
    EXPECT_EQ(f.grid->GetFocusCell(), CCellID(3, 1)) << "a header click focuses the first cell of its row";
    EXPECT_EQ(f.parent.records.back().col, 0);
}

TEST(GridMouse, TheWheelScrollsLinesOrPages)
{
    InteractionGrid f;
    f.grid->SetRowCount(60);
    for (int row = 0; row < 60; ++row)
        f.grid->SetRowHeight(row, 20);
    f.grid->SetMouseScrollLines(3);
    Wheel(f, -120);
    EXPECT_EQ(f.grid->GetScrollPos32(SB_VERT), 60);
    Wheel(f, 120);
    EXPECT_EQ(f.grid->GetScrollPos32(SB_VERT), 0);

    f.grid->SetMouseScrollLines(-1);
    Wheel(f, -240);
    const int page = f.grid->GetClientRect().Height() - f.grid->GetFixedRowHeight();
    EXPECT_EQ(f.grid->GetScrollPos32(SB_VERT), 2 * page);
}

// Fine wheels and touchpads send small deltas: they add up to whole rows, the
// wheel over the scroll bar moves rows too, and pixels scroll their rows.
TEST(GridMouse, SmallWheelDeltasAddUpAndTheBarScrollsRows)
{
    InteractionGrid f;
    f.grid->SetRowCount(60);
    for (int row = 0; row < 60; ++row)
        f.grid->SetRowHeight(row, 20);
    f.grid->SetMouseScrollLines(3);
    for (int i = 0; i < 8; ++i)
        Wheel(f, -15);
    EXPECT_EQ(f.grid->GetScrollPos32(SB_VERT), 60) << "eight events of 15 make one notch";
    Wheel(f, -20);
    Wheel(f, 20);
    Wheel(f, -20);
    EXPECT_EQ(f.grid->GetScrollPos32(SB_VERT), 60) << "a turn drops what was kept";

    ASSERT_TRUE(f.grid->verticalScrollBar()->isVisible());
    Wheel(f, -120, f.grid->verticalScrollBar());
    EXPECT_EQ(f.grid->GetScrollPos32(SB_VERT), 120) << "three rows, not three pixels";

    Wheel(f, -15, nullptr, -25);
    Wheel(f, -15, nullptr, -25);
    EXPECT_EQ(f.grid->GetScrollPos32(SB_VERT), 180) << "half a row kept and 50 pixels make three rows";
}

// The tip belongs to the cell under it: any scroll takes it away.
TEST(GridMouse, ScrollingHidesTheTitleTip)
{
    InteractionGrid f;
    f.grid->SetRowCount(60);
    f.grid->SetColumnCount(12);
    f.grid->SetItemText(2, 2, QStringLiteral("a text far too long for its cell"));
    const std::vector<std::pair<const char*, std::function<void()>>> scrolls = {
        {"wheel", [&] { Wheel(f, -120); }},
        {"bar", [&] { f.grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); }},
        {"thumb", [&] { f.grid->horizontalScrollBar()->setSliderPosition(30); }},
        {"key", [&] { QTest::keyClick(f.grid, Qt::Key_PageDown); }},
    };
    for (const auto& [name, scroll] : scrolls) {
        SCOPED_TRACE(name);
        f.grid->SetScrollPos32(SB_VERT, 0);
        f.grid->SetScrollPos32(SB_HORZ, 0);
        f.grid->SetFocusCell(1, 1);
        f.Hover(f.Centre(2, 2));
        auto* tip = f.grid->findChild<CTitleTip*>();
        ASSERT_NE(tip, nullptr);
        ASSERT_TRUE(tip->isVisible());
        const int before = f.grid->GetScrollPos32(SB_VERT) + f.grid->GetScrollPos32(SB_HORZ);
        scroll();
        InteractionGrid::Flush();
        ASSERT_NE(f.grid->GetScrollPos32(SB_VERT) + f.grid->GetScrollPos32(SB_HORZ), before) << "did not scroll";
        EXPECT_FALSE(tip->isVisible());
    }
}

TEST(GridMouse, TheTitleTipShowsCutOffTextOnly)
{
    InteractionGrid f;
    f.grid->SetItemText(2, 2, QStringLiteral("a text far too long for its cell"));
    f.Hover(f.Centre(2, 3));
    auto* tip = f.grid->findChild<CTitleTip*>();
    EXPECT_TRUE(tip == nullptr || !tip->isVisible()) << "r2c3 fits";
    f.Hover(f.Centre(2, 2));
    tip = f.grid->findChild<CTitleTip*>();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->isVisible());
    f.Hover(f.Centre(4, 4));
    EXPECT_FALSE(tip->isVisible()) << "leaving the cell hides it";
}

// A picture for a person to look at: an open editor and a title tip.
TEST(GridMouse, RenderAnEditorAndATitleTip)
{
    InteractionGrid f;
    f.grid->SetItemText(4, 3, QStringLiteral("a text far too long for its cell"));
    Click(f, 1, 1);
    QTest::keyClick(f.grid, Qt::Key_N);
    InteractionGrid::Flush();
    QTest::keyClicks(f.Editor(1, 1), QStringLiteral("ew value"));
    // The editor switches tips off while it is open; the picture wants both.
    f.grid->EnableTitleTips(TRUE);
    f.Hover(f.Centre(4, 3));
    auto* tip = f.grid->findChild<CTitleTip*>();
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->isVisible());

    QImage image(f.parent.size(), QImage::Format_RGB32);
    f.parent.render(&image);
    const QPoint tipAt = f.parent.mapFromGlobal(tip->mapToGlobal(QPoint(0, 0)));
    QPainter painter(&image);
    painter.drawImage(tipAt, tip->grab().toImage());
    painter.end();
    const QString folder = QStringLiteral(QUILLON_TEST_OUTPUT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(image.save(folder + QStringLiteral("/grid-editor-and-tip.png")));
}

} // namespace

namespace {

TEST(GridHeaderClick, ClickingAHeaderTwiceSortsAscendingThenDescending)
{
    InteractionGrid f;
    f.grid->SetHeaderSort(TRUE);
    QTest::mouseClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(0, 2));
    EXPECT_EQ(f.grid->GetSortColumn(), 2);
    EXPECT_TRUE(f.grid->GetSortAscending());
    EXPECT_EQ(f.grid->GetItemText(1, 2), "r1c2");
    // Far enough apart in time not to count as a double click.
    QTest::mouseClick(f.Viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(0, 2),
                      QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
    EXPECT_FALSE(f.grid->GetSortAscending());
    EXPECT_EQ(f.grid->GetItemText(1, 2), "r5c2");
    EXPECT_EQ(f.grid->GetItemText(1, 1), "r5c1") << "whole rows move";
}

TEST(GridHeaderClick, SelectAllFromTheKeyboardIsAnnounced)
{
    InteractionGrid f;
    f.grid->SetFocusCell(1, 1);
    f.parent.records.clear();
    QTest::keyClick(f.grid, Qt::Key_A, Qt::ControlModifier);
    const std::vector<int> codes = f.parent.Codes();
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes.front(), GRIDN_SELCHANGING);
    EXPECT_EQ(codes.back(), GRIDN_SELCHANGED);
    EXPECT_EQ(f.grid->GetSelectedCount(), (f.grid->GetRowCount() - f.grid->GetFixedRowCount()) *
                                              (f.grid->GetColumnCount() - f.grid->GetFixedColumnCount()));
}

} // namespace
