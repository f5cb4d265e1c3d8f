// Files of the program's own that someone or something else wrote: binary
// garbage as the stored list and as either settings file, and a tag name far
// longer than any plant's. The window opens, stays connected, keeps its bounds
// and writes back what it can stand behind.
#include "MainWindowSession.h"

#include "app/WatchListFile.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTest>

#include <sys/stat.h>

namespace {

constexpr int Tag = CGridQuillon::ColTag;
constexpr int Value = CGridQuillon::ColValue;

QByteArray Garbage(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator gen(seed);
    for (char& b : bytes)
        b = static_cast<char>(gen.bounded(256));
    return bytes;
}

class BadFiles : public MainWindowSession
{
protected:
    // Opens the window, ticks it twice and notes what it showed.
    void OpenAndTick()
    {
        connected = false;
        rows = 0;
        Run([&](Window& window) {
            window.OnTimer(1);
            window.OnTimer(1);
            connected = window.m_bConnected;
            rows = window.m_Grid.GetRowCount();
            for (int col = 0; col < 4; ++col)
                widths[col] = window.m_Grid.GetColumnWidth(col);
            levelRow = -1;
            for (int row = 1; row < rows; ++row) {
                if (window.m_Grid.GetItemText(row, Tag) == QStringLiteral("Plant.Tank2.Product"))
                    level = window.m_Grid.GetItemText(levelRow = row, Value);
            }
        });
    }

    bool connected = false;
    int rows = 0;
    int widths[4] = {};
    int levelRow = -1;
    QString level;
};

TEST_F(BadFiles, GarbageAsTheStoredList)
{
    // Random bytes; the same behind the UTF-8 mark; and a readable row after
    // garbage lines, one of them far longer than a row can be typed.
    const QByteArray readable = "Plant.Tank2.Product|1\r\n";
    const QByteArray lists[] = {
        Garbage(64 * 1024, 1),
        "\xEF\xBB\xBF" + Garbage(64 * 1024, 2),
        QByteArray("\x01\x02\x00\xFF|1\r\n", 9) + QByteArray(200000, 'Z') + "|1\r\n" + readable,
    };
    for (const QByteArray& list : lists) {
        data.Write("DBRemoteQuillon.dat", list);
        OpenAndTick();
        EXPECT_TRUE(connected);
        EXPECT_GE(rows, 2);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
        // What was written back reads back as the same rows: nothing is split or merged.
        const QByteArray saved = data.Read("DBRemoteQuillon.dat");
        EXPECT_EQ(WatchListFile::Encode(WatchListFile::Decode(saved)), saved);
        EXPECT_EQ(int(WatchListFile::Decode(saved).size()), rows - 2);
    }
    EXPECT_GE(levelRow, 1);
    EXPECT_EQ(level, QStringLiteral("Water")) << "rows the runtime cannot take spoil no other row";
}

bool IsFifo(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// What stands under the list's name but is no list: a folder, a file past
// 64 MiB (sparse, so it costs no disk), a FIFO (a plain read would wait for a
// writer for ever). The window says so, loads nothing of it and leaves it
// as it is.
TEST_F(BadFiles, AStoredListThatIsNoFileOrTooLargeIsNeitherReadNorOverwritten)
{
    const QString path = data.File("DBRemoteQuillon.dat");
    const auto expectOneMessage = [&](const char* reason) {
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages[0], QStringLiteral("The watch list '%1' was not loaded: %2\nIt is left as it is, and the "
                                              "list of this session will not be saved.")
                                   .arg(path, QString::fromLatin1(reason)));
        messages.clear();
    };

    ASSERT_TRUE(QDir().mkdir(path));
    OpenAndTick();
    EXPECT_TRUE(connected);
    EXPECT_EQ(rows, 2) << "the header and the empty entry row";
    expectOneMessage("it is not a regular file.");
    EXPECT_TRUE(QFileInfo(path).isDir());
    ASSERT_TRUE(QDir().rmdir(path));

    const qint64 tooLarge = (qint64(64) << 20) + 1;
    {
        QFile big(path);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write("Plant.Tank2.Product|1\r\n");
        ASSERT_TRUE(big.resize(tooLarge));
    }
    OpenAndTick();
    EXPECT_EQ(rows, 2);
    expectOneMessage("it is larger than 64 MiB.");
    EXPECT_EQ(QFileInfo(path).size(), tooLarge);
    QFile big(path);
    ASSERT_TRUE(big.open(QIODevice::ReadOnly));
    EXPECT_EQ(big.read(23), "Plant.Tank2.Product|1\r\n");
    big.close();
    ASSERT_TRUE(QFile::remove(path));

    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    OpenAndTick();
    EXPECT_EQ(rows, 2);
    expectOneMessage("it is not a regular file.");
    EXPECT_TRUE(IsFifo(path)) << "the FIFO was written over";
    ASSERT_TRUE(QFile::remove(path));

    // A list within the bound loads and is saved as before, without a word.
    data.Write("DBRemoteQuillon.dat", "Plant.Tank2.Product|1\r\n");
    OpenAndTick();
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(level, QStringLiteral("Water"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

TEST_F(BadFiles, GarbageAsEitherSettingsFile)
{
    const QByteArray garbage = Garbage(32 * 1024, 3);
    // Garbage with settings inside that are out of every range.
    const QByteArray hostile = garbage.left(1000) +
                               "\r\n[Quillon]\r\nCol1=-500\r\nCol2=2147483647\r\nCol3=99999999999\r\n"
                               "[Options]\r\nAlwaysOnTop=\xFF\xFE\r\nHTTPPolling=-7\r\n" +
                               garbage.mid(1000);
    for (const QByteArray& ini : {garbage, hostile}) {
        program.Write("QuillonExt.ini", ini);
        data.Write("QuillonExt.ini", ini);
        app.ReadConnectionSettings();
        app.m_strDsIp = QStringLiteral("127.0.0.1");
        app.m_nDsPort = runtime.Port();
        data.Write("DBRemoteQuillon.dat", "Plant.Tank2.Product|1\r\n");
        OpenAndTick();
        EXPECT_TRUE(connected);
        EXPECT_EQ(level, QStringLiteral("Water"));
        for (const int width : widths) {
            EXPECT_GE(width, 0);
            EXPECT_LE(width, 100000);
        }
    }
}

TEST_F(BadFiles, ATwoThousandCharacterTagNameIsKeptWhole)
{
    QString name = QStringLiteral("Plant.");
    while (name.size() < 2000)
        name += QStringLiteral("Segment%1.").arg(name.size());
    name.truncate(2000);
    if (name.endsWith(u'.'))
        name[1999] = u'x';
    Run([&](Window& window) {
        window.m_Grid.SetFocusCell(1, Tag);
        window.m_Grid.setFocus();
        QTest::keyClick(&window.m_Grid, name.at(0).toLatin1());
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, &window.m_Grid) << "typing opened no editor";
        // The rest pasted into the editor: typed key by key it takes minutes.
        QGuiApplication::clipboard()->setText(name.mid(1));
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_EQ(window.m_Grid.GetItemText(1, Tag), name);
        EXPECT_FALSE(window.m_Grid.GetItemText(1, Value).isEmpty());
        window.OnTimer(1);
    });
    EXPECT_TRUE(data.Read("DBRemoteQuillon.dat").startsWith(name.toLatin1() + "|"));
    QString loaded;
    Run([&](Window& window) { loaded = window.m_Grid.GetItemText(1, Tag); });
    EXPECT_EQ(loaded, name);
}

} // namespace
