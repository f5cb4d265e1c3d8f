#include "EditorTestSupport.h"

#include "cells/CInPlaceEdit.h"
#include "cells/CTitleTip.h"
#include "grid/CGridCtrl.h"
#include "platform/VirtualKeys.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// An editor open over a cell of a real grid, with a title tip over another
// cell, saved as one picture for a person to look at.
TEST(EditorPictureTest, EditorOverAGridCellAndATitleTip)
{
    HostFixture fixture(QRect(100, 100, 360, 200));
    auto* grid = new CGridCtrl(6, 3, 1, 1);
    grid->Create(RECT{0, 0, 360, 200}, &fixture.host, 77);
    for (int row = 1; row < 6; ++row) {
        grid->SetItemText(row, 0, QStringLiteral("Row %1").arg(row));
        grid->SetItemText(row, 1, QStringLiteral("Plant.Tank%1.Level").arg(row));
        grid->SetItemText(row, 2, QString::number(row * 12.5));
    }
    grid->SetItemText(4, 1, QStringLiteral("Plant.Tank4.Level + Plant.Tank5.Level * 2"));
    grid->setFocus();

    CRect cell;
    ASSERT_TRUE(grid->GetCellRect(2, 1, &cell));
    QPointer<CInPlaceEdit> edit = CInPlaceEdit::Open(grid, cell, 0, 8, 2, 1, grid->GetItemText(2, 1), VK_LBUTTON, -1,
                                                     grid->GetItemText(2, 1), FALSE);
    ASSERT_FALSE(edit.isNull());
    QTest::keyClicks(edit.data(), QStringLiteral(" + Plant.Tank9.Level"));
    EXPECT_GT(edit->width(), cell.Width()) << "the editor grew with the text";

    CTitleTip tip;
    tip.Create(grid);
    CRect tipCell;
    ASSERT_TRUE(grid->GetCellRect(4, 1, &tipCell));
    CRect textRect = tipCell;
    grid->GetCell(4, 1)->GetTipTextRect(&textRect);
    tip.Show(textRect, grid->GetItemText(4, 1), 0, -1, &tipCell);
    ASSERT_TRUE(tip.isVisible());

    // The tip is a window of its own; it is drawn where it lies on the screen.
    QImage picture = fixture.host.grab().toImage();
    QPainter painter(&picture);
    painter.drawPixmap(fixture.host.mapFromGlobal(tip.pos()), tip.grab());
    painter.end();
    EXPECT_TRUE(picture.save(TestOutputPath(QStringLiteral("editor-and-title-tip.png"))));
    tip.Hide();
}

} // namespace
