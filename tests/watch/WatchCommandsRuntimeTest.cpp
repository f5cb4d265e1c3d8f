// Pasted and inserted clipboard text against a real VantelRuntime: an
// administration function that arrives through the clipboard never runs.
#include "WatchRuntimeFixture.h"

#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "watch/CGridQuillon.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

namespace {

constexpr int Tag = CGridQuillon::ColTag;
constexpr int Value = CGridQuillon::ColValue;

class WatchClipboardRuntime : public WatchRuntimeFixture
{};

TEST_F(WatchClipboardRuntime, CreateUserByPasteOrInsertCopiedCellsLeavesTheUsersAlone)
{
    // The call itself would work: the grid is what keeps it from running.
    ASSERT_EQ(tk::Evaluate(QStringLiteral("CreateUser(\"ctl\", \"pw\", \"admins\")")), QStringLiteral("1"));
    const QByteArray users = Users();
    const QString invalid = LoadResString(IDS_INVALID_EXPRESSION);

    QGuiApplication::clipboard()->setText(QStringLiteral("CreateUser(\"x\",\"y\",\"admins\")\r\n"));
    f.grid->SetSelectedRange(1, Tag, 1, Tag);
    f.grid->SetFocusCell(1, Tag);
    QTest::keyClick(f.grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.grid->GetItemText(1, Value), invalid);

    QGuiApplication::clipboard()->setText(
        QStringLiteral("Plant.Tank1.Level\r\ncreateuser(\"x\", \"y\", \"admins\")\t1\r\n"));
    f.grid->SetFocusCell(1, Tag);
    f.grid->OnCommand(ID_INSERT_COPIED_CELLS);
    ASSERT_TRUE(f.grid->GetItemText(2, Tag).startsWith(QStringLiteral("createuser")));
    EXPECT_NE(f.grid->GetItemText(1, Value), invalid) << "the plain tag beside it is read";
    EXPECT_EQ(f.grid->GetItemText(3, Value), invalid) << "the pasted row, moved down";

    EXPECT_EQ(Users(), users);
    VtHandle x = nullptr;
    EXPECT_EQ(ConnectAs(u"x", u"y", x), E_ACCESSDENIED);
}

} // namespace
