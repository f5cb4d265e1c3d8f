#include "ModalRun.h"
#include "app/CCheckCredentialDlg.h"
#include "app/CQuillonExtApp.h"
#include "app/CQuillonExtDlg.h"
#include "app/CUserGuideWindow.h"
#include "cells/CGridCellCheck.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/TickCount.h"
#include "res/Resource.h"
#include "tests/common/TempDir.h"
#include "tests/toolkit/RuntimeProcess.h"
#include "trend/CTrendWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTimerEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The main window with its timer handler reachable, so that tests tick it
// themselves instead of waiting for the clock.
class MainWindow : public CQuillonExtDlg
{
public:
    explicit MainWindow(const QString& dataFolder)
        : CQuillonExtDlg(AfxGetApp()->m_strUserName, AfxGetApp()->m_strPassword)
    {
        m_strDataFolder = dataFolder;
    }
    using CQuillonExtDlg::OnTimer;
};

QString HashPassword(const QString& password)
{
    QProcess hasher;
    hasher.start(RuntimeProcess::Executable(), {"--hash-password", "--iterations", "1000"});
    hasher.write(password.toUtf8());
    hasher.closeWriteChannel();
    hasher.waitForFinished(10000);
    return QString::fromUtf8(hasher.readAllStandardOutput()).trimmed();
}

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(ToolkitStartup(), 0);
        app.m_strIniPath = program.File("QuillonExt.ini");
        app.m_strUserIniPath = data.File("QuillonExt.ini");
        SetProfileFileName(app.m_strUserIniPath);
        AfxSetResourceHandle(GetExecutableModule());
        previousHandler = SetMessageBoxHandler([this](const QString& text, const QString&, UINT) {
            messages << text;
            return IDOK;
        });
        previousTicks = SetTickSource([this] { return now; });
    }

    void TearDown() override
    {
        SetMessageBoxHandler(previousHandler);
        SetTickSource(previousTicks);
        ToolkitShutdown();
    }

    void UseRuntime(const RuntimeProcess& runtime, const QString& server = QStringLiteral("127.0.0.1"))
    {
        app.m_strDsIp = server;
        app.m_nDsPort = runtime.Port();
    }

    // A real server on a free port for the window to connect to.
    bool StartServer()
    {
        if (!server.Start())
            return false;
        UseRuntime(server);
        return true;
    }

    // Opens the window, runs the action inside its modal loop, and closes it.
    int Run(
        MainWindow& window, const std::function<void()>& action = [] {})
    {
        return RunModal(window, [&] {
            action();
            window.EndDialog(IDOK);
        });
    }

    CQuillonExtApp app;
    RuntimeProcess server;
    TempDir program, data;
    QStringList messages;
    MessageBoxHandler previousHandler;
    TickSource previousTicks;
    std::uint64_t now = 1000000;
};

TEST_F(MainWindowTest, TheTitleNamesTheServer)
{
    RuntimeProcess runtime;
    ASSERT_TRUE(runtime.Start());
    for (const char* server : {"localhost", "LocalHost", ""}) {
        UseRuntime(runtime, server);
        MainWindow window(data.Path());
        QString title;
        Run(window, [&] { title = window.windowTitle(); });
        EXPECT_EQ(title, "Quillon: <LOCAL>") << server;
    }
    UseRuntime(runtime, "127.0.0.1");
    MainWindow window(data.Path());
    QString title;
    Run(window, [&] { title = window.windowTitle(); });
    EXPECT_EQ(title, "Quillon: <127.0.0.1>");
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

TEST_F(MainWindowTest, AServerDownAtStartShowsOneMessageAndCloses)
{
    app.m_strDsIp = "localhost";
    app.m_nDsPort = 1; // nothing listens there
    MainWindow window(data.Path());
    bool opened = false;
    EXPECT_EQ(RunModal(window, [&] { opened = true; }), IDOK);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Error connecting to 'LOCAL' (-")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].endsWith("Please make sure that 'TCP/IP Server' is running on the remote station."));
    EXPECT_EQ(window.m_nTimerId, 0);
}

TEST_F(MainWindowTest, TheLostConnectionShowsInTheTitleAndReconnectsAtMostEveryTenSeconds)
{
    RuntimeProcess runtime;
    ASSERT_TRUE(runtime.Start());
    UseRuntime(runtime);
    const quint16 port = runtime.Port();
    MainWindow window(data.Path());
    Run(window, [&] {
        window.OnTimer(1); // the first tick of the run starts the reconnection clock
        runtime.Kill();
        window.OnTimer(1);
        EXPECT_EQ(window.windowTitle(), "Quillon: <127.0.0.1> - Disconnected");
        EXPECT_FALSE(window.m_bConnected);

        ASSERT_TRUE(runtime.Start({}, port));
        now += 10000; // not more than 10000 ms since the first tick: no attempt yet
        window.OnTimer(1);
        EXPECT_FALSE(window.m_bConnected);
        now += 1;
        window.OnTimer(1);
        EXPECT_TRUE(window.m_bConnected);
        EXPECT_EQ(window.windowTitle(), "Quillon: <127.0.0.1>");

        // A failed attempt starts the ten seconds again, and HTTPPolling is read
        // before every attempt.
        runtime.Kill();
        window.OnTimer(1);
        EXPECT_FALSE(window.m_bConnected);
        now += 20000;
        window.OnTimer(1); // fails: the server is gone
        program.Write("QuillonExt.ini", "[Options]\r\nHTTPPolling=3\r\n");
        ASSERT_TRUE(runtime.Start({}, port));
        now += 10000;
        window.OnTimer(1);
        EXPECT_FALSE(window.m_bConnected);
        now += 1;
        window.OnTimer(1);
        EXPECT_TRUE(window.m_bConnected);
        EXPECT_EQ(window.windowTitle().count("Disconnected"), 0);
    });
    EXPECT_TRUE(messages.isEmpty()) << "reconnection is silent";
}

class LoginTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        const QString users = QStringLiteral("group operators read,write\ngroup guests -\n"
                                             "user olga operators %1\nuser gus guests %2\n")
                                  .arg(HashPassword("pw-olga"), HashPassword("pw-gus"));
        program.Write("users.txt", users.toUtf8());
        ASSERT_TRUE(runtime.Start({"--users", program.File("users.txt")}));
        UseRuntime(runtime);
    }

    // Opens the window and answers the credential dialog with the given texts,
    // or cancels it when user is null. The answer and the closing are driven
    // by a poller, since the credential dialog runs inside the window's opening.
    bool OpenAnswering(const char* user, const char* password)
    {
        MainWindow window(data.Path());
        bool connected = false;
        int polls = 0;
        QTimer poller;
        poller.setInterval(20);
        QObject::connect(&poller, &QTimer::timeout, [&] {
            if (++polls > 500) { // ten seconds: give up rather than hang
                poller.stop();
                window.EndDialog(IDCANCEL);
                return;
            }
            auto* credentials = qobject_cast<CCheckCredentialDlg*>(QApplication::activeModalWidget());
            if (credentials && credentials->isVisible()) {
                const auto edits = credentials->findChildren<QLineEdit*>();
                if (!user || edits.size() < 2) {
                    QTest::keyClick(credentials, Qt::Key_Escape);
                    return;
                }
                edits[0]->setText(user);
                edits[1]->setText(password);
                EXPECT_EQ(edits[1]->echoMode(), QLineEdit::Password);
                QTest::keyClick(credentials, Qt::Key_Return);
                return;
            }
            if (window.isVisible()) {
                connected = window.m_bConnected;
                window.EndDialog(IDOK);
            }
        });
        poller.start();
        window.DoModal();
        return connected;
    }

    RuntimeProcess runtime;
};

TEST_F(LoginTest, TheCredentialDialogAsksWhenNoUserNameWasGiven)
{
    EXPECT_TRUE(OpenAnswering("olga", "pw-olga"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LoginTest, CancelAndRefusedCredentialsEndWithTheirMessages)
{
    EXPECT_FALSE(OpenAnswering(nullptr, nullptr));
    EXPECT_EQ(messages, QStringList{"Invalid Credential"});
    messages.clear();
    EXPECT_FALSE(OpenAnswering("olga", "wrong"));
    EXPECT_EQ(messages, QStringList{"Invalid Credential"});
    messages.clear();
    EXPECT_FALSE(OpenAnswering("gus", "pw-gus"));
    EXPECT_EQ(messages, QStringList{"User access to resource denied.\nPlease check your user groups permission."});
}

TEST_F(LoginTest, AUserNameFromTheCommandLineSkipsTheDialog)
{
    app.m_strUserName = "olga";
    app.m_strPassword = "pw-olga";
    MainWindow window(data.Path());
    bool connected = false;
    RunModal(window, [&] { connected = window.m_bConnected; });
    EXPECT_TRUE(connected);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MainWindowTest, AlwaysOnTopIsReadAtOpeningAndWrittenAtEachToggle)
{
    ASSERT_TRUE(StartServer());
    data.Write("QuillonExt.ini", "[Options]\r\nAlwaysOnTop=1\r\n");
    MainWindow window(data.Path());
    Run(window, [&] {
        EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        window.OnSysCommand(CQuillonExtDlg::IDM_ALWAYSONTOP);
        EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(GetPrivateProfileIntW("Options", "AlwaysOnTop", 7, data.File("QuillonExt.ini")), 0u);
    });
}

// Alt+Space on whatever has the keyboard focus opens the window's own menu;
// the key then chooses in it, as a user's would. A menu left open is closed
// rather than left to hang the test.
void ChooseInWindowMenu(QWidget& window, Qt::Key key)
{
    QTimer::singleShot(0, [key] {
        QWidget* menu = QApplication::activePopupWidget();
        if (!menu)
            return;
        QTest::keyClick(menu, key);
        if (menu->isVisible())
            menu->close();
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space, Qt::AltModifier);
    // A window manager gives the activation back when the menu closes; the
    // offscreen platform does not.
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; }));
}

TEST_F(MainWindowTest, AlwaysOnTopFromTheWindowMenuKeepsTheWindowOpenAsItWas)
{
    ASSERT_TRUE(StartServer());
    data.Write("DBRemoteQuillon.dat", "Plant.Tank1.Level|1\r\n");
    const QString ini = data.File("QuillonExt.ini");
    MainWindow window(data.Path());
    QAction* item = nullptr;
    QRect placed;
    bool secondActionRan = false;
    // Both toggles are made from inside the window's own loop; the loop must
    // still be running for the action queued after them.
    QTimer::singleShot(0, &window, [&] {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        ASSERT_NE(window.GetSystemMenu(), nullptr);
        for (QAction* action : window.GetSystemMenu()->actions()) {
            if (action->text() == "Always on &Top")
                item = action;
        }
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->isChecked());
        placed = window.geometry();

        ChooseInWindowMenu(window, Qt::Key_T);
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(item->isChecked());
        EXPECT_EQ(GetPrivateProfileIntW("Options", "AlwaysOnTop", 7, ini), 1u);

        ChooseInWindowMenu(window, Qt::Key_T);
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(item->isChecked());
        EXPECT_EQ(GetPrivateProfileIntW("Options", "AlwaysOnTop", 7, ini), 0u);

        QTimer::singleShot(0, &window, [&] {
            secondActionRan = true;
            EXPECT_TRUE(window.isVisible());
            EXPECT_EQ(window.geometry(), placed);
            EXPECT_EQ(QApplication::focusWidget(), &window.m_Grid);
            EXPECT_EQ(window.m_Grid.GetItemText(1, CGridQuillon::ColTag), "Plant.Tank1.Level");
            window.EndDialog(IDOK);
        });
    });
    EXPECT_EQ(window.DoModal(), IDOK);
    EXPECT_TRUE(secondActionRan) << "the window's loop ended with the toggle";
}

TEST_F(MainWindowTest, ReturnLeavesTheWindowOpenAndEscapeClosesIt)
{
    ASSERT_TRUE(StartServer());
    MainWindow window(data.Path());
    bool openAfterReturn = false;
    const int result = RunModal(window, [&] {
        ASSERT_TRUE(window.m_Grid.hasFocus());
        QTest::keyClick(&window.m_Grid, Qt::Key_Return);
        openAfterReturn = window.isVisible();
        QTest::keyClick(&window.m_Grid, Qt::Key_Escape);
    });
    EXPECT_TRUE(openAfterReturn);
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(MainWindowTest, GrowingTheWindowMovesTheCloseButtonByHalf)
{
    ASSERT_TRUE(StartServer());
    MainWindow window(data.Path());
    Run(window, [&] {
        QWidget* close = window.GetDlgItem(8);
        ASSERT_NE(close, nullptr);
        const QPoint before = close->pos();
        const QSize grid = window.m_Grid.size();
        window.resize(window.size() + QSize(100, 40));
        EXPECT_EQ(close->pos() - before, QPoint(50, 40));
        EXPECT_EQ(window.m_Grid.size(), grid + QSize(100, 40));

        window.resize(1, 1);
        EXPECT_FALSE(window.minimumSize().isEmpty());
        EXPECT_EQ(window.size(), window.minimumSize()) << "never smaller than its template";
    });
}

TEST_F(MainWindowTest, ThePlacementOfOneRunIsRestoredInTheNextUnlessItsRecordIsIncomplete)
{
    ASSERT_TRUE(StartServer());
    const QRect placed(60, 50, 700, 500);
    {
        MainWindow first(data.Path());
        Run(first, [&] { first.setGeometry(placed); });
    }
    MainWindow second(data.Path());
    QRect restored;
    Run(second, [&] { restored = second.geometry(); });
    EXPECT_EQ(restored, placed);

    // A record whose writing was cut off (its check still the writing mark) is ignored.
    const QString ini = data.File("QuillonExt.ini");
    ASSERT_TRUE(WritePrivateProfileStringW("Quillon", "(check)", "-32640", ini));
    MainWindow third(data.Path());
    QRect opened;
    Run(third, [&] { opened = third.geometry(); });
    EXPECT_NE(opened, placed);
}

bool IsContinuous(const CGridQuillon& grid, int row)
{
    const auto* check = dynamic_cast<const CGridCellCheck*>(grid.GetCell(row, CGridQuillon::ColContinuous));
    return check && check->GetCheck();
}

TEST_F(MainWindowTest, TheWatchListLoadsUpToTheFirstEmptyLineAndIsSavedAsLoaded)
{
    ASSERT_TRUE(StartServer());
    data.Write("DBRemoteQuillon.dat", "A|1\r\nB|0\r\n\r\nC|1\r\n");
    MainWindow window(data.Path());
    Run(window, [&] {
        const CGridQuillon& grid = window.m_Grid;
        ASSERT_EQ(grid.GetRowCount(), 4); // header, A, B, the entry row
        EXPECT_EQ(grid.GetItemText(0, 0), "Tag/Expression");
        EXPECT_EQ(grid.GetItemText(1, 0), "A");
        EXPECT_TRUE(IsContinuous(grid, 1));
        EXPECT_EQ(grid.GetItemText(2, 0), "B");
        EXPECT_FALSE(IsContinuous(grid, 2));
        EXPECT_EQ(grid.GetItemText(3, 0), "");
    });
    EXPECT_EQ(data.Read("DBRemoteQuillon.dat"), "A|1\r\nB|0\r\n");
}

TEST_F(MainWindowTest, AnEmptyTextIsSavedAsABareFlag)
{
    ASSERT_TRUE(StartServer());
    data.Write("DBRemoteQuillon.dat", "|0\r\nB|1\r\n");
    MainWindow window(data.Path());
    Run(window);
    EXPECT_EQ(data.Read("DBRemoteQuillon.dat"), "|0\r\nB|1\r\n");
}

TEST_F(MainWindowTest, AnOpeningThatFailsLeavesTheStoredListAlone)
{
    const QByteArray stored = "A|1\r\n\r\nnot a row\r\n";
    data.Write("DBRemoteQuillon.dat", stored);
    app.m_strDsIp = "localhost";
    app.m_nDsPort = 1; // nothing listens there
    MainWindow window(data.Path());
    RunModal(window, [] {});
    EXPECT_EQ(data.Read("DBRemoteQuillon.dat"), stored);
}

TEST_F(MainWindowTest, StoredColumnWidthsAreUsedAndWrittenBackOnClosing)
{
    ASSERT_TRUE(StartServer());
    data.Write("QuillonExt.ini", "[Quillon]\r\nCol1=200\r\n");
    MainWindow window(data.Path());
    Run(window, [&] {
        EXPECT_EQ(window.m_Grid.GetColumnWidth(0), 200);
        EXPECT_EQ(window.m_Grid.GetColumnWidth(1), 47);
        window.m_Grid.SetColumnWidth(3, 120);
    });
    const QString ini = data.File("QuillonExt.ini");
    EXPECT_EQ(GetPrivateProfileIntW("Quillon", "Col1", 0, ini), 200u);
    EXPECT_EQ(GetPrivateProfileIntW("Quillon", "Col4", 0, ini), 120u);
}

TEST_F(MainWindowTest, ClosingWhileDisconnectedSavesTheListButNotTheLayout)
{
    ASSERT_TRUE(StartServer());
    MainWindow window(data.Path());
    Run(window, [&] {
        window.m_Grid.SetItemText(1, CGridQuillon::ColTag, "Plant.Tank1.Level");
        window.m_Grid.InsertWatchRow(-1);
        window.m_Grid.SetColumnWidth(0, 150);
        window.MarkDisconnected();
        EXPECT_TRUE(window.windowTitle().endsWith(" - Disconnected"));
    });
    EXPECT_EQ(data.Read("DBRemoteQuillon.dat"), "Plant.Tank1.Level|0\r\n");
    const QByteArray ini = data.Read("QuillonExt.ini");
    EXPECT_FALSE(ini.contains("Col1")) << ini.toStdString();
    EXPECT_FALSE(ini.contains("(check)")) << ini.toStdString();
}

TEST_F(MainWindowTest, EachTickReadsTheContinuousRowsOfTheLoadedList)
{
    ASSERT_TRUE(StartServer());
    data.Write("DBRemoteQuillon.dat", "Plant.Tank2.Product|1\r\nPlant.Pump1.Speed|0\r\n");
    MainWindow window(data.Path());
    Run(window, [&] {
        EXPECT_EQ(window.m_Grid.GetItemText(1, CGridQuillon::ColValue), "") << "loading evaluates nothing";
        window.OnTimer(1);
        EXPECT_EQ(window.m_Grid.GetItemText(1, CGridQuillon::ColValue), "Water");
        EXPECT_EQ(window.m_Grid.GetItemText(1, CGridQuillon::ColQuality), "GOOD");
        EXPECT_EQ(window.m_Grid.GetItemText(2, CGridQuillon::ColValue), "") << "only Continuous rows are read";
    });
}

// The keys go wherever the keyboard focus is, as a user's would.
void PressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "nothing has the keyboard focus";
    QTest::keyClick(focus, key, modifiers);
}

TEST_F(MainWindowTest, AfterLoadingAListTheGridHasTheFocusAtItsFirstRowWhateverTheLength)
{
    ASSERT_TRUE(StartServer());
    for (const int rows : {3, 50000}) {
        QByteArray list;
        for (int i = 0; i < rows; ++i)
            list += "Plant.Tag" + QByteArray::number(i) + "|0\r\n";
        data.Write("DBRemoteQuillon.dat", list);
        MainWindow window(data.Path());
        Run(window, [&] {
            CGridQuillon& grid = window.m_Grid;
            ASSERT_EQ(grid.GetRowCount(), rows + 2);
            EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 0)) << rows;
            EXPECT_EQ(QApplication::focusWidget(), &grid) << rows;
            PressOnFocus(Qt::Key_Down);
            EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 0)) << rows;
            PressOnFocus(Qt::Key_End, Qt::ControlModifier);
            EXPECT_EQ(grid.GetFocusCell(), CCellID(rows + 1, 3)) << rows;
            PressOnFocus(Qt::Key_Home, Qt::ControlModifier);
            EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 0)) << rows;
            EXPECT_TRUE(window.isVisible()) << rows;
        });
    }
}

// Drives the runtime's tag browser once it is the open dialog: 'during' runs
// while it is open, then the filter gets the tag's name and Return picks it.
void PickInBrowser(const QWidget& window, const QString& tag, const std::function<void()>& during, int polls = 500)
{
    QTimer::singleShot(10, [&window, tag, during, polls] {
        auto* browser = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!browser || browser == &window) {
            if (polls > 0)
                PickInBrowser(window, tag, during, polls - 1);
            else
                ADD_FAILURE() << "the tag browser did not open";
            return;
        }
        QLineEdit* filter = browser->findChild<QLineEdit*>();
        during();
        if (filter) {
            QTest::keyClicks(filter, tag);
            QTest::keyClick(filter, Qt::Key_Return);
        }
        if (browser->isVisible()) {
            ADD_FAILURE() << "the tag browser picked nothing";
            browser->reject();
        }
    });
}

void DoubleClickCell(CGridQuillon& grid, int row, int col)
{
    CRect rect;
    grid.GetCellRect(row, col, &rect);
    const QPoint centre((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre);
    // Past the double-click time, so that the next press pair is one double-click.
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centre, 1000);
}

// The runtime's server, killed while the tag browser is open; a refresh then
// finds the loss, as the window's timer does.
class BrowserLossTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(StartServer());
    }

    // In a running window: 'open' opens the browser, the loss comes while it
    // is open, and the tag is picked. Either way the pick lands in row 1.
    void PickLosingTheConnection(MainWindow& window, const QString& tag, const std::function<void()>& open)
    {
        const CGridQuillon& grid = window.m_Grid;
        window.OnTimer(1);
        PickInBrowser(window, tag, [&] {
            server.Kill();
            window.OnTimer(1);
            EXPECT_EQ(window.windowTitle(), kDisconnected);
        });
        open();
        EXPECT_EQ(window.windowTitle(), kDisconnected) << "marked once";
        EXPECT_EQ(grid.GetItemText(1, CGridQuillon::ColTag), tag);
        EXPECT_EQ(grid.GetItemText(1, CGridQuillon::ColValue), "") << "not read on the closed connection";
        EXPECT_EQ(grid.GetRowCount(), 3);
        EXPECT_EQ(grid.GetItemText(grid.GetRowCount() - 1, CGridQuillon::ColTag), "") << "an empty row follows";
    }

    const QString kDisconnected = "Quillon: <127.0.0.1> - Disconnected";
};

TEST_F(BrowserLossTest, APickWhoseCommitIsRefusedKeepsItsRowAnEmptyRowAfterItAndIsSaved)
{
    MainWindow window(data.Path());
    Run(window, [&] {
        PickLosingTheConnection(window, "Plant.Tank1.Level",
                                [&] { DoubleClickCell(window.m_Grid, 1, CGridQuillon::ColTag); });
    });
    EXPECT_EQ(data.Read("DBRemoteQuillon.dat"), "Plant.Tank1.Level|0\r\n");
}

TEST_F(BrowserLossTest, InsertTagAfterARefreshMarkedTheLossMarksNothingMore)
{
    MainWindow window(data.Path());
    Run(window,
        [&] { PickLosingTheConnection(window, "Plant.Pump1.Speed", [&] { window.m_Grid.OnCommand(ID_INSERT_TAG); }); });
}

TEST_F(MainWindowTest, ALastRowThatHoldsATextIsSaved)
{
    ASSERT_TRUE(StartServer());
    MainWindow window(data.Path());
    Run(window, [&] { window.m_Grid.SetItemText(1, CGridQuillon::ColTag, "Plant.Tank2.Product"); });
    EXPECT_EQ(data.Read("DBRemoteQuillon.dat"), "Plant.Tank2.Product|0\r\n");
}

TEST_F(MainWindowTest, F1OpensTheUserGuide)
{
    ASSERT_TRUE(StartServer());
    MainWindow window(data.Path());
    QString title;
    Run(window, [&] {
        QTest::keyClick(&window.m_Grid, Qt::Key_F1);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* guide = qobject_cast<CUserGuideWindow*>(top); guide && guide->isVisible())
                title = guide->windowTitle();
        }
    });
    EXPECT_EQ(title, "Quillon user guide");
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

TEST_F(MainWindowTest, TheWindowMenusTrendIsFedByTheTickAndClosesWithTheWindow)
{
    ASSERT_TRUE(StartServer());
    data.Write("DBRemoteQuillon.dat", "Plant.Tank1.Level|1\r\nPlant.Tank2.Product|1\r\n");
    MainWindow window(data.Path());
    QPointer<CTrendWindow> trend;
    Run(window, [&] {
        QAction* item = nullptr;
        for (QAction* action : window.GetSystemMenu()->actions()) {
            if (action->text().startsWith(QStringLiteral("T&rend")))
                item = action;
        }
        ASSERT_NE(item, nullptr);
        item->trigger();
        trend = window.findChild<CTrendWindow*>();
        ASSERT_NE(trend, nullptr);
        EXPECT_TRUE(trend->isVisible());
        EXPECT_EQ(trend->Labels(), (QStringList{"Plant.Tank1.Level", "Plant.Tank2.Product"}));
        // Two ticks of the window's own timer: each feeds one sample, read by
        // the refresh; the text tag is a gap.
        for (int tick = 0; tick < 2; ++tick) {
            QTimerEvent event(window.m_nTimerId);
            QCoreApplication::sendEvent(&window, &event);
        }
        const auto& series = trend->Series();
        ASSERT_EQ(series[0]->Count(), 2);
        EXPECT_GE(series[0]->At(1).value, 20.0);
        EXPECT_LE(series[0]->At(1).value, 80.0);
        EXPECT_EQ(series[1]->At(1).quality, TrendQuality::Good);
        EXPECT_TRUE(std::isnan(series[1]->At(1).value));
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(trend.isNull()) << "the trend closes with the main window";
    EXPECT_GT(GetPrivateProfileIntW("Trend", "Width", 0, data.File("QuillonExt.ini")), 0u);
}

} // namespace
