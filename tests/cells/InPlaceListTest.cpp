#include "EditorTestSupport.h"

#include "cells/CInPlaceList.h"
#include "platform/ControlStyles.h"
#include "platform/SysColors.h"
#include "platform/VirtualKeys.h"

#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const CRect kCell(10, 20, 110, 40);
const QStringList kItems{QStringLiteral("apple"), QStringLiteral("banana"), QStringLiteral("cherry")};

class InPlaceListTest : public ::testing::Test
{
protected:
    CInPlaceList* Open(DWORD style, const QString& text, UINT firstChar, BOOL endOnSelChange = FALSE,
                       const QStringList& items = kItems)
    {
        list = CInPlaceList::Open(&fixture.host, kCell, style, 8, 4, 1, CLR_DEFAULT, CLR_DEFAULT, items, text,
                                  firstChar, endOnSelChange);
        return list;
    }

    const std::vector<RecordingHost::Report>& Reports()
    {
        Flush();
        return fixture.host.reports;
    }

    HostFixture fixture;
    QPointer<CInPlaceList> list;
};

TEST_F(InPlaceListTest, TypingALetterSelectsTheFirstItemWithItAndEndsAtOnce)
{
    Open(CBS_DROPDOWNLIST, QStringLiteral("apple"), 'b', TRUE);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].text, QStringLiteral("banana"));
    EXPECT_EQ(Reports()[0].exitKey, 0u);
    EXPECT_EQ(Reports()[0].id, 8u);
    EXPECT_TRUE(list.isNull()) << "the list closes itself";
}

TEST_F(InPlaceListTest, EndsOnlyOnceThoughClosingMovesTheFocus)
{
    Open(CBS_DROPDOWNLIST, QStringLiteral("apple"), VK_RETURN, TRUE);
    QTest::keyClick(list.data(), Qt::Key_Down);
    EXPECT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].text, QStringLiteral("banana"));
}

TEST_F(InPlaceListTest, EscapeRestoresTheInitialItem)
{
    Open(CBS_DROPDOWNLIST, QStringLiteral("Cherry"), VK_RETURN);
    EXPECT_EQ(list->currentText(), QStringLiteral("cherry")) << "items are matched without regard to case";
    QTest::keyClick(list.data(), Qt::Key_Up);
    EXPECT_EQ(list->currentText(), QStringLiteral("banana"));
    QTest::keyClick(list.data(), Qt::Key_Escape);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].text, QStringLiteral("cherry"));
    EXPECT_EQ(Reports()[0].exitKey, VK_ESCAPE);
}

TEST_F(InPlaceListTest, EditableComboReportsTypedTextWithTheExitKey)
{
    Open(CBS_DROPDOWN, QStringLiteral("not listed"), 'x');
    EXPECT_EQ(list->currentText(), QStringLiteral("x"));
    QTest::keyClicks(list.data(), QStringLiteral("yz"));
    QTest::keyClick(list.data(), Qt::Key_Tab);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].text, QStringLiteral("xyz"));
    EXPECT_EQ(Reports()[0].exitKey, VK_TAB);
    EXPECT_EQ(list.data(), nullptr);
}

TEST_F(InPlaceListTest, ArrowsEndTheEditOnlyWithControl)
{
    Open(CBS_DROPDOWN, QStringLiteral("apple"), VK_RETURN);
    QTest::keyClick(list.data(), Qt::Key_Down);
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(list->currentText(), QStringLiteral("banana"));
    QTest::keyClick(list.data(), Qt::Key_Down, Qt::ControlModifier);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].exitKey, VK_DOWN);
}

TEST_F(InPlaceListTest, KeysReachingTheEditFieldEndTheEditToo)
{
    Open(CBS_DROPDOWN, QStringLiteral("apple"), VK_LBUTTON);
    QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].exitKey, VK_RETURN);
    EXPECT_EQ(Reports()[0].text, QStringLiteral("apple"));
}

TEST_F(InPlaceListTest, DropWidthIsAtMostTwoHundredPixels)
{
    Open(CBS_DROPDOWNLIST, QString(), VK_RETURN, FALSE, {QString(200, u'W'), QStringLiteral("short")});
    EXPECT_EQ(list->GetDropWidth(), 200);
    list->EndEdit();
}

} // namespace
