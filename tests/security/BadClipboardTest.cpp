// Clipboard contents no user meant to paste, into a grid on a real runtime:
// the paste and Insert Copied Cells finish, keep to their bounds, and the grid
// goes on working.
#include "tests/toolkit/ToolkitTestSupport.h"
#include "tests/watch/WatchRuntimeFixture.h"

#include "res/Resource.h"
#include "watch/CGridQuillon.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

namespace {

constexpr int Tag = CGridQuillon::ColTag;
constexpr int Value = CGridQuillon::ColValue;
// What a Tag/Expression cell takes, its terminator not counted.
constexpr int kTagCapacity = 2047;

class BadClipboard : public WatchRuntimeFixture
{
protected:
    void PasteAt(int row)
    {
        f.grid->SetSelectedRange(row, Tag, row, Tag);
        f.grid->SetFocusCell(row, Tag);
        QTest::keyClick(f.grid, Qt::Key_V, Qt::ControlModifier);
        f.Flush();
    }

    // The grid still takes a row typed by the user and reads it.
    void ExpectStillWorking()
    {
        const int row = f.grid->GetRowCount() - 1;
        f.Type(row, Tag, QStringLiteral("Plant.Tank2.Product"));
        EXPECT_EQ(f.grid->GetItemText(row, Value), QStringLiteral("Water"));
    }
};

TEST_F(BadClipboard, TenMegabytesOnOneLine)
{
    QString huge(10 * 1024 * 1024, u'A');
    huge[5] = u'\t'; // a Value field too, that must not be written anywhere
    QGuiApplication::clipboard()->setText(huge);
    PasteAt(1);
    EXPECT_LE(f.grid->GetItemText(1, Tag).size(), kTagCapacity);
    EXPECT_EQ(f.grid->GetRowCount(), 3) << "one line, one row, and the empty row below";

    f.grid->SetFocusCell(1, Tag);
    f.grid->OnCommand(ID_INSERT_COPIED_CELLS);
    EXPECT_EQ(f.grid->GetRowCount(), 4);
    EXPECT_LE(f.grid->GetItemText(1, Tag).size(), kTagCapacity);
    EXPECT_LE(f.grid->GetItemText(1, Value).size(), kValueTextCapacity);
    ExpectStillWorking();
}

// Most lines are empty, so that the test measures the grid and not 100,000
// round trips to the runtime; every thousandth is a tag that must land on its
// own row and be read there.
TEST_F(BadClipboard, AHundredThousandLines)
{
    constexpr int kLines = 100000;
    QString lines;
    lines.reserve(kLines * 3);
    for (int i = 0; i < kLines; ++i)
        lines += i % 1000 == 999 ? QStringLiteral("Plant.Tank2.Product\r\n") : QStringLiteral("\r\n");
    QGuiApplication::clipboard()->setText(lines);
    PasteAt(1);
    EXPECT_EQ(f.grid->GetRowCount(), 2) << "a paste fills the rows there are and adds none";

    f.grid->SetFocusCell(1, Tag);
    f.grid->OnCommand(ID_INSERT_COPIED_CELLS);
    ASSERT_EQ(f.grid->GetRowCount(), 2 + kLines);
    for (const int row : {1000, 50000, kLines}) {
        EXPECT_EQ(f.grid->GetItemText(row, Tag), QStringLiteral("Plant.Tank2.Product")) << row;
        EXPECT_EQ(f.grid->GetItemText(row, Value), QStringLiteral("Water")) << row;
        EXPECT_TRUE(f.IsChecked(row)) << row;
    }
    EXPECT_EQ(f.grid->GetItemText(1 + kLines, Tag), QString()) << "the empty row, moved down, stays last";
    ExpectStillWorking();
}

} // namespace
