#include "MainWindowSession.h"

#include "tests/app/ModalRun.h"

#include "platform/Module.h"
#include "platform/Profile.h"
#include "runtimed/PasswordHasher.h"

MainWindowSession::Window::Window(const QString& dataFolder)
    : CQuillonExtDlg(AfxGetApp()->m_strUserName, AfxGetApp()->m_strPassword)
{
    m_strDataFolder = dataFolder;
}

void MainWindowSession::SetUp()
{
    ASSERT_NE(ToolkitStartup(), 0);
    const QString hash = PasswordHasher::Hash(QString::fromLatin1(kRootPassword), PasswordHasher::kMinIterations);
    program.Write("users.txt",
                  QStringLiteral("group admins read,write,admin\nuser root admins %1\n").arg(hash).toUtf8());
    ASSERT_TRUE(runtime.Start({"--users", program.File("users.txt")}));
    app.m_strIniPath = program.File("QuillonExt.ini");
    app.m_strUserIniPath = data.File("QuillonExt.ini");
    app.m_strDsIp = QStringLiteral("127.0.0.1");
    app.m_nDsPort = runtime.Port();
    app.m_strUserName = QStringLiteral("root");
    app.m_strPassword = QString::fromLatin1(kRootPassword);
    SetProfileFileName(app.m_strUserIniPath);
    AfxSetResourceHandle(GetExecutableModule());
    m_previousHandler = SetMessageBoxHandler([this](const QString& text, const QString&, UINT) {
        messages << text;
        return IDOK;
    });
    // The clock stands still: reconnection never comes into a test by chance.
    m_previousTicks = SetTickSource([] { return std::uint64_t(1000000); });
}

void MainWindowSession::TearDown()
{
    SetMessageBoxHandler(m_previousHandler);
    SetTickSource(m_previousTicks);
    ToolkitShutdown();
}

void MainWindowSession::Run(const std::function<void(Window&)>& action)
{
    Window window(data.Path());
    RunModal(window, [&] {
        action(window);
        window.EndDialog(IDOK);
    });
}
