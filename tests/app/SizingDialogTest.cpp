#include "ModalRun.h"
#include "app/CSizingDialog.h"
#include "platform/CRect.h"
#include "platform/Profile.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/common/TempDir.h"

#include <QSizeGrip>

#include <gtest/gtest.h>

namespace {

const QString kSection = QStringLiteral("Quillon");

// The main window's layout: the placeholder stands for the grid.
class LayoutDialog : public CSizingDialog
{
public:
    LayoutDialog() : CSizingDialog(LoadDialogTemplate(IDD_QUILLONEXT_DIALOG)) {}

    BOOL restored = FALSE;
    bool restoreOnInit = false;

    QWidget* Grid() const { return GetDlgItem(IDC_GRID_PLACEHOLDER); }
    QWidget* Close() const { return GetDlgItem(IDC_CLOSE_BUTTON); }
    QSize TemplateSize() const { return Pixels(0, 0, 125, 73).size(); }
    QRect Pixels(int x, int y, int cx, int cy) const
    {
        CRect rect(x, y, x + cx, y + cy);
        MapDialogRect(&rect);
        return QRect(rect.left, rect.top, rect.Width(), rect.Height());
    }
    using CSizingDialog::OnSize;

protected:
    BOOL OnInitDialog() override
    {
        CSizingDialog::OnInitDialog();
        AddSizingControl(Grid(), 1, 1);
        AddSizingControl(Close(), 3, 2);
        if (restoreOnInit)
            restored = RestoreWindowPlacement(kSection, FALSE);
        return TRUE;
    }
};

// The application's profile, pointed at a scratch file for one test.
class ProfileFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = GetProfileFileName();
        SetProfileFileName(dir.File("QuillonExt.ini"));
    }
    void TearDown() override { SetProfileFileName(m_previous); }

    TempDir dir;

private:
    QString m_previous;
};

TEST(SizingDialog, OpensEnlargedWithTheGridFillingItAndTheGripInTheCorner)
{
    LayoutDialog dialog;
    RunModal(dialog, [&] {
        const QSize base = dialog.TemplateSize();
        // Each side moves out by a fifth of the template size.
        const QSize growth(base.width() / 5 * 2, base.height() / 5 * 2);
        EXPECT_EQ(dialog.size(), base + growth);
        EXPECT_EQ(dialog.minimumSize(), base);
        EXPECT_EQ(dialog.Grid()->geometry(),
                  dialog.Pixels(7, 7, 111, 41).adjusted(0, 0, growth.width(), growth.height()));
        EXPECT_EQ(dialog.Close()->geometry(),
                  dialog.Pixels(37, 52, 50, 14).translated(growth.width() / 2, growth.height()));
        const auto* grip = dialog.findChild<QSizeGrip*>();
        ASSERT_NE(grip, nullptr);
        EXPECT_TRUE(grip->isVisible());
        EXPECT_EQ(grip->geometry().bottomRight(), dialog.rect().bottomRight());
    });
}

TEST(SizingDialog, GrowingMovesTheCentredButtonHalfAndStretchesTheGridButNeverBelowTheTemplate)
{
    LayoutDialog dialog;
    RunModal(dialog, [&] {
        const QRect grid = dialog.Grid()->geometry();
        const QRect close = dialog.Close()->geometry();
        dialog.resize(dialog.size() + QSize(100, 40));
        EXPECT_EQ(dialog.Close()->geometry(), close.translated(50, 40));
        EXPECT_EQ(dialog.Grid()->geometry(), grid.adjusted(0, 0, 100, 40));

        // A minimised window reports no useful size; the layout stays.
        dialog.OnSize(SIZE_MINIMIZED, 0, 0);
        EXPECT_EQ(dialog.Grid()->geometry(), grid.adjusted(0, 0, 100, 40));

        dialog.resize(10, 10);
        EXPECT_EQ(dialog.size(), dialog.TemplateSize());
        EXPECT_EQ(dialog.Grid()->geometry(), dialog.Pixels(7, 7, 111, 41));
        EXPECT_EQ(dialog.Close()->geometry(), dialog.Pixels(37, 52, 50, 14));
    });
}

TEST(SizingDialog, RegistrationNeedsAWindowAStartedLayoutAndAPercentage)
{
    LayoutDialog dialog;
    QWidget child(&dialog);
    EXPECT_EQ(dialog.AddSizingControl(&child, 1, 1), nullptr) << "sizing has not started";
    RunModal(dialog, [&] {
        EXPECT_EQ(dialog.AddSizingControl(nullptr, 1, 1), nullptr);
        EXPECT_EQ(dialog.AddSizingControl(&child, 0, 4), nullptr) << "modes that stay are no entry";
        child.setGeometry(10, 10, 20, 20);
        // Registered after the opening enlargement, a window is placed for it at once.
        const int grown = dialog.height() - dialog.TemplateSize().height();
        ASSERT_NE(dialog.AddSizingControlPercent(&child, 0, 0, 0, 100), nullptr);
        EXPECT_EQ(child.geometry(), QRect(10, 10, 20, 20 + grown));
        dialog.resize(dialog.size() + QSize(30, 30));
        EXPECT_EQ(child.geometry(), QRect(10, 10, 20, 50 + grown));
    });
    EXPECT_EQ(dialog.findChild<QSizeGrip*>(), nullptr) << "the grip goes with the window";
}

using WindowPlacement = ProfileFixture;

TEST_F(WindowPlacement, StoredPlacementComesBackOnTheNextOpening)
{
    LayoutDialog first;
    EXPECT_FALSE(first.StoreWindowPlacement(kSection)) << "sizing has not started";
    BOOL stored = FALSE;
    RunModal(first, [&] {
        first.setGeometry(40, 30, 400, 300);
        stored = first.StoreWindowPlacement(kSection);
    });
    EXPECT_TRUE(stored);
    EXPECT_EQ(GetProfileIntW(kSection, "(check)", 0), 32639u);
    EXPECT_EQ(GetProfileIntW(kSection, "Left", 0), 40u);
    EXPECT_EQ(GetProfileIntW(kSection, "Right", 0), 440u);
    EXPECT_EQ(GetProfileIntW(kSection, "Top", 0), 30u);
    EXPECT_EQ(GetProfileIntW(kSection, "Bottom", 0), 330u);
    EXPECT_EQ(GetProfileIntW(kSection, "State", 0), 1u);

    LayoutDialog second;
    second.restoreOnInit = true;
    QRect geometry, grid;
    RunModal(second, [&] {
        geometry = second.geometry();
        grid = second.Grid()->geometry();
    });
    EXPECT_TRUE(second.restored);
    EXPECT_EQ(geometry, QRect(40, 30, 400, 300));
    EXPECT_EQ(grid.size(), second.Pixels(7, 7, 111, 41).size() + QSize(400, 300) - second.TemplateSize());
}

TEST_F(WindowPlacement, AnInterruptedOrMissingRecordRestoresNothing)
{
    for (const char* check : std::initializer_list<const char*>{"-32640", nullptr}) {
        dir.Write("QuillonExt.ini", QByteArray("[Quillon]\r\n") +
                                        (check ? QByteArray("(check)=") + check + "\r\n" : "") +
                                        "Left=5\r\nRight=505\r\nTop=5\r\nBottom=405\r\n");
        LayoutDialog enlarged;
        QRect opened;
        RunModal(enlarged, [&] { opened = enlarged.geometry(); });
        LayoutDialog dialog;
        dialog.restoreOnInit = true;
        QRect geometry;
        RunModal(dialog, [&] { geometry = dialog.geometry(); });
        EXPECT_FALSE(dialog.restored) << (check ? check : "no (check)");
        EXPECT_EQ(geometry, opened);
    }
}

TEST_F(WindowPlacement, ADamagedRecordStillGivesAReachableWindowOfAtLeastTheTemplateSize)
{
    dir.Write("QuillonExt.ini", "[quillon]\n(CHECK)=32639\nleft=90000\nright=-7\ntop=90000\nbottom=90001\n");
    LayoutDialog dialog;
    dialog.restoreOnInit = true;
    QRect geometry;
    RunModal(dialog, [&] { geometry = dialog.geometry(); });
    EXPECT_TRUE(dialog.restored);
    EXPECT_EQ(geometry.size(), dialog.TemplateSize());
    EXPECT_TRUE(dialog.screen()->availableGeometry().intersects(geometry));
}

TEST_F(WindowPlacement, AFailedWriteIsReportedAndNeverLeavesACompleteRecord)
{
    SetProfileFileName(dir.File("missing/QuillonExt.ini"));
    LayoutDialog dialog;
    BOOL stored = TRUE;
    RunModal(dialog, [&] { stored = dialog.StoreWindowPlacement(kSection); });
    EXPECT_FALSE(stored);
    EXPECT_NE(GetProfileIntW(kSection, "(check)", 0), 32639u);
}

} // namespace
