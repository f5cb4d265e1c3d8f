// The tag browser on a real runtime, driven like a user: keys typed into the
// filter, arrows, Return, Escape, mouse double clicks. Its modal loop is driven
// from a queued action.
#include "runtime/TagBrowserExt.h"
#include "tests/common/TempDir.h"
#include "tests/toolkit/RuntimeProcess.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include <functional>

namespace {

class TagBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override { ToolkitStartup(); }
    void TearDown() override { ToolkitShutdown(); }

    void Connect(const QStringList& arguments = {})
    {
        ASSERT_TRUE(m_runtime.Start(arguments));
        VtHandle handle = nullptr;
        ASSERT_EQ(ConnectRuntime(u"127.0.0.1", m_runtime.Port(), u"", 0, u"", 10, &handle), S_OK);
        ActivateConnection(handle);
    }

    // Opens the browser as the program does and lets drive act in it once it
    // shows. A dialog that drive left open is closed, and that is a failure.
    int Browse(const std::function<void()>& drive, int capacity = kTagBrowserBufferSize)
    {
        QTimer::singleShot(0, [&] {
            m_dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!m_dialog) {
                ADD_FAILURE() << "no modal dialog";
                return;
            }
            m_filter = m_dialog->findChild<QLineEdit*>();
            m_tree = m_dialog->findChild<QTreeView*>();
            m_status = m_dialog->findChild<QLabel*>(QStringLiteral("status"));
            // Keyboard focus needs an active window, which no window manager gives here.
            m_dialog->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(m_dialog));
            drive();
            if (m_dialog->isVisible()) {
                ADD_FAILURE() << "the browser is still open";
                m_dialog->reject();
            }
        });
        return TagBrowser(m_buffer, capacity, 1, 0, 0);
    }

    // What a window system delivers for a double click.
    static void DoubleClick(QWidget* widget, QPoint at)
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    }

    QString Buffer() const { return QString::fromUtf16(m_buffer); }
    QString CurrentTag() const
    {
        return m_tree->currentIndex().siblingAtColumn(0).data(Qt::ToolTipRole).toString().section(u' ', 0, 0);
    }
    QStringList RowTexts(const QModelIndex& index) const
    {
        QStringList texts;
        for (int c = 0; c < 4; ++c)
            texts << index.siblingAtColumn(c).data().toString();
        return texts;
    }

    RuntimeProcess m_runtime;
    VtChar m_buffer[kTagBrowserBufferSize] = u"untouched";
    QDialog* m_dialog = nullptr;
    QLineEdit* m_filter = nullptr;
    QTreeView* m_tree = nullptr;
    QLabel* m_status = nullptr;
};

} // namespace

TEST_F(TagBrowserTest, FiltersTheDemoPlantAndPicksWithTheKeyboard)
{
    Connect();
    const int picked = Browse([&] {
        const QAbstractItemModel* model = m_tree->model();
        ASSERT_EQ(model->rowCount(), 3);
        EXPECT_EQ(model->index(0, 0).data().toString(), "Plant");
        EXPECT_EQ(model->index(2, 0).data().toString(), "Utility");
        EXPECT_TRUE(m_status->text().endsWith(" tags")) << m_status->text().toStdString();
        EXPECT_TRUE(m_filter->hasFocus());
        EXPECT_FALSE(m_dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());

        // Type, value and quality stand beside each tag.
        QTest::keyClicks(m_filter, "sensorfault");
        EXPECT_TRUE(m_status->text().startsWith("1 of ")) << m_status->text().toStdString();
        EXPECT_EQ(RowTexts(m_tree->currentIndex()), (QStringList{"SensorFault", "real, read-only", "0", "BAD"}));
        QTest::keyClicks(m_filter, "x");
        EXPECT_TRUE(m_status->text().startsWith("0 of ")) << m_status->text().toStdString();

        // The filter matches anywhere in the full name, ignoring case, and
        // offers the first match; the arrows move from the filter box through
        // the tree, and Return on a folder only opens or closes it.
        m_filter->clear();
        QTest::keyClicks(m_filter, "TANK1.");
        EXPECT_EQ(CurrentTag(), "Plant.Tank1.Alarm.High");
        QTest::keyClick(m_filter, Qt::Key_Down);
        EXPECT_EQ(m_tree->currentIndex().data().toString(), "Inlet");
        QTest::keyClick(m_filter, Qt::Key_Return);
        QTest::keyClick(m_filter, Qt::Key_Return);
        EXPECT_TRUE(m_dialog->isVisible());
        QTest::keyClick(m_filter, Qt::Key_Down);
        EXPECT_EQ(CurrentTag(), "Plant.Tank1.Inlet.Valve");
        QTest::keyClick(m_filter, Qt::Key_Return);
    });
    EXPECT_EQ(picked, 1);
    EXPECT_EQ(Buffer(), "Plant.Tank1.Inlet.Valve");
}

TEST_F(TagBrowserTest, TabIntoTheTreeAndPickThere)
{
    Connect();
    const int picked = Browse([&] {
        QTest::keyClick(m_filter, Qt::Key_Tab);
        ASSERT_TRUE(m_tree->hasFocus());
        // The last row is the closed folder Utility.Water; Return opens it.
        QTest::keyClick(m_tree, Qt::Key_End);
        EXPECT_EQ(m_tree->currentIndex().data().toString(), "Water");
        QTest::keyClick(m_tree, Qt::Key_Return);
        QTest::keyClick(m_tree, Qt::Key_End);
        EXPECT_EQ(CurrentTag(), "Utility.Water.PumpEnable");
        QTest::keyClick(m_tree, Qt::Key_Enter);
    });
    EXPECT_EQ(picked, 1);
    EXPECT_EQ(Buffer(), "Utility.Water.PumpEnable");
}

TEST_F(TagBrowserTest, DoubleClickPicksATagAndOpensAFolder)
{
    Connect();
    const int picked = Browse([&] {
        QTest::keyClicks(m_filter, "test.");
        m_tree->collapseAll();
        const QModelIndex folder = m_tree->model()->index(0, 0);
        ASSERT_EQ(folder.data().toString(), "Test");
        DoubleClick(m_tree->viewport(), m_tree->visualRect(folder).center());
        EXPECT_TRUE(m_tree->isExpanded(folder));
        EXPECT_TRUE(m_dialog->isVisible());
        const QModelIndexList hits =
            m_tree->model()->match(m_tree->model()->index(0, 0, folder), Qt::DisplayRole, "Real");
        ASSERT_EQ(hits.size(), 1);
        const QModelIndex real = hits.front();
        DoubleClick(m_tree->viewport(), m_tree->visualRect(real).center());
    });
    EXPECT_EQ(picked, 1);
    EXPECT_EQ(Buffer(), "Test.Real");
}

TEST_F(TagBrowserTest, EscapeAndCancelLeaveTheBufferAlone)
{
    Connect();
    EXPECT_EQ(Browse([&] {
                  QTest::keyClicks(m_filter, "Test.Int");
                  QTest::keyClick(m_filter, Qt::Key_Escape);
              }),
              0);
    EXPECT_EQ(Buffer(), "untouched");
    EXPECT_EQ(Browse([&] {
                  QTest::keyClicks(m_filter, "Test.Int");
                  QPushButton* cancel = m_dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
                  QTest::mouseClick(cancel, Qt::LeftButton);
              }),
              0);
    EXPECT_EQ(Buffer(), "untouched");
    // A name that would not fit whole is not picked either.
    EXPECT_EQ(Browse(
                  [&] {
                      QTest::keyClicks(m_filter, "Test.String");
                      QTest::keyClick(m_filter, Qt::Key_Return);
                  },
                  5),
              0);
    EXPECT_EQ(Buffer(), "untouched");
}

TEST_F(TagBrowserTest, WithoutARuntimeItSaysSoAndPicksNothing)
{
    EXPECT_EQ(Browse([&] {
                  EXPECT_TRUE(m_status->text().contains("could not be read")) << m_status->text().toStdString();
                  EXPECT_EQ(m_tree->model()->rowCount(), 0);
                  QTest::keyClick(m_filter, Qt::Key_Return);
                  QTest::keyClick(m_filter, Qt::Key_Escape);
              }),
              0);
    EXPECT_EQ(Buffer(), "untouched");
    EXPECT_EQ(TagBrowser(nullptr, kTagBrowserBufferSize, 1, 0, 0), 0);
}

TEST_F(TagBrowserTest, TenThousandTagsInSeveralPages)
{
    // Long string values make the listing need more than one Browse page; the
    // browser shows their first 256 characters.
    TempDir dir;
    QString plant;
    const QString value = QString(300, u'v');
    for (int i = 0; i < 10000; ++i)
        plant += QStringLiteral("Area%1.Unit%2.Tag%3 string rw \"%4\"\n")
                     .arg(i / 100)
                     .arg(i / 10 % 10)
                     .arg(i % 10)
                     .arg(value);
    dir.Write("plant.txt", plant.toUtf8());
    Connect({"--plant", dir.File("plant.txt")});
    const int picked = Browse([&] {
        EXPECT_EQ(m_status->text(), "10000 tags");
        EXPECT_EQ(m_tree->model()->rowCount(), 100);
        QTest::keyClicks(m_filter, "area42.unit7.");
        EXPECT_EQ(m_status->text(), "10 of 10000 tags");
        EXPECT_EQ(CurrentTag(), "Area42.Unit7.Tag0");
        EXPECT_EQ(m_tree->currentIndex().siblingAtColumn(2).data().toString(), QString(256, u'v'));
        QTest::keyClick(m_filter, Qt::Key_PageDown);
        EXPECT_EQ(CurrentTag(), "Area42.Unit7.Tag9");
        QTest::keyClick(m_filter, Qt::Key_Return);
    });
    EXPECT_EQ(picked, 1);
    EXPECT_EQ(Buffer(), "Area42.Unit7.Tag9");
}
