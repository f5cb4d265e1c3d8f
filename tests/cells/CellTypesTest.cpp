#include "cells/CGridCellCheck.h"
#include "cells/CGridCellCombo.h"
#include "cells/CGridCellDateTime.h"
#include "cells/CGridCellGenericBrowse.h"
#include "cells/CGridCellNumeric.h"
#include "cells/CGridURLCell.h"
#include "grid/CGridCtrl.h"
#include "platform/GdiDefs.h"
#include "platform/ScreenMetrics.h"
#include "platform/VirtualKeys.h"

#include <QApplication>
#include <QDesktopServices>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

#include <cfloat>
#include <climits>

#include <gtest/gtest.h>

namespace {

// A shown grid of 3 rows of 20 and 3 columns of 100 (no fixed lines), whose
// cell (1, 1) is of the class under test.
template <typename Cell> struct CellGrid
{
    CellGrid()
    {
        window.resize(400, 200);
        grid->Create(RECT{0, 0, 400, 200}, &window, 5);
        for (int i = 0; i < 3; ++i) {
            grid->SetRowHeight(i, 20);
            grid->SetColumnWidth(i, 100);
        }
        grid->SetCellType(1, 1, Cell().GetRuntimeClass());
        window.show();
        Paint();
    }
    Cell* cell() { return dynamic_cast<Cell*>(grid->GetCell(1, 1)); }
    // Cells remember where they were drawn.
    void Paint() { grid->viewport()->grab(); }
    QPoint CellPoint(int dx, int dy) const { return QPoint(100 + dx, 20 + dy); }

    QWidget window;
    CGridCtrl* grid = new CGridCtrl(3, 3, 0, 0);
};

TEST(CheckCell, CopiesItsStateAndTakesOnlyZeroEmptyOrOne)
{
    CGridCellCheck cell;
    cell.SetText(QStringLiteral("anything"));
    EXPECT_EQ(cell.GetCopyText(), QStringLiteral("0"));
    EXPECT_FALSE(cell.SetCheck(TRUE));
    EXPECT_EQ(cell.GetText(), QStringLiteral(" "));
    EXPECT_EQ(cell.GetCopyText(), QStringLiteral("1"));
    EXPECT_TRUE(cell.SetCheck(TRUE));

    EXPECT_TRUE(cell.ValidateEdit(QStringLiteral("0")));
    EXPECT_FALSE(cell.GetCheck());
    EXPECT_TRUE(cell.ValidateEdit(QStringLiteral("1")));
    EXPECT_TRUE(cell.GetCheck());
    EXPECT_TRUE(cell.ValidateEdit(QString()));
    EXPECT_FALSE(cell.GetCheck());
    cell.SetCheck(TRUE);
    EXPECT_FALSE(cell.ValidateEdit(QStringLiteral("yes")));
    EXPECT_TRUE(cell.GetCheck());
}

TEST(CheckCell, BoxPlacementFollowsTheFormat)
{
    CellGrid<CGridCellCheck> f;
    const int margin = static_cast<int>(f.cell()->GetMargin());
    const int box = GetSystemMetrics(SM_CXVSCROLL);
    ASSERT_GT(box, 0);
    CRect cellRect;
    f.grid->GetCellRect(1, 1, &cellRect);

    f.cell()->SetFormat(DT_LEFT);
    f.Paint();
    EXPECT_EQ(f.cell()->GetCheckPlacement().left, cellRect.left + margin);

    f.cell()->SetFormat(DT_RIGHT);
    f.Paint();
    EXPECT_EQ(f.cell()->GetCheckPlacement().right, cellRect.right - margin);
    EXPECT_EQ(f.cell()->GetCheckPlacement().Width(), box);

    f.cell()->SetFormat(DT_CENTER);
    f.Paint();
    const CRect centred = f.cell()->GetCheckPlacement();
    EXPECT_EQ(centred.left, cellRect.left + (cellRect.Width() - box) / 2);
    EXPECT_EQ(centred.top, cellRect.top + (cellRect.Height() - centred.Height()) / 2);
}

TEST(CheckCell, ClickTogglesOnlyInTheBoxAndADoubleClickTogglesOnce)
{
    CellGrid<CGridCellCheck> f;
    f.cell()->SetFormat(DT_LEFT);
    f.Paint();
    const CRect box = f.cell()->GetCheckPlacement();
    const QPoint inBox(box.left + 2, box.top + 2);
    const QPoint outside(box.right + 20, box.top + 2);

    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, outside);
    EXPECT_FALSE(f.cell()->GetCheck());
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, inBox);
    EXPECT_TRUE(f.cell()->GetCheck());

    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, inBox);
    QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {}, inBox);
    // First click of the pair toggles; the edit the double click starts does not.
    EXPECT_FALSE(f.cell()->GetCheck());
}

TEST(CheckCell, SpaceTogglesWithoutAnEditor)
{
    CellGrid<CGridCellCheck> f;
    EXPECT_TRUE(f.cell()->Edit(1, 1, CRect(), CPoint(-1, -1), 8, VK_SPACE));
    EXPECT_TRUE(f.cell()->GetCheck());
    EXPECT_FALSE(f.cell()->IsEditing());
    EXPECT_EQ(f.cell()->GetEditWnd(), nullptr);
}

TEST(ComboCell, ButtonOnlyWhileEditableAndWhenItFits)
{
    CellGrid<CGridCellCombo> f;
    const QImage plain = [&] {
        CellGrid<CGridCell> other;
        other.grid->SetItemText(1, 1, QString());
        return other.grid->viewport()->grab().toImage();
    }();
    const auto cellImage = [&](CGridCtrl* g) { return g->viewport()->grab().toImage().copy(QRect(100, 20, 100, 20)); };
    const QImage withButton = cellImage(f.grid);
    EXPECT_NE(withButton, plain.copy(QRect(100, 20, 100, 20)));

    f.grid->SetEditable(FALSE);
    EXPECT_EQ(cellImage(f.grid), plain.copy(QRect(100, 20, 100, 20)));

    f.grid->SetEditable(TRUE);
    f.grid->SetRowHeight(1, 10);
    const QImage low = f.grid->viewport()->grab().toImage().copy(QRect(100, 20, 100, 10));
    f.grid->SetCellType(1, 1, RUNTIME_CLASS(CGridCell));
    EXPECT_EQ(f.grid->viewport()->grab().toImage().copy(QRect(100, 20, 100, 10)), low);
}

TEST(ComboCell, TypedLetterCommitsTheFirstMatchingOption)
{
    CellGrid<CGridCellCombo> f;
    f.cell()->SetOptions({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Bravo")});
    f.cell()->SetStyle(CBS_DROPDOWNLIST);
    f.grid->SetFocusCell(1, 1);
    f.grid->OnEditCell(1, 1, CPoint(-1, -1), 'B');
    QApplication::processEvents();
    EXPECT_EQ(f.grid->GetItemText(1, 1), QStringLiteral("Beta"));
    EXPECT_FALSE(f.cell()->IsEditing());
}

TEST(DateTimeCell, StylesZeroAndNineShowDateAndTime)
{
    const QDateTime before = QDateTime::currentDateTime();
    CGridCellDateTime date(0);
    CGridCellDateTime time(DTS_TIMEFORMAT);
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_TRUE(date.GetText() == before.toString(QStringLiteral("dd/MM/yyyy")) ||
                date.GetText() == after.toString(QStringLiteral("dd/MM/yyyy")));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(time.GetText()).hasMatch());
    const QTime shown = QTime::fromString(time.GetText(), QStringLiteral("HH:mm:ss"));
    EXPECT_LE(std::abs(shown.secsTo(after.time())), 2);
    EXPECT_EQ(date.GetFormat(), 0x8825u);

    CGridCellDateTime other(DTS_LONGDATEFORMAT);
    other.SetText(QStringLiteral("kept"));
    other.SetTime(before);
    EXPECT_EQ(other.GetText(), QStringLiteral("kept"));
}

TEST(NumericCell, SetNumberByKind)
{
    CGridCellNumeric cell;
    cell.SetNumber(2.50);
    EXPECT_EQ(cell.GetText(), QStringLiteral("2.5"));
    cell.SetNumber(3.0);
    EXPECT_EQ(cell.GetText(), QStringLiteral("3"));
    cell.SetNumberKind(1);
    cell.SetNumber(2.99);
    EXPECT_EQ(cell.GetText(), QStringLiteral("2"));
    EXPECT_EQ(cell.GetNumber(), 2.0);
    cell.SetNumber(-2.99);
    EXPECT_EQ(cell.GetText(), QStringLiteral("-2"));
    // Beyond the int range the value stops at its end instead of wrapping.
    cell.SetNumber(DBL_MAX);
    EXPECT_EQ(cell.GetText(), QString::number(INT_MAX));

    cell.SetText(QStringLiteral("12.25"));
    EXPECT_EQ(cell.GetNumber(), 12.25);
    cell.SetText(QStringLiteral("abc"));
    EXPECT_EQ(cell.GetNumber(), 0.0);
    EXPECT_EQ(cell.GetText(), QStringLiteral("abc"));
}

TEST(NumericCell, DisplayCallbackOnlyForRealsWithUserValue)
{
    CGridCellNumeric cell;
    cell.SetNumber(1.5);
    const auto callback = [](LPARAM, int row, int col, WCHAR* buffer, int size) -> BOOL {
        const QString text = QStringLiteral("r%1c%2").arg(row).arg(col);
        // Fills the whole buffer without a terminator after the text.
        std::fill(buffer, buffer + size, u'x');
        std::copy(text.utf16(), text.utf16() + text.size(), buffer);
        return TRUE;
    };
    cell.SetDisplayCallback(0, callback);
    EXPECT_EQ(cell.GetDisplayText(1, 2), QStringLiteral("1.5"));
    cell.SetDisplayCallback(7, callback);
    const QString shown = cell.GetDisplayText(1, 2);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("r1c2")));
    EXPECT_EQ(shown.size(), CGridCellNumeric::DISPLAY_BUFFER - 1);
    cell.SetNumberKind(1);
    EXPECT_EQ(cell.GetDisplayText(1, 2), cell.GetText());
}

TEST(BrowseCell, ButtonGeometryAndClick)
{
    CellGrid<CGridCellGenericBrowse> f;
    CRect cellRect;
    f.grid->GetCellRect(1, 1, &cellRect);
    EXPECT_EQ(f.cell()->GetButtonRect(), CRect(cellRect.right - 20, cellRect.top, cellRect.right, cellRect.bottom));
    f.cell()->SetButtonPlacement(CGridCellGenericBrowse::PLACE_CENTER);
    EXPECT_EQ(f.cell()->GetButtonRect().left, cellRect.left + (cellRect.Width() - 20) / 2);
    f.cell()->SetButtonPlacement(0);
    EXPECT_EQ(f.cell()->GetButtonRect().left, cellRect.left);
    CRect text = cellRect;
    EXPECT_TRUE(f.cell()->GetTextRect(&text));
    EXPECT_EQ(text.right, cellRect.right - 20);

    f.grid->SetColumnWidth(1, 15);
    f.Paint();
    f.grid->GetCellRect(1, 1, &cellRect);
    EXPECT_EQ(f.cell()->GetButtonRect(), cellRect);
    text = cellRect;
    EXPECT_FALSE(f.cell()->GetTextRect(&text));

    f.cell()->OnClickDown(CPoint(2, 2));
    EXPECT_TRUE(f.cell()->IsPressed());
    f.cell()->OnClick(CPoint(200, 2));
    EXPECT_FALSE(f.cell()->IsPressed());
}

// Records the links the desktop would have opened.
class LinkRecorder : public QObject
{
    Q_OBJECT
public:
    LinkRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open"); }
    ~LinkRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

// A link cell 300 pixels wide without margin.
struct UrlGrid : CellGrid<CGridURLCell>
{
    UrlGrid(UINT format, const QString& text)
    {
        grid->SetColumnWidth(1, 300);
        cell()->SetFormat(format | DT_SINGLELINE);
        cell()->SetMargin(0);
        grid->SetItemText(1, 1, text);
        Paint();
    }
};

TEST(UrlCell, OpensOnlyTheWordThatIsALink)
{
    UrlGrid f(DT_LEFT, QStringLiteral("aaaa www.example.com bbbb"));
    EXPECT_TRUE(CGridURLCell::HasUrl(QStringLiteral("see http://x")));
    EXPECT_FALSE(CGridURLCell::HasUrl(QStringLiteral("WWW.X")));

    const int width = f.cell()->GetTextExtent(f.cell()->GetText()).cx;
    const int average = width / 25;
    QString url;
    EXPECT_FALSE(f.cell()->OverUrl(CPoint(average, 5), &url));
    EXPECT_EQ(url, QStringLiteral("aaaa"));
    EXPECT_TRUE(f.cell()->OverUrl(CPoint(average * 10 + average / 2, 5), &url));
    EXPECT_EQ(url, QStringLiteral("www.example.com"));
    EXPECT_FALSE(f.cell()->OverUrl(CPoint(width + 20, 5), &url));

    LinkRecorder recorder;
    f.cell()->OnClick(CPoint(average, 5));
    EXPECT_TRUE(recorder.opened.isEmpty());
    f.cell()->OnClick(CPoint(average * 10 + average / 2, 5));
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened.first().host(), QStringLiteral("www.example.com"));
    EXPECT_FALSE(f.cell()->Edit(1, 1, CRect(), CPoint(), 8, VK_LBUTTON));
}

TEST(UrlCell, RightAlignedTextIsHitFromTheRightEdge)
{
    UrlGrid f(DT_RIGHT, QStringLiteral("www.example.com"));
    const int width = f.cell()->GetTextExtent(f.cell()->GetText()).cx;
    EXPECT_FALSE(f.cell()->OverUrl(CPoint(5, 5), nullptr));
    EXPECT_TRUE(f.cell()->OverUrl(CPoint(300 - width / 2, 5), nullptr));
    EXPECT_EQ(f.cell()->GetTextClr(), f.cell()->GetUrlColour());
}

} // namespace

#include "CellTypesTest.moc"
