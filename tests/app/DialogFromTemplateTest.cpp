#include "ModalRun.h"
#include "platform/CDialog.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "res/Resources.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The main window's template with an edit standing in for the grid, and the
// commands its buttons send.
class MainTemplateDialog : public CDialog
{
public:
    MainTemplateDialog() : CDialog(LoadDialogTemplate(IDD_QUILLONEXT_DIALOG)) {}

    QLineEdit* grid = nullptr;
    std::vector<UINT> commands;
    bool endWhileOpening = false;
    int destroyed = 0;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        grid = new QLineEdit(this);
        grid->setGeometry(GetDlgItem(IDC_GRID_PLACEHOLDER)->geometry());
        if (endWhileOpening)
            PostCommand(IDC_OK);
        return TRUE;
    }
    BOOL OnCommand(UINT id) override
    {
        commands.push_back(id);
        return CDialog::OnCommand(id);
    }
    void OnDestroy() override { ++destroyed; }
};

TEST(DialogFromTemplate, ControlsArePlacedInDialogUnitsOfTheTemplateFont)
{
    MainTemplateDialog dialog;
    RunModal(dialog, [&] {
        const CSize units = dialog.GetDialogBaseUnits();
        const QFontMetrics metrics(dialog.font());
        EXPECT_EQ(units.cy, metrics.height());
        EXPECT_EQ(units.cx,
                  (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2);
        // Close: 37, 52, 50, 14 in dialog units, rounded as MulDiv does.
        const auto round = [](int value, int unit, int divisor) { return (value * unit + divisor / 2) / divisor; };
        QWidget* close = dialog.GetDlgItem(IDC_CLOSE_BUTTON);
        EXPECT_EQ(close->x(), round(37, units.cx, 4));
        EXPECT_EQ(close->y(), round(52, units.cy, 8));
        EXPECT_EQ(close->width(), round(87, units.cx, 4) - round(37, units.cx, 4));
        EXPECT_EQ(dialog.size(), QSize(round(125, units.cx, 4), round(73, units.cy, 8)));
        EXPECT_EQ(dialog.windowTitle(), "Quillon");
        EXPECT_TRUE(close->isVisible());
        EXPECT_TRUE(close->hasFocus()) << "the first tab stop";
        EXPECT_FALSE(dialog.GetDlgItem(IDC_GRID_PLACEHOLDER)->isVisible());
        QWidget* hidden = dialog.GetDlgItem(IDC_OK);
        EXPECT_FALSE(hidden->isVisible());
        EXPECT_FALSE(hidden->isEnabled());
    });
}

TEST(DialogFromTemplate, ReturnOnTheGridKeepsTheMainTemplateOpenAndEscapeCancels)
{
    MainTemplateDialog dialog;
    bool openAfterReturn = false;
    std::size_t commandsAfterReturn = 1;
    const int result = RunModal(dialog, [&] {
        dialog.grid->setFocus();
        QTest::keyClick(dialog.grid, Qt::Key_Return);
        openAfterReturn = dialog.isVisible();
        commandsAfterReturn = dialog.commands.size();
        // The Close button sends its own command and nothing else.
        QTest::mouseClick(dialog.GetDlgItem(IDC_CLOSE_BUTTON), Qt::LeftButton);
        QTest::keyClick(dialog.grid, Qt::Key_Escape);
    });
    EXPECT_TRUE(openAfterReturn);
    EXPECT_EQ(commandsAfterReturn, 0u) << "Return falls to the hidden, disabled button 1";
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.commands, (std::vector<UINT>{IDC_CLOSE_BUTTON, IDC_CANCEL}));
    EXPECT_EQ(dialog.destroyed, 1);
}

TEST(DialogFromTemplate, ACommandPostedWhileOpeningEndsTheDialogOnceItRuns)
{
    MainTemplateDialog dialog;
    dialog.endWhileOpening = true;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.commands, std::vector<UINT>{IDC_OK});
    EXPECT_EQ(dialog.GetDlgItem(IDC_CLOSE_BUTTON), nullptr);
    // The object can run again, with fresh controls.
    dialog.endWhileOpening = false;
    EXPECT_EQ(RunModal(dialog, [&] { EXPECT_NE(dialog.GetDlgItem(IDC_CLOSE_BUTTON), nullptr); }), kLeftOpen);
    EXPECT_EQ(dialog.destroyed, 2);
}

TEST(DialogFromTemplate, WithoutATemplateThereIsNoDialog)
{
    CDialog dialog(nullptr);
    EXPECT_EQ(dialog.DoModal(), -1);
}

} // namespace
