#include "EditorTestSupport.h"

#include "cells/CGridCellCombo.h"
#include "cells/CGridCellDateTime.h"
#include "cells/CInPlaceDateTime.h"
#include "cells/CInPlaceList.h"
#include "grid/CGridCtrl.h"
#include "platform/ControlStyles.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {

constexpr int kStillRunning = 7;
constexpr int kCombo = 1;
constexpr int kDate = 2;

// A grid in a running dialog, as the main window holds the watch grid. A key
// an editor lets through reaches the grid, which moves its focus cell on
// Return, and then the dialog, whose Return presses its default button and
// whose Escape closes it.
class EditorKeysInDialog : public ::testing::Test
{
protected:
    EditorKeysInDialog()
    {
        dialog.resize(420, 300);
        auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setGeometry(170, 260, 80, 30);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        grid->Create(RECT{0, 0, 420, 250}, &dialog, 5);
        for (int col = 0; col < grid->GetColumnCount(); ++col)
            grid->SetColumnWidth(col, 100);
        grid->SetCellType(2, kCombo, RUNTIME_CLASS(CGridCellCombo));
        Combo()->SetOptions({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")});
        grid->SetItemText(2, kCombo, QStringLiteral("Beta"));
        grid->SetCellType(2, kDate, RUNTIME_CLASS(CGridCellDateTime));
    }

    CGridCellCombo* Combo() const { return dynamic_cast<CGridCellCombo*>(grid->GetCell(2, kCombo)); }

    // Runs the steps inside the dialog's loop; true when the loop still ran
    // for an action queued after them.
    bool RunInDialog(const std::function<void()>& steps)
    {
        bool stillRunning = false;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            steps();
            QTimer::singleShot(0, &dialog, [&] {
                stillRunning = dialog.isVisible();
                dialog.done(kStillRunning);
            });
        });
        return dialog.exec() == kStillRunning && stillRunning;
    }

    // Starts editing a cell by keys: F2 on the grid. The combo box opens its
    // list then; it is closed so that the key under test goes to the field.
    void EditWithF2(int row, int col)
    {
        grid->SetFocusCell(row, col);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_F2);
        if (auto* list = grid->findChild<CInPlaceList*>())
            list->hidePopup();
    }

    // The editor has the keyboard; the key goes where a user's would.
    static void Press(Qt::Key key)
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key);
        Flush();
    }

    // Return ends an edit of (2, col) and moves the focus one row down, as
    // the exit key does; Escape ends the next edit where it is.
    template <typename Editor> void EndWithReturnThenEscape(int col)
    {
        EditWithF2(2, col);
        ASSERT_NE(grid->findChild<Editor*>(), nullptr);
        Press(Qt::Key_Return);
        EXPECT_EQ(grid->findChild<Editor*>(), nullptr) << "Return ends the edit";
        EXPECT_EQ(grid->GetFocusCell(), CCellID(3, col)) << "one row down, not two";

        EditWithF2(2, col);
        ASSERT_NE(grid->findChild<Editor*>(), nullptr);
        Press(Qt::Key_Escape);
        EXPECT_EQ(grid->findChild<Editor*>(), nullptr) << "Escape ends the edit";
        EXPECT_EQ(grid->GetFocusCell(), CCellID(2, col));
    }

    QDialog dialog;
    CGridCtrl* grid = new CGridCtrl(6, 4, 1, 1);
};

TEST_F(EditorKeysInDialog, ReturnAndEscapeEndAListEditAndGoNoFurther)
{
    for (const DWORD style : {DWORD(CBS_DROPDOWN), DWORD(CBS_DROPDOWNLIST)}) {
        Combo()->SetStyle(style);
        grid->SetItemText(2, kCombo, QStringLiteral("Beta"));
        const bool stillRunning = RunInDialog([&] {
            EndWithReturnThenEscape<CInPlaceList>(kCombo);
            EXPECT_EQ(grid->GetItemText(2, kCombo), QStringLiteral("Beta"));
        });
        EXPECT_TRUE(stillRunning) << "the dialog ended under the list's keys, style " << style;
    }
}

TEST_F(EditorKeysInDialog, ReturnAndEscapeEndADateTimeEditAndGoNoFurther)
{
    const bool stillRunning = RunInDialog([&] { EndWithReturnThenEscape<CInPlaceDateTime>(kDate); });
    EXPECT_TRUE(stillRunning) << "the dialog ended under the date/time editor's keys";
}

} // namespace
