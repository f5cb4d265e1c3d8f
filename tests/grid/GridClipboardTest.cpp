#include "GridTestSupport.h"

#include "cells/CGridCellCheck.h"
#include "platform/CCmdUI.h"
#include "platform/VirtualKeys.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

// 4 rows and 4 columns, one fixed row and column; cell (r, c) reads "rc".
struct TextGrid : GridFixture
{
    TextGrid() : GridFixture(4, 4, 1, 1)
    {
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col)
                grid->SetItemText(row, col, QStringLiteral("%1%2").arg(row).arg(col));
    }
    QString Copied()
    {
        std::unique_ptr<QMimeData> data(grid->CreateTextDataSource());
        return data ? data->text() : QStringLiteral("<none>");
    }
    BOOL Paste(const CCellID& at, const QString& text, BOOL select = TRUE)
    {
        QMimeData data;
        data.setText(text);
        return grid->PasteTextAt(at, &data, select);
    }
};

TEST(GridCopy, HiddenColumnAndRowLeaveNoTrace)
{
    TextGrid f;
    CGridCtrl& g = *f.grid;
    g.SetColumnWidth(2, 0);
    g.SetSelectedRange(1, 1, 2, 3);
    EXPECT_EQ(f.Copied(), QStringLiteral("11\t13\r\n21\t23"));
    g.SetRowHeight(2, 0);
    g.SetSelectedRange(1, 1, 3, 3);
    EXPECT_EQ(f.Copied(), QStringLiteral("11\t13\r\n31\t33"));
    // A hidden last column still leaves the separator before it.
    g.SetColumnWidth(2, 60);
    g.SetColumnWidth(3, 0);
    g.SetSelectedRange(1, 1, 1, 3);
    EXPECT_EQ(f.Copied(), QStringLiteral("11\t12\t"));
}

// The copied text is built as UTF-8 and read back as the same UTF-16: any
// script, surrogate pairs, separators inside fields, empty cells, and spans
// that end near the grid's last row. A long span is walked in two halves, so
// it must join them without a lost or doubled separator, also where hidden
// rows meet the join. A lone surrogate, high or low, has no UTF-8 form and is
// still copied as it is, in either half.
TEST(GridCopy, TextSurvivesTheClipboardEncodingUnchanged)
{
    constexpr int kRows = 9000;
    GridFixture f(kRows, 5, 1, 1);
    CGridCtrl& g = *f.grid;
    const QString samples[] = {QStringLiteral("Tank \u00c4\u00d6\u00dc \u00df"),
                               QStringLiteral("\u6e29\u5ea6"),
                               QString::fromUtf16(u"\U0001F600 up"),
                               QStringLiteral("a\tb"),
                               QStringLiteral("two\r\nlines"),
                               QString()};
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < 5; ++col)
            g.SetItemText(row, col, samples[(row + col) % 6]);
    // Hidden rows give no line at all.
    const auto expected = [&](int minRow, int minCol, int maxRow, int maxCol) {
        QString text;
        for (int row = minRow; row <= maxRow; ++row) {
            if (g.GetRowHeight(row) <= 0)
                continue;
            for (int col = minCol; col <= maxCol; ++col)
                text += g.GetItemText(row, col) + (col < maxCol ? QStringLiteral("\t") : QString());
            text += row < maxRow ? QStringLiteral("\r\n") : QString();
        }
        return text;
    };
    const auto check = [&](int minRow, int minCol, int maxRow, int maxCol) {
        g.SetSelectedRange(minRow, minCol, maxRow, maxCol);
        std::unique_ptr<QMimeData> data(g.CreateTextDataSource());
        ASSERT_TRUE(data && data->hasText());
        // Not EXPECT_EQ: a mismatch of 200,000 characters would flood the log.
        EXPECT_TRUE(data->text() == expected(minRow, minCol, maxRow, maxCol))
            << minRow << "," << minCol << " to " << maxRow << "," << maxCol;
    };
    for (const auto& [minRow, minCol, maxRow, maxCol] :
         {std::array{1, 1, 39, 4}, std::array{kRows - 3, 2, kRows - 1, 3}, std::array{5, 1, 5, 1},
          std::array{2, 3, 30, 4}, std::array{1, 1, kRows - 1, 4}, std::array{2, 2, kRows - 2, 2}}) {
        check(minRow, minCol, maxRow, maxCol);
    }
    // The halves of rows 1 to kRows - 1 meet at row kRows / 2.
    g.SetRowHeight(kRows / 2 - 1, 0);
    g.SetRowHeight(kRows / 2, 0);
    check(1, 1, kRows - 1, 4);
    g.SetItemText(3, 2, QString(QChar(0xD800)) + QStringLiteral("x"));
    check(3, 1, 4, 2);
    check(1, 1, kRows - 1, 4);
    g.SetItemText(3, 2, QString());
    g.SetItemText(kRows - 10, 2, QString(QChar(0xDC00)));
    check(kRows - 11, 1, kRows - 9, 4);
    check(1, 1, kRows - 1, 4);
}

TEST(GridCopy, NonRectangularSelectionCopiesItsBoundingSpan)
{
    TextGrid f;
    CGridCtrl& g = *f.grid;
    g.SetItemState(1, 1, GRIDIS_SELECTED);
    g.SetItemState(2, 3, GRIDIS_SELECTED);
    EXPECT_EQ(f.Copied(), QStringLiteral("11\t\t\r\n\t\t23"));
    g.ResetSelectedRange();
    EXPECT_EQ(f.Copied(), QStringLiteral("<none>"));
}

TEST(GridCopy, CheckCellsCopyTheirStateAndCopyReachesTheClipboard)
{
    TextGrid f;
    CGridCtrl& g = *f.grid;
    g.SetCellType(1, 2, RUNTIME_CLASS(CGridCellCheck));
    dynamic_cast<CGridCellCheck*>(g.GetCell(1, 2))->SetCheck(TRUE);
    g.SetSelectedRange(1, 1, 1, 2);
    g.OnEditCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("11\t1"));
}

TEST(GridPaste, TrimsDropsBeyondTheGridAndSkipsHiddenLines)
{
    TextGrid f;
    CGridCtrl& g = *f.grid;
    // At the last column: the second field falls outside; the CR is trimmed.
    EXPECT_TRUE(f.Paste(CCellID(1, 3), QStringLiteral("new\tgone\r\n")));
    EXPECT_EQ(g.GetItemText(1, 3), QStringLiteral("new"));
    EXPECT_EQ(g.GetItemText(2, 3), QStringLiteral("23"));
    EXPECT_EQ(g.GetRowCount(), 4);
    EXPECT_EQ(g.GetColumnCount(), 4);
    EXPECT_TRUE(g.GetModified(1, 3));
    EXPECT_EQ(g.GetSelectedCellRange().GetMinRow(), 1);
    EXPECT_EQ(g.GetSelectedCellRange().GetMaxCol(), 3);

    g.SetRowHeight(2, 0);
    g.SetColumnWidth(2, 0);
    EXPECT_TRUE(f.Paste(CCellID(1, 1), QStringLiteral(" a \t b\nc\td\ne\tf\ng\th"), FALSE));
    EXPECT_EQ(g.GetItemText(1, 1), QStringLiteral("a"));
    EXPECT_EQ(g.GetItemText(1, 3), QStringLiteral("b"));
    EXPECT_EQ(g.GetItemText(1, 2), QStringLiteral("12"));
    EXPECT_EQ(g.GetItemText(2, 1), QStringLiteral("21"));
    EXPECT_EQ(g.GetItemText(3, 1), QStringLiteral("c"));
    EXPECT_EQ(g.GetSelectedCount(), 0);
}

TEST(GridPaste, SpacesClearAndTrailingEmptyFieldsChangeNothing)
{
    TextGrid f;
    CGridCtrl& g = *f.grid;
    EXPECT_TRUE(f.Paste(CCellID(1, 1), QStringLiteral("   \t")));
    EXPECT_EQ(g.GetItemText(1, 1), QString());
    EXPECT_EQ(g.GetItemText(1, 2), QStringLiteral("12"));
    EXPECT_TRUE(f.Paste(CCellID(1, 1), QStringLiteral("x\t\ty")));
    EXPECT_EQ(g.GetItemText(1, 2), QString());
    EXPECT_EQ(g.GetItemText(1, 3), QStringLiteral("y"));

    g.SetEditable(FALSE);
    EXPECT_FALSE(f.Paste(CCellID(1, 1), QStringLiteral("no")));
    QMimeData image;
    g.SetEditable(TRUE);
    EXPECT_FALSE(g.PasteTextAt(CCellID(1, 1), &image, TRUE));
}

// Refuses texts starting with '!', and optionally every edit from the start.
class VetoingParent : public RecordingParent
{
public:
    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override
    {
        RecordingParent::OnNotify(wParam, header);
        if (header->code == GRIDN_BEGINEDIT)
            return refuseBegin ? -1 : 0;
        return 0;
    }
    bool refuseBegin = false;
};

class ValidatingGrid : public CGridCtrl
{
public:
    ValidatingGrid() : CGridCtrl(3, 3, 1, 0) {}
    BOOL ValidateEdit(int, int, const QString& text) override { return !text.startsWith(u'!'); }
};

TEST(GridPaste, EveryCellGoesThroughTheEditPath)
{
    VetoingParent parent;
    auto* grid = new ValidatingGrid;
    grid->Create(RECT{0, 0, 300, 200}, &parent, 9);
    grid->SetItemText(1, 0, QStringLiteral("old"));
    grid->SetItemText(1, 1, QStringLiteral("keep"));
    QMimeData data;
    data.setText(QStringLiteral("new\t!bad"));
    EXPECT_TRUE(grid->PasteTextAt(CCellID(1, 0), &data, TRUE));
    EXPECT_EQ(grid->GetItemText(1, 0), QStringLiteral("new"));
    EXPECT_EQ(grid->GetItemText(1, 1), QStringLiteral("keep"));
    int endEdits = 0;
    for (const auto& record : parent.records)
        endEdits += record.code == GRIDN_ENDEDIT ? 1 : 0;
    EXPECT_EQ(endEdits, 1);

    parent.refuseBegin = true;
    grid->SetItemTextAsEdited(1, 0, QStringLiteral("vetoed"));
    EXPECT_EQ(grid->GetItemText(1, 0), QStringLiteral("new"));
}

TEST(GridClipboard, CutClearsSelectedCellsAndSelectAllSelectsTheBody)
{
    TextGrid f;
    CGridCtrl& g = *f.grid;
    g.SetSelectedRange(1, 1, 1, 2);
    g.OnEditCut();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("11\t12"));
    EXPECT_EQ(g.GetItemText(1, 1), QString());
    EXPECT_EQ(g.GetItemText(1, 2), QString());
    EXPECT_EQ(g.GetItemText(1, 3), QStringLiteral("13"));

    g.SetEditable(FALSE);
    g.SetSelectedRange(2, 1, 2, 1);
    g.OnEditCut();
    EXPECT_EQ(g.GetItemText(2, 1), QStringLiteral("21"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("11\t12"));

    g.SetEditable(TRUE);
    g.SetFocusCell(2, 2);
    QGuiApplication::clipboard()->setText(QStringLiteral("p\tq"));
    g.ResetSelectedRange();
    g.SetFocusCell(2, 2);
    g.OnEditPaste();
    EXPECT_EQ(g.GetItemText(2, 2), QStringLiteral("p"));
    EXPECT_EQ(g.GetItemText(2, 3), QStringLiteral("q"));
}

TEST(GridClipboard, CommandEnabling)
{
    TextGrid f;
    CGridCtrl& g = *f.grid;
    const auto enabled = [&](void (CGridCtrl::*handler)(CCmdUI*)) {
        CCmdUI ui;
        (g.*handler)(&ui);
        return ui.IsEnabled() != FALSE;
    };
    g.ResetSelectedRange();
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(enabled(&CGridCtrl::OnUpdateEditCopy));
    EXPECT_FALSE(enabled(&CGridCtrl::OnUpdateEditCut));
    EXPECT_FALSE(enabled(&CGridCtrl::OnUpdateEditPaste));
    EXPECT_TRUE(enabled(&CGridCtrl::OnUpdateEditSelectAll));

    g.SetSelectedRange(1, 1, 1, 1);
    g.SetFocusCell(1, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    EXPECT_TRUE(enabled(&CGridCtrl::OnUpdateEditCopy));
    EXPECT_TRUE(enabled(&CGridCtrl::OnUpdateEditCut));
    EXPECT_TRUE(enabled(&CGridCtrl::OnUpdateEditPaste));
    g.SetEditable(FALSE);
    EXPECT_TRUE(enabled(&CGridCtrl::OnUpdateEditCopy));
    EXPECT_FALSE(enabled(&CGridCtrl::OnUpdateEditCut));
    EXPECT_FALSE(enabled(&CGridCtrl::OnUpdateEditPaste));
    g.EnableSelection(FALSE);
    EXPECT_FALSE(enabled(&CGridCtrl::OnUpdateEditSelectAll));
}

TEST(GridClipboard, WithTheEditorOpenCopyTakesTheEditorsSelection)
{
    TextGrid f;
    CGridCtrl& g = *f.grid;
    g.SetFocusCell(1, 1);
    g.SetSelectedRange(1, 1, 1, 2);
    g.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    auto* editor = qobject_cast<QPlainTextEdit*>(g.GetCell(1, 1)->GetEditWnd());
    ASSERT_NE(editor, nullptr);
    editor->setPlainText(QStringLiteral("editor text"));
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    CCmdUI ui;
    g.OnUpdateEditCopy(&ui);
    EXPECT_TRUE(ui.IsEnabled());
    g.OnEditCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("editor"));
}

} // namespace
