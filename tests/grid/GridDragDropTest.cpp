#include "GridTestSupport.h"

#include "cells/CGridCell.h"
#include "grid/CGridDropTarget.h"
#include "platform/OleDragDrop.h"
#include "platform/VirtualKeys.h"

#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Rows and columns of 20 by 60 pixels, one fixed row and column; cell (r, c) reads "rc".
struct DropGrid : GridFixture
{
    DropGrid() : GridFixture(4, 4, 1, 1)
    {
        for (int row = 0; row < 4; ++row) {
            grid->SetRowHeight(row, 20);
            for (int col = 0; col < 4; ++col) {
                grid->SetColumnWidth(col, 60);
                grid->SetItemText(row, col, QStringLiteral("%1%2").arg(row).arg(col));
            }
        }
    }
    static CPoint Centre(int row, int col) { return CPoint(col * 60 + 30, row * 20 + 10); }
    bool Highlighted(int row, int col) const { return (grid->GetItemState(row, col) & GRIDIS_DROPHILITED) != 0; }
};

TEST(GridDrop, TextFromAnotherProgramIsPastedWhereItFalls)
{
    DropGrid f;
    CGridDropTarget* target = f.grid->GetDropTarget();
    ASSERT_TRUE(target->IsRegistered());
    EXPECT_FALSE(target->Register(f.grid));
    QMimeData data;
    data.setText(QStringLiteral("dropped\tthere"));

    EXPECT_EQ(target->OnDragEnter(f.grid, &data, 0, DropGrid::Centre(2, 1)), DROPEFFECT_COPY);
    EXPECT_TRUE(f.Highlighted(2, 1));
    EXPECT_EQ(target->OnDragOver(f.grid, &data, 0, DropGrid::Centre(2, 2)), DROPEFFECT_COPY);
    EXPECT_FALSE(f.Highlighted(2, 1));
    EXPECT_TRUE(f.Highlighted(2, 2));
    // Header cells take no drop.
    EXPECT_EQ(target->OnDragOver(f.grid, &data, 0, DropGrid::Centre(0, 2)), DROPEFFECT_NONE);
    EXPECT_EQ(target->OnDragOver(f.grid, &data, 0, DropGrid::Centre(2, 2)), DROPEFFECT_COPY);

    EXPECT_TRUE(target->OnDrop(f.grid, &data, DROPEFFECT_COPY, DropGrid::Centre(2, 2)));
    EXPECT_FALSE(f.Highlighted(2, 2));
    EXPECT_EQ(f.grid->GetItemText(2, 2), QStringLiteral("dropped"));
    EXPECT_EQ(f.grid->GetItemText(2, 3), QStringLiteral("there"));
    EXPECT_EQ(f.grid->GetSelectedCount(), 0);
}

TEST(GridDrop, RefusedForOtherWindowsWithoutTextOrWhenDisabled)
{
    DropGrid f;
    CGridDropTarget* target = f.grid->GetDropTarget();
    QMimeData text;
    text.setText(QStringLiteral("x"));
    QMimeData empty;
    QWidget other;
    EXPECT_EQ(target->OnDragEnter(&other, &text, 0, DropGrid::Centre(2, 2)), DROPEFFECT_NONE);
    EXPECT_EQ(target->OnDragEnter(f.grid, &empty, 0, DropGrid::Centre(2, 2)), DROPEFFECT_NONE);
    f.grid->EnableDragAndDrop(FALSE);
    EXPECT_EQ(target->OnDragEnter(f.grid, &text, 0, DropGrid::Centre(2, 2)), DROPEFFECT_NONE);
    EXPECT_FALSE(target->OnDrop(f.grid, &text, DROPEFFECT_COPY, DropGrid::Centre(2, 2)));
    EXPECT_EQ(f.grid->GetItemText(2, 2), QStringLiteral("22"));

    target->Revoke();
    EXPECT_FALSE(target->IsRegistered());
    EXPECT_FALSE(f.grid->viewport()->acceptDrops());
}

// The drag's modal loop, played by the test: the data is dropped on the
// grid's own target and the answer is a move.
struct DropOnSelf
{
    explicit DropOnSelf(CGridCtrl* grid, CPoint at, DROPEFFECT answer)
    {
        SetDragDropHandler([=, this](QWidget*, QMimeData* data, DROPEFFECT allowed) {
            std::unique_ptr<QMimeData> owned(data);
            this->allowed = allowed;
            this->text = data->text();
            CGridDropTarget* target = grid->GetDropTarget();
            if (target->OnDragEnter(grid, data, 0, at) == DROPEFFECT_NONE || !target->OnDrop(grid, data, answer, at))
                return DROPEFFECT_NONE;
            return answer;
        });
    }
    ~DropOnSelf() { SetDragDropHandler(nullptr); }
    DROPEFFECT allowed = 0;
    QString text;
};

TEST(GridDrag, NeedsCtrlAndAMoveClearsTheSourceButNotWhatItWrote)
{
    DropGrid f;
    RecordingParent& parent = f.parent;
    f.grid->SetSelectedRange(1, 1, 2, 1);

    DropOnSelf loop(f.grid, DropGrid::Centre(2, 1), DROPEFFECT_MOVE);
    f.grid->StartDragDrop(); // Ctrl is not held
    EXPECT_TRUE(loop.text.isEmpty());

    QTest::keyPress(f.grid, Qt::Key_Control, Qt::ControlModifier);
    const bool ctrlSeen = GetAsyncKeyState(VK_CONTROL) < 0;
    if (!ctrlSeen)
        GTEST_SKIP() << "this platform reports no held keys";
    f.grid->StartDragDrop();
    QTest::keyRelease(f.grid, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(loop.allowed, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(loop.text, QStringLiteral("11\r\n21"));
    bool started = false;
    for (const auto& record : parent.records)
        started |= record.code == GRIDN_STARTDRAG && record.row == 1 && record.col == 1;
    EXPECT_TRUE(started);
    // Dropped one row down: (2, 1) and (3, 1) were written, (1, 1) was left behind.
    EXPECT_EQ(f.grid->GetItemText(1, 1), QString());
    EXPECT_EQ(f.grid->GetItemText(2, 1), QStringLiteral("11"));
    EXPECT_EQ(f.grid->GetItemText(3, 1), QStringLiteral("21"));
}

// Counts the grid's asking a cell for the cursor, as hovering does.
class CursorCell : public CGridCell
{
    DECLARE_DYNCREATE(CursorCell)

public:
    BOOL OnSetCursor() override
    {
        ++s_asked;
        return CGridCell::OnSetCursor();
    }
    static int s_asked;
};
IMPLEMENT_DYNCREATE(CursorCell, CGridCell)
int CursorCell::s_asked = 0;

void MoveOn(CGridCtrl* grid, CPoint at, Qt::MouseButtons buttons)
{
    const QPoint pos(at.x, at.y);
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(grid->viewport()->mapToGlobal(pos)), Qt::NoButton,
                     buttons, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
}

// The drag's loop takes the button's release; after it, hovering asks the
// cells for the cursor again, as after any click.
TEST(GridDrag, AfterADragTheCursorFollowsTheCellsAgain)
{
    DropGrid f;
    f.grid->SetCellType(3, 3, RUNTIME_CLASS(CursorCell));
    f.grid->SetSelectedRange(1, 1, 2, 1);
    DropOnSelf loop(f.grid, DropGrid::Centre(2, 2), DROPEFFECT_COPY);
    QTest::keyPress(f.grid, Qt::Key_Control, Qt::ControlModifier);
    if (GetAsyncKeyState(VK_CONTROL) >= 0)
        GTEST_SKIP() << "this platform reports no held keys";
    const QPoint press(DropGrid::Centre(1, 1).x, DropGrid::Centre(1, 1).y);
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(press), QPointF(f.grid->viewport()->mapToGlobal(press)),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.grid->viewport(), &down);
    MoveOn(f.grid, DropGrid::Centre(1, 2), Qt::LeftButton);
    QTest::keyRelease(f.grid, Qt::Key_Control, Qt::NoModifier);
    ASSERT_EQ(loop.text, QStringLiteral("11\r\n21")) << "the drag did not run";
    EXPECT_EQ(f.grid->GetItemText(2, 2), QStringLiteral("11"));

    CursorCell::s_asked = 0;
    MoveOn(f.grid, DropGrid::Centre(3, 3), Qt::NoButton);
    EXPECT_GT(CursorCell::s_asked, 0);
}

} // namespace
