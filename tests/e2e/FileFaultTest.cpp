// What the user keeps when saving goes wrong: the program killed in the middle
// of saving a large list, writes failing at each stage as on a full or
// read-only disk (made to fail in the file layer, since CI runs as root), and
// a data folder that is not there. Every time each file is either the old one
// or the new one, complete, and the user is not bothered with a message.
#include "tests/app/ModalRun.h"
#include "tests/e2e/GridActions.h"
#include "tests/e2e/VictimLists.h"
#include "tests/security/MainWindowSession.h"

#include "platform/FileStore.h"
#include "platform/Profile.h"
#include "watch/CGridQuillon.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <random>

namespace {

using Stage = FileStore::WriteStage;

const QByteArray kList = "Plant.Tank1.Level|1\r\nPlant.Pump1.Running|0\r\n";
const QByteArray kUserIni = "[Quillon]\r\nCol1=150\r\nCol2=90\r\nCol3=90\r\nCol4=40\r\n[Options]\r\nAlwaysOnTop=0\r\n";

class FileFault : public MainWindowSession
{
protected:
    void SetUp() override
    {
        MainWindowSession::SetUp();
        data.Write("DBRemoteQuillon.dat", kList);
        data.Write("QuillonExt.ini", kUserIni);
    }

    void TearDown() override
    {
        FileStore::SetWriteFault({});
        MainWindowSession::TearDown();
    }

    // The things a session changes: a row typed, a column widened, Always on
    // Top turned on; closing writes the list, the widths and the placement.
    static void ChangeEverything(Window& window)
    {
        window.OnTimer(1);
        CGridQuillon& grid = window.m_Grid;
        TypeInto(grid, grid.GetRowCount() - 1, CGridQuillon::ColTag, QStringLiteral("Plant.Tank2.Product"));
        grid.SetColumnWidth(0, 222);
        window.OnSysCommand(CQuillonExtDlg::IDM_ALWAYSONTOP);
    }

    QStringList Files() const { return QDir(data.Path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

TEST_F(FileFault, AWriteFailingAtAnyStageLeavesEveryFileAsItWasAndSaysNothing)
{
    for (const Stage stage : {Stage::Open, Stage::Write, Stage::Commit}) {
        SCOPED_TRACE(int(stage));
        QStringList failed;
        FileStore::SetWriteFault([&](Stage at, const QString& path) {
            if (at == stage)
                failed << QFileInfo(path).fileName();
            return at == stage;
        });
        Run(ChangeEverything);
        FileStore::SetWriteFault({});

        EXPECT_TRUE(failed.contains("DBRemoteQuillon.dat"));
        EXPECT_TRUE(failed.contains("QuillonExt.ini"));
        EXPECT_EQ(data.Read("DBRemoteQuillon.dat"), kList);
        EXPECT_EQ(data.Read("QuillonExt.ini"), kUserIni);
        EXPECT_EQ(Files(), QStringList({"DBRemoteQuillon.dat", "QuillonExt.ini"})) << "no piece of a new file stays";
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    }

    // The same session with a working disk does change both files.
    Run(ChangeEverything);
    EXPECT_TRUE(data.Read("DBRemoteQuillon.dat").contains("Plant.Tank2.Product|1\r\n"));
    EXPECT_TRUE(data.Read("QuillonExt.ini").contains("Col1=222"));
    EXPECT_TRUE(data.Read("QuillonExt.ini").contains("AlwaysOnTop=1"));
}

TEST_F(FileFault, AMissingDataFolderIsNotCreatedAndNothingIsSaid)
{
    const QString missing = data.Path() + "gone/";
    app.m_strUserIniPath = missing + "QuillonExt.ini";
    SetProfileFileName(app.m_strUserIniPath);
    Window window(missing);
    RunModal(window, [&] {
        ChangeEverything(window);
        EXPECT_TRUE(window.m_bConnected);
        window.EndDialog(IDOK);
    });
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

QString VictimProgram()
{
    return QCoreApplication::applicationDirPath() + "/save_victim";
}

// Twenty kills at random moments of a save loop that writes the two lists in
// turn. The seed is printed, so that a failure can be repeated.
TEST(SaveKilled, TheListIsAlwaysTheOldOrTheNewOneComplete)
{
    TempDir folder;
    const QString path = folder.File("DBRemoteQuillon.dat");
    const QByteArray oldBytes = WatchListFile::Encode(VictimLists::Old());
    const QByteArray newBytes = WatchListFile::Encode(VictimLists::New());
    ASSERT_TRUE(WatchListFile::Write(path, VictimLists::Old()));

    // How long one save takes here sets the span the kills fall into.
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WatchListFile::Write(path, VictimLists::New()));
    const qint64 saveMs = std::max<qint64>(clock.elapsed(), 1);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<qint64> moment(0, 3 * saveMs);
    int sawOld = 0;
    int sawNew = 0;
    for (int kill = 0; kill < 20; ++kill) {
        QProcess victim;
        victim.start(VictimProgram(), {path});
        ASSERT_TRUE(victim.waitForReadyRead(10000)) << "the victim did not start";
        QThread::msleep(static_cast<unsigned long>(moment(random)));
        victim.kill();
        ASSERT_TRUE(victim.waitForFinished(10000));
        ASSERT_EQ(victim.exitStatus(), QProcess::CrashExit) << "it was still saving";

        const QByteArray now = folder.Read("DBRemoteQuillon.dat");
        ASSERT_TRUE(now == oldBytes || now == newBytes) << "kill " << kill << ": " << now.size() << " bytes";
        (now == oldBytes ? sawOld : sawNew)++;
    }
    RecordProperty("old", sawOld);
    RecordProperty("new", sawNew);
    // The new content gets a name of its own just before it replaces the list;
    // a kill in between leaves that file behind, complete. Nothing else may stay.
    for (const QString& name : QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden)) {
        if (name == u"DBRemoteQuillon.dat")
            continue;
        EXPECT_TRUE(name.startsWith(u"DBRemoteQuillon.dat.")) << name.toStdString();
        const QByteArray left = folder.Read(name);
        EXPECT_TRUE(left == oldBytes || left == newBytes) << name.toStdString() << ": " << left.size() << " bytes";
    }
}

} // namespace
