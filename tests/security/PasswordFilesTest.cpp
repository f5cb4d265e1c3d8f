// The password the user gives, on the command line or in the credential
// dialog, is in no file the program or the toolkit writes during a session.
#include "MainWindowSession.h"

#include "app/CCheckCredentialDlg.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

class PasswordFiles : public MainWindowSession
{
protected:
    // Every file below the folder, with the password in any of the encodings
    // the program writes text in.
    static QStringList FilesHolding(const QString& folder, const QString& password)
    {
        const QByteArray forms[] = {
            password.toUtf8(),
            QByteArray(reinterpret_cast<const char*>(password.utf16()), password.size() * 2),
        };
        QStringList found;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = file.readAll();
            for (const QByteArray& form : forms) {
                if (bytes.contains(form))
                    found << file.fileName();
            }
        }
        return found;
    }

    // A session that writes every file it can: rows, a column width, Always
    // on Top, the window's placement.
    void WriteEverything()
    {
        Run([](Window& window) {
            window.m_Grid.SetItemText(1, CGridQuillon::ColTag, QStringLiteral("Plant.Tank1.Level"));
            window.m_Grid.InsertWatchRow(-1);
            window.m_Grid.SetColumnWidth(0, 140);
            window.OnSysCommand(CQuillonExtDlg::IDM_ALWAYSONTOP);
            window.OnTimer(1);
        });
    }
};

TEST_F(PasswordFiles, FromTheCommandLine)
{
    app.m_strUserName.clear();
    app.m_strPassword.clear();
    app.ParseCommandLine(QStringLiteral("/username:root /password:%1").arg(QString::fromLatin1(kRootPassword)));
    ASSERT_EQ(app.m_strPassword, QString::fromLatin1(kRootPassword));
    WriteEverything();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    ASSERT_FALSE(data.Read("DBRemoteQuillon.dat").isEmpty()) << "the session wrote its files";
    ASSERT_FALSE(data.Read("QuillonExt.ini").isEmpty());
    EXPECT_EQ(FilesHolding(data.Path(), QString::fromLatin1(kRootPassword)), QStringList());
    EXPECT_EQ(FilesHolding(program.Path(), QString::fromLatin1(kRootPassword)), QStringList());
}

TEST_F(PasswordFiles, FromTheCredentialDialog)
{
    app.m_strUserName.clear();
    app.m_strPassword.clear();
    // The dialog comes up inside the window's opening: a poller answers it,
    // and closes the window once it is open.
    Window window(data.Path());
    QTimer poller;
    int polls = 0;
    bool answered = false;
    bool connected = false;
    QObject::connect(&poller, &QTimer::timeout, [&] {
        if (++polls > 500) { // ten seconds: give up rather than hang
            window.EndDialog(IDCANCEL);
            return;
        }
        auto* dialog = qobject_cast<CCheckCredentialDlg*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && !answered) {
            const auto edits = dialog->findChildren<QLineEdit*>();
            if (edits.size() < 2)
                return;
            QTest::keyClicks(edits[0], QStringLiteral("root"));
            QTest::keyClicks(edits[1], QString::fromLatin1(kRootPassword));
            answered = true;
            QTest::keyClick(dialog, Qt::Key_Return);
        } else if (window.isVisible()) {
            connected = window.m_bConnected;
            window.m_Grid.SetItemText(1, CGridQuillon::ColTag, QStringLiteral("Plant.Tank1.Level"));
            window.m_Grid.InsertWatchRow(-1);
            window.OnSysCommand(CQuillonExtDlg::IDM_ALWAYSONTOP);
            window.EndDialog(IDOK);
        }
    });
    poller.start(20);
    window.DoModal();
    poller.stop();
    ASSERT_TRUE(answered);
    EXPECT_TRUE(connected);
    EXPECT_EQ(FilesHolding(data.Path(), QString::fromLatin1(kRootPassword)), QStringList());
    EXPECT_EQ(FilesHolding(program.Path(), QString::fromLatin1(kRootPassword)), QStringList());
}

} // namespace
