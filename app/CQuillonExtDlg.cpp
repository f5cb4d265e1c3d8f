#include "CQuillonExtDlg.h"

#include "CAboutDlg.h"
#include "CCheckCredentialDlg.h"
#include "CQuillonExtApp.h"
#include "CUserGuideWindow.h"
#include "ConnectionMessages.h"
#include "WatchListFile.h"
#include "platform/CDataExchange.h"
#include "platform/KnownFolders.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/TickCount.h"
#include "platform/WinUser.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "runtime/VtText.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimerEvent>
#include <QWindow>

#include <memory>

namespace {

constexpr int kRefreshIntervalMs = 500;
constexpr DWORD kReconnectIntervalMs = 10000;
constexpr int kDefaultHttpPolling = 10;
constexpr UINT kSysCommandMask = 0xFFF0;
constexpr int kHeaderRowHeight = 18;
// A stored column width beyond this is a damaged settings file, not a choice.
constexpr int kMaxColumnWidth = 10000;

// Window-menu commands of the framework, handled as usual.
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_MAXIMIZE = 0xF030;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_RESTORE = 0xF120;

const QString kOptions = QStringLiteral("Options");
const QString kWatchListFileName = QStringLiteral("DBRemoteQuillon.dat");

} // namespace

CQuillonExtDlg::CQuillonExtDlg(QString userName, QString password, QWidget* parent)
    : CSizingDialog(LoadDialogTemplate(IDD_QUILLONEXT_DIALOG), parent)
    , m_strUserName(std::move(userName))
    , m_strPassword(std::move(password))
    , m_hIcon(LoadIconResource(IDR_MAINFRAME))
{
}

CQuillonExtDlg::~CQuillonExtDlg() = default;

CQuillonExtApp& CQuillonExtDlg::App() const
{
    return *AfxGetApp();
}

void CQuillonExtDlg::DoDataExchange(CDataExchange* pDX)
{
    CSizingDialog::DoDataExchange(pDX);
    m_btnClose = qobject_cast<QPushButton*>(GetDlgItem(IDC_CLOSE_BUTTON));
}

int CQuillonExtDlg::ReadHttpPolling() const
{
    return int(GetPrivateProfileIntW(kOptions, QStringLiteral("HTTPPolling"), kDefaultHttpPolling, App().m_strIniPath));
}

QString CQuillonExtDlg::ServerLabel() const
{
    const QString& server = App().m_strDsIp;
    if (server.isEmpty() || server.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return LoadResString(IDS_LOCAL_SERVER);
    return server;
}

HRESULT CQuillonExtDlg::ConnectRuntimeWith(int polling)
{
    const CQuillonExtApp& app = App();
    return ::ConnectRuntime(VtText(app.m_strDsIp), app.m_nDsPort, VtText(app.m_strProxyIp), app.m_nProxyPort,
                            VtText(app.m_strWtg), polling, &m_hConnection);
}

bool CQuillonExtDlg::LogOnIfRequired(int polling)
{
    const CQuillonExtApp& app = App();
    if (!::IsLoginRequired(VtText(app.m_strDsIp), app.m_nDsPort, VtText(app.m_strProxyIp), app.m_nProxyPort,
                           VtText(app.m_strWtg), polling, &m_hConnection))
        return true;
    QString userName = m_strUserName;
    QString password = m_strPassword;
    int fromCommandLine = 1;
    if (userName.isEmpty()) {
        CCheckCredentialDlg credentials(this);
        const int result = credentials.DoModal();
        userName = credentials.m_strUserName;
        password = credentials.m_strPassword;
        fromCommandLine = 0;
        if (result == IDCANCEL) {
            AfxMessageBox(LoadResString(IDS_INVALID_CREDENTIAL), MB_OK | MB_ICONERROR);
            return false;
        }
    }
    return ::LogOn(VtText(userName), VtText(password), fromCommandLine) == 0;
}

void CQuillonExtDlg::ShowConnectError(HRESULT result)
{
    QString text;
    if (result == E_ABORT)
        text = LoadResString(IDS_ACCESS_DENIED);
    else if (result == E_ACCESSDENIED)
        text = LoadResString(IDS_INVALID_CREDENTIAL);
    else if (text = ConnectionMessages::SecurityRefusal(result, ServerLabel()); text.isEmpty())
        text = FormatResText(LoadResString(IDS_CONNECT_ERROR),
                             {ServerLabel(), QString::number(result), LoadResString(IDS_TCPIP_SERVER)});
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
}

BOOL CQuillonExtDlg::OnInitDialog()
{
    CSizingDialog::OnInitDialog();

    const int polling = ReadHttpPolling();
    if (!LogOnIfRequired(polling)) {
        PostCommand(IDOK);
        return FALSE;
    }
    if (const HRESULT result = ConnectRuntimeWith(polling); result != S_OK) {
        ShowConnectError(result);
        PostCommand(IDOK);
        return FALSE;
    }
    ::ActivateConnection(m_hConnection);
    m_bConnected = TRUE;

    BuildSystemMenu();
    m_bAlwaysOnTop = GetProfileIntW(kOptions, QStringLiteral("AlwaysOnTop"), 0) != 0 ? TRUE : FALSE;
    ApplyAlwaysOnTop();

    setWindowTitle(windowTitle() + QStringLiteral(": <") + ServerLabel() + u'>');
    setWindowIcon(m_hIcon);
    ReadColumnWidths();

    CreateWatchGrid();
    LoadWatchList();
    m_trend = std::make_unique<CTrendController>(m_Grid, this);
    AddSizingControl(&m_Grid, kSizingStretch, kSizingStretch);
    AddSizingControl(GetDlgItem(IDC_CLOSE_BUTTON), kSizingCentre, kSizingFollowEdge);
    RestoreWindowPlacement(LoadResString(AFX_IDS_APP_TITLE), FALSE);
    m_nTimerId = startTimer(kRefreshIntervalMs);
    return FALSE;
}

void CQuillonExtDlg::ReadColumnWidths()
{
    const QString section = LoadResString(AFX_IDS_APP_TITLE);
    for (size_t i = 0; i < m_columnWidths.size(); ++i) {
        const int stored = int(GetProfileIntW(section, QStringLiteral("Col%1").arg(i + 1), m_columnWidths[i]));
        if (stored >= 0 && stored <= kMaxColumnWidth)
            m_columnWidths[i] = stored;
    }
}

void CQuillonExtDlg::WriteColumnWidths()
{
    const QString section = LoadResString(AFX_IDS_APP_TITLE);
    for (size_t i = 0; i < m_columnWidths.size(); ++i)
        WriteProfileIntW(section, QStringLiteral("Col%1").arg(i + 1), m_Grid.GetColumnWidth(int(i)));
}

void CQuillonExtDlg::CreateWatchGrid()
{
    const QWidget* placeholder = GetDlgItem(IDC_GRID_PLACEHOLDER);
    const QRect area = placeholder ? placeholder->geometry() : QRect();
    m_Grid.Create(RECT{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()}, this,
                  IDC_WATCH_GRID, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP);
    m_Grid.SetColumnCount(int(m_columnWidths.size()));
    m_Grid.SetRowCount(1);
    m_Grid.SetFixedRowCount(1);
    m_Grid.SetRowHeight(0, kHeaderRowHeight);
    for (int col = 0; col < int(m_columnWidths.size()); ++col) {
        m_Grid.SetItemText(0, col, LoadResString(IDS_HEADER_TAG + UINT(col)));
        m_Grid.SetColumnWidth(col, m_columnWidths[size_t(col)]);
        m_Grid.SetItemFormat(0, col, DT_CENTER);
    }
    m_Grid.InsertWatchRow(-1);
    m_Grid.SetFocusCell(1, CGridQuillon::ColTag);
    m_Grid.setFocus();
}

QString CQuillonExtDlg::WatchListPath() const
{
    return m_strDataFolder + kWatchListFileName;
}

void CQuillonExtDlg::LoadWatchList()
{
    FileStore::ReadStatus status = FileStore::ReadStatus::Read;
    const std::vector<WatchListRow> rows = WatchListFile::Read(WatchListPath(), &status);
    if (status != FileStore::ReadStatus::Read && status != FileStore::ReadStatus::Missing) {
        // Whatever stands under the name stays as it is: nothing of it is
        // shown, and closing does not write over it.
        ShowListNotLoaded(status);
        return;
    }
    // Rows are only placed here; Continuous rows are read on the next tick.
    m_Grid.AppendWatchRows(rows);
    m_bListLoaded = true;
}

void CQuillonExtDlg::ShowListNotLoaded(FileStore::ReadStatus status)
{
    const UINT reason = status == FileStore::ReadStatus::NotRegular ? IDS_LIST_NOT_A_FILE
                        : status == FileStore::ReadStatus::TooLarge ? IDS_LIST_TOO_LARGE
                                                                    : IDS_LIST_UNREADABLE;
    AfxMessageBox(FormatResText(LoadResString(IDS_LIST_NOT_LOADED), {WatchListPath(), LoadResString(reason)}),
                  MB_OK | MB_ICONERROR);
}

void CQuillonExtDlg::SaveWatchList()
{
    if (!m_bListLoaded)
        return;
    std::vector<WatchListRow> rows;
    // The empty entry row is not stored; a last row that holds a text (a
    // pick whose commit was refused) is.
    int end = m_Grid.GetRowCount();
    if (end > 1 && m_Grid.GetItemText(end - 1, CGridQuillon::ColTag).isEmpty())
        --end;
    for (int row = 1; row < end; ++row)
        rows.push_back({m_Grid.GetItemText(row, CGridQuillon::ColTag), m_Grid.IsContinuous(row) != FALSE});
    WatchListFile::Write(WatchListPath(), rows);
}

QString CQuillonExtDlg::MapTagText(const QString& text) const
{
    return CQuillonExtApp::MapTagText(text);
}

void CQuillonExtDlg::OnHelp()
{
    auto guide = std::make_unique<CUserGuideWindow>(this);
    const QString path = CUserGuideWindow::FindGuide(GetProgramFolder());
    if (path.isEmpty() || !guide->Load(path)) {
        AfxMessageBox(tr("The user guide was not found beside the program."), MB_OK | MB_ICONERROR);
        return;
    }
    // Shown, it closes itself (WA_DeleteOnClose) or goes with this window.
    guide.release()->show();
}

void CQuillonExtDlg::BuildSystemMenu()
{
    m_sysMenu = new QMenu(this);
    const auto add = [this](const QString& text, UINT id) {
        QAction* action = m_sysMenu->addAction(text);
        connect(action, &QAction::triggered, this, [this, id] { OnSysCommand(id); });
        return action;
    };
    add(tr("&Restore"), SC_RESTORE);
    add(tr("Mi&nimize"), SC_MINIMIZE);
    add(tr("Ma&ximize"), SC_MAXIMIZE);
    add(tr("&Close"), SC_CLOSE);
    const QString about = LoadResString(IDS_ABOUTBOX);
    if (!about.isEmpty()) {
        m_sysMenu->addSeparator();
        add(about, IDM_ABOUTBOX);
    }
    m_sysMenu->addSeparator();
    m_alwaysOnTopAction = add(LoadResString(IDS_ALWAYS_ON_TOP), IDM_ALWAYSONTOP);
    m_alwaysOnTopAction->setCheckable(true);
    add(LoadResString(IDS_TREND_MENU), IDM_TREND);
}

void CQuillonExtDlg::ApplyAlwaysOnTop()
{
    const bool on = m_bAlwaysOnTop != FALSE;
    if (m_alwaysOnTopAction)
        m_alwaysOnTopAction->setChecked(on);
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == windowFlags())
        return;
    // setWindowFlags would re-create a shown window by hiding it, and hiding a
    // dialog ends its modal loop: the native window alone changes its stacking
    // and stays where it is, with its size and focus.
    overrideWindowFlags(flags);
    if (QWindow* native = windowHandle())
        native->setFlags(flags);
}

void CQuillonExtDlg::OnSysCommand(UINT id)
{
    switch (id & kSysCommandMask) {
    case IDM_ABOUTBOX: CAboutDlg(this).DoModal(); return;
    case IDM_ALWAYSONTOP:
        m_bAlwaysOnTop = !m_bAlwaysOnTop;
        ApplyAlwaysOnTop();
        WriteProfileStringW(kOptions, QStringLiteral("AlwaysOnTop"),
                            m_bAlwaysOnTop ? QStringLiteral("1") : QStringLiteral("0"));
        return;
    case IDM_TREND:
        if (m_trend)
            m_trend->OnTrendCommand();
        return;
    case SC_MINIMIZE: showMinimized(); return;
    case SC_MAXIMIZE: showMaximized(); return;
    case SC_RESTORE: showNormal(); return;
    case SC_CLOSE: OnCancel(); return;
    default: return;
    }
}

BOOL CQuillonExtDlg::OnCommand(UINT id)
{
    if (id == IDC_CLOSE_BUTTON) {
        OnCloseButton();
        return TRUE;
    }
    return CSizingDialog::OnCommand(id);
}

void CQuillonExtDlg::OnCloseButton()
{
    PostCommand(IDOK);
}

void CQuillonExtDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_nTimerId) {
        OnTimer(UINT(event->timerId()));
        // Not from a tick nested in another: that one feeds the trend.
        if (m_trend && !App().m_refresh.watchRefreshGuard)
            m_trend->OnTick(m_bConnected != FALSE);
    } else
        CSizingDialog::timerEvent(event);
}

void CQuillonExtDlg::OnTimer(UINT)
{
    CQuillonExtApp::RefreshState& tick = App().m_refresh;
    if (!tick.started) {
        tick.started = true;
        tick.lastAttempt = GetTickCount();
    }
    if (tick.watchRefreshGuard)
        return;
    tick.watchRefreshGuard = true;

    if (!m_bConnected) {
        // Unsigned difference: the wrap of the tick counter is harmless.
        if (DWORD(GetTickCount() - tick.lastAttempt) <= kReconnectIntervalMs) {
            tick.watchRefreshGuard = false;
            return;
        }
        if (ConnectRuntimeWith(ReadHttpPolling()) != S_OK) {
            tick.lastAttempt = GetTickCount();
            tick.watchRefreshGuard = false;
            return;
        }
        MarkReconnected();
    }

    if (m_bConnected)
        m_Grid.RefreshContinuousRows();
    tick.watchRefreshGuard = false;
    if (m_bConnected && ::IsConnectionLost(m_hConnection))
        MarkDisconnected();
}

void CQuillonExtDlg::MarkDisconnected()
{
    // The same loss may be reported twice (a refresh while the tag browser is
    // open, then the browser's own check): it is marked once.
    if (!m_bConnected)
        return;
    ::CloseConnection(m_hConnection);
    m_bConnected = FALSE;
    setWindowTitle(windowTitle() + LoadResString(IDS_DISCONNECTED));
}

void CQuillonExtDlg::MarkReconnected()
{
    ::ActivateConnection(m_hConnection);
    m_bConnected = TRUE;
    const QString title = windowTitle();
    const qsizetype suffix = title.indexOf(LoadResString(IDS_DISCONNECTED));
    if (suffix >= 0)
        setWindowTitle(title.left(suffix));
    if (::IsConnectionLost(m_hConnection))
        MarkDisconnected();
}

void CQuillonExtDlg::OnDestroy()
{
    if (m_trend)
        m_trend->Close();
    if (m_bConnected) {
        StoreWindowPlacement(LoadResString(AFX_IDS_APP_TITLE));
        WriteColumnWidths();
        ::CloseConnection(m_hConnection);
    }
    if (m_nTimerId != 0) {
        killTimer(m_nTimerId);
        m_nTimerId = 0;
    }
    SaveWatchList();
    CSizingDialog::OnDestroy();
}

void CQuillonExtDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::AltModifier && m_sysMenu) {
        m_sysMenu->exec(mapToGlobal(QPoint(0, 0)));
        return;
    }
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        OnHelp();
        return;
    }
    CSizingDialog::keyPressEvent(event);
}

void CQuillonExtDlg::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_sysMenu)
        m_sysMenu->exec(event->globalPos());
}
