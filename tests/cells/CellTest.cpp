#include "cells/CGridCell.h"
#include "cells/CGridDefaultCell.h"
#include "grid/CGridCtrl.h"
#include "platform/CDC.h"
#include "platform/CImageList.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(GridCell, NewCellDefersToItsDefaultCell)
{
    CGridCtrl grid(3, 3, 1, 1);
    CGridCell cell;
    EXPECT_EQ(cell.GetText(), QString());
    EXPECT_EQ(cell.GetImage(), -1);
    EXPECT_EQ(cell.GetFormat(), 0u); // no grid, no default cell
    EXPECT_EQ(cell.GetTextLimit(), -1);
    EXPECT_EQ(cell.GetQuality(), QUALITY_GOOD);
    EXPECT_TRUE(cell.IsEditable());
    EXPECT_EQ(cell.GetTextClr(), CLR_DEFAULT);
    EXPECT_EQ(cell.GetBackClr(), CLR_DEFAULT);

    cell.SetGrid(&grid);
    const CGridDefaultCell* ordinary = grid.GetDefaultCell(FALSE, FALSE);
    EXPECT_EQ(cell.GetFormat(), 0x8804u);
    EXPECT_EQ(cell.GetMargin(), ordinary->GetMargin());
    EXPECT_TRUE(cell.IsDefaultFont());
    EXPECT_EQ(cell.GetFont(), ordinary->GetFont());
    cell.SetState(GRIDIS_READONLY);
    EXPECT_FALSE(cell.IsEditable());
}

TEST(GridCell, RegionComesFromTheStateBits)
{
    CGridCtrl grid;
    CGridCell cell;
    cell.SetGrid(&grid);
    const struct
    {
        DWORD state;
        BOOL fixedRow, fixedCol;
    } cases[] = {{0x00, FALSE, FALSE}, {0x30, TRUE, FALSE}, {0x50, FALSE, TRUE}, {0x70, TRUE, TRUE}};
    for (const auto& c : cases) {
        cell.SetState(c.state);
        EXPECT_EQ(cell.GetDefaultCell(), grid.GetDefaultCell(c.fixedRow, c.fixedCol)) << c.state;
    }
}

TEST(GridCell, DefaultCellMeasuresItsFontAndStaysReadOnly)
{
    CGridDefaultCell cell;
    CDC screen;
    screen.SelectObject(cell.GetFontObject());
    EXPECT_EQ(static_cast<int>(cell.GetMargin()), screen.GetTextExtent(QStringLiteral(" ")).cx);
    const CSize box = screen.GetTextExtent(QStringLiteral(" XXXXXXXXXXXX "));
    EXPECT_EQ(cell.GetWidth(), box.cx);
    EXPECT_EQ(cell.GetHeight(), box.cy * 3 / 2);
    EXPECT_EQ(cell.GetFormat(), 0x8804u);

    EXPECT_TRUE(cell.GetState() & GRIDIS_READONLY);
    cell.SetState(GRIDIS_SELECTED);
    cell.SetData(5);
    cell.SetCoords(4, 4);
    EXPECT_EQ(cell.GetState(), GRIDIS_READONLY);
    EXPECT_EQ(cell.GetData(), 0);
    EXPECT_EQ(cell.GetCoordRow(), 0);
    EXPECT_FALSE(cell.IsEditable());
    cell.SetFont(nullptr); // ignored: a default cell always has a font
    EXPECT_NE(cell.GetFont(), nullptr);
}

TEST(GridCell, CopyTakesEffectiveValuesAndResetKeepsIdentity)
{
    CGridCtrl grid(2, 2);
    CGridCell source;
    source.SetGrid(&grid);
    source.SetText(QStringLiteral("x"));
    source.SetQuality(64);
    CGridCell copy;
    copy.CopyFrom(&source);
    EXPECT_EQ(copy.GetText(), QStringLiteral("x"));
    EXPECT_EQ(copy.GetQuality(), 64);
    // The source's -1 format and margin arrive as the default cell's values, owned.
    grid.GetDefaultCell(FALSE, FALSE)->SetFormat(DT_LEFT);
    grid.GetDefaultCell(FALSE, FALSE)->SetMargin(1);
    EXPECT_EQ(copy.GetFormat(), 0x8804u);
    EXPECT_NE(copy.GetMargin(), 1u);
    EXPECT_TRUE(copy.IsDefaultFont());

    LOGFONTW font = *source.GetFont();
    font.lfWeight = FW_BOLD;
    copy.SetFont(&font);
    EXPECT_FALSE(copy.IsDefaultFont());
    copy.SetFont(nullptr);
    EXPECT_TRUE(copy.IsDefaultFont());

    copy.SetData(7);
    copy.SetEditable(FALSE);
    copy.SetCoords(3, 4);
    copy.Reset();
    EXPECT_EQ(copy.GetText(), QString());
    EXPECT_EQ(copy.GetGrid(), nullptr);
    EXPECT_EQ(copy.GetData(), 7);
    EXPECT_FALSE(copy.IsEditable());
    EXPECT_EQ(copy.GetCoordRow(), 3);
    EXPECT_EQ(copy.GetCoordCol(), 4);
}

TEST(GridCell, TextExtentCountsLinesOnlyWhenWrapping)
{
    CGridCtrl grid(2, 2);
    CGridCell& cell = *static_cast<CGridCell*>(grid.GetCell(1, 1));
    const QString twoLines = QStringLiteral("first\nsecond");
    cell.SetFormat(DT_WORDBREAK);
    const CSize wrapped = cell.GetTextExtent(twoLines);
    cell.SetFormat(DT_WORDBREAK | DT_SINGLELINE);
    const CSize single = cell.GetTextExtent(twoLines);
    const int margin = static_cast<int>(cell.GetMargin());
    EXPECT_EQ(wrapped.cy - 2 * margin, 2 * (single.cy - 2 * margin));
    // Without text the default cell's size comes back.
    const CGridDefaultCell* def = grid.GetDefaultCell(FALSE, FALSE);
    EXPECT_EQ(cell.GetTextExtent(QString()), CSize(def->GetWidth(), def->GetHeight()));

    // A vertical font swaps the two and adds four margins to the height.
    LOGFONTW font = *cell.GetFont();
    font.lfEscapement = 900;
    cell.SetFont(&font);
    cell.SetFormat(DT_SINGLELINE);
    const CSize vertical = cell.GetTextExtent(QStringLiteral("abc"));
    cell.SetFont(nullptr);
    const CSize horizontal = cell.GetTextExtent(QStringLiteral("abc"));
    EXPECT_EQ(vertical.cx, horizontal.cy);
    EXPECT_EQ(vertical.cy, horizontal.cx + 4 * margin);
}

TEST(GridCell, ImagesMoveTheTextAndAddToTheExtent)
{
    CGridCtrl grid(2, 2);
    CImageList images;
    images.Create(16, 16);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    images.Add(pixmap);
    grid.SetImageList(&images);
    CGridCellBase& cell = *grid.GetCell(1, 1);
    cell.SetText(QStringLiteral("t"));
    const CSize plain = cell.GetCellExtent(nullptr, 1, 1);
    cell.SetImage(0);
    CRect rect(10, 0, 200, 20);
    cell.GetTextRect(&rect);
    EXPECT_EQ(rect.left, 10 + 17 + static_cast<int>(cell.GetMargin()));
    EXPECT_EQ(cell.GetCellExtent(nullptr, 1, 1).cx, plain.cx + 17);
    cell.SetImage(3); // not in the list
    rect = CRect(10, 0, 200, 20);
    cell.GetTextRect(&rect);
    EXPECT_EQ(rect.left, 10);
}

TEST(GridCell, DrawRefusesWithoutGridOrRoom)
{
    CGridCtrl grid(2, 2);
    QImage image(50, 50, QImage::Format_RGB32);
    QPainter painter(&image);
    CDC dc(&painter);
    CGridCell lonely;
    EXPECT_FALSE(lonely.Draw(&dc, 0, 0, CRect(0, 0, 20, 20)));
    CGridCellBase& cell = *grid.GetCell(1, 1);
    EXPECT_FALSE(cell.Draw(&dc, 1, 1, CRect(0, 0, 0, 20)));
    EXPECT_FALSE(cell.Draw(nullptr, 1, 1, CRect(0, 0, 20, 20)));
    EXPECT_TRUE(cell.Draw(&dc, 1, 1, CRect(0, 0, 20, 20)));
    EXPECT_TRUE(cell.PrintCell(&dc, 1, 1, CRect(0, 0, 20, 20)));
}

} // namespace
