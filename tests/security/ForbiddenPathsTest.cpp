// An expression that calls an administration function never reaches the
// runtime, by whatever way it comes into the watch grid: typed, dropped,
// toggled, read on the refresh tick, or loaded from the stored list. The
// judge is the server's own user database. Paste and Insert Copied Cells:
// tests/watch, CreateUserByPasteOrInsertCopiedCellsLeavesTheUsersAlone.
#include "MainWindowSession.h"

#include "tests/e2e/GridActions.h"

#include "tests/toolkit/ToolkitTestSupport.h"
#include "tests/watch/WatchRuntimeFixture.h"

#include "res/Resource.h"
#include "watch/CGridQuillon.h"

#include <QApplication>
#include <QMimeData>
#include <QTest>

namespace {

constexpr int Tag = CGridQuillon::ColTag;
constexpr int Value = CGridQuillon::ColValue;

// Each would change the users if it ran as root: a new administrator, root's
// password, root blocked or gone. Letter case, operators around the call and
// string literals beside it do not hide it.
const char* const kAttacks[] = {
    "CreateUser(\"eve\", \"pw-eve\", \"admins\")",
    "1 + createuser(\"eve\",\"pw-eve\",\"admins\")",
    "\"x\" + CREATEUSER(\"eve\", \"pw-eve\", \"admins\") + \"y\"",
    "SetPassword(\"root\", \"owned\")",
    "BlockUser(\"root\")",
    "RemoveUser(\"root\")",
};

class ForbiddenPaths : public WatchRuntimeFixture
{
protected:
    QPoint CellCenter(int row, int col) const
    {
        CRect rect;
        f.grid->GetCellRect(row, col, &rect);
        return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    // Text dragged in from another program and let go over a cell.
    void Drop(int row, int col, const QString& text)
    {
        f.grid->EnsureVisible(row, col);
        QMimeData data;
        data.setText(text);
        const QPoint at = CellCenter(row, col);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.grid->viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.grid->viewport(), &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.grid->viewport(), &drop);
        f.Flush();
    }

    // Toggle chosen from the context menu that the Menu key opens on the row.
    void ToggleFromMenu(int row)
    {
        f.grid->SetSelectedRange(row, Tag, row, Tag);
        f.grid->SetFocusCell(row, Tag);
        EXPECT_TRUE(ChooseFromContextMenu(*f.grid, ID_TOGGLE)) << "Toggle was not offered for row " << row;
    }

    // The users are as they were: root logs on with its password, eve never.
    void ExpectUsersUntouched(const QByteArray& before)
    {
        EXPECT_EQ(Users(), before);
        VtHandle other = nullptr;
        EXPECT_EQ(ConnectAs(u"eve", u"pw-eve", other), E_ACCESSDENIED);
        ASSERT_EQ(ConnectAs(u"root", u"pw-root", other), S_OK);
        CloseConnection(other);
    }
};

TEST_F(ForbiddenPaths, TypedDroppedToggledAndRefreshedCallsNeverRun)
{
    const QByteArray users = Users();
    for (const char* attack : kAttacks) {
        const QString text = QString::fromLatin1(attack);
        SCOPED_TRACE(attack);

        int row = f.grid->GetRowCount() - 1;
        f.Type(row, Tag, text);
        EXPECT_EQ(f.grid->GetItemText(row, Tag), text) << "typed as is";
        EXPECT_NE(f.grid->GetItemText(row, Value), QStringLiteral("1"));

        row = f.grid->GetRowCount() - 1;
        Drop(row, Tag, text);
        EXPECT_EQ(f.grid->GetItemText(row, Tag), text) << "dropped where it fell";
        EXPECT_NE(f.grid->GetItemText(row, Value), QStringLiteral("1"));

        row = f.LoadRow(text, false);
        ToggleFromMenu(row);
        EXPECT_NE(f.grid->GetItemText(row, Value), QStringLiteral("1"));

        row = f.LoadRow(text, true);
        f.grid->RefreshContinuousRows();
        EXPECT_NE(f.grid->GetItemText(row, Value), QStringLiteral("1"));
    }
    ExpectUsersUntouched(users);
}

class ForbiddenList : public MainWindowSession
{};

TEST_F(ForbiddenList, RowsLoadedFromTheStoredListNeverRun)
{
    QByteArray list = "Plant.Tank1.Level|1\r\n";
    for (const char* attack : kAttacks)
        list += QByteArray(attack) + "|1\r\n" + QByteArray(attack) + "|0\r\n";
    data.Write("DBRemoteQuillon.dat", list);
    const QByteArray users = Users();
    QString level;
    Run([&](Window& window) {
        window.OnTimer(1);
        window.OnTimer(1);
        level = window.m_Grid.GetItemText(1, Value);
    });
    EXPECT_FALSE(level.isEmpty()) << "the plain row beside them is read";
    EXPECT_EQ(Users(), users);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_EQ(data.Read("DBRemoteQuillon.dat"), list) << "the list itself is kept as it was";
}

} // namespace
