#include "EditorTestSupport.h"

#include "cells/CInPlaceDateTime.h"
#include "platform/ControlStyles.h"
#include "platform/SysColors.h"
#include "platform/VirtualKeys.h"

#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(InPlaceDateTimeTest, WritesTheTimeIntoTheCellAndReportsTheKey)
{
    HostFixture fixture;
    QDateTime value(QDate(2024, 3, 5), QTime(10, 20, 30));
    QPointer<CInPlaceDateTime> picker = CInPlaceDateTime::Open(&fixture.host, CRect(10, 20, 150, 40), DTS_UPDOWN, 8, 2,
                                                               5, CLR_DEFAULT, CLR_DEFAULT, &value, VK_RETURN);
    ASSERT_FALSE(picker.isNull());
    picker->setDateTime(QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
    QTest::keyClick(picker.data(), Qt::Key_Tab);
    Flush();
    ASSERT_EQ(fixture.host.reports.size(), 1u);
    EXPECT_EQ(fixture.host.reports[0].exitKey, VK_TAB);
    EXPECT_EQ(fixture.host.reports[0].row, 2);
    EXPECT_EQ(fixture.host.reports[0].text, QLocale().toString(QDate(2025, 1, 2), QLocale::ShortFormat));
    EXPECT_EQ(value.date(), QDate(2025, 1, 2));
    EXPECT_TRUE(picker.isNull());
}

TEST(InPlaceDateTimeTest, EscapeEndsWithoutRestoringAndArrowsNeedControl)
{
    HostFixture fixture;
    QDateTime value(QDate(2024, 3, 5), QTime(10, 20, 30));
    QPointer<CInPlaceDateTime> picker = CInPlaceDateTime::Open(&fixture.host, CRect(10, 20, 150, 40), DTS_UPDOWN, 8, 0,
                                                               0, CLR_DEFAULT, CLR_DEFAULT, &value, VK_LBUTTON);
    QTest::keyClick(picker.data(), Qt::Key_Up);
    Flush();
    EXPECT_TRUE(fixture.host.reports.empty());
    QTest::keyClick(picker.data(), Qt::Key_Up, Qt::ControlModifier);
    Flush();
    ASSERT_EQ(fixture.host.reports.size(), 1u);
    EXPECT_EQ(fixture.host.reports[0].exitKey, VK_UP);
    EXPECT_NE(value, QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30))) << "the plain arrow changed the value";
}

} // namespace
