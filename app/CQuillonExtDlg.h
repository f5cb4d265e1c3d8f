#pragma once

#include "CSizingDialog.h"
#include "CTrendController.h"
#include "platform/FileStore.h"
#include "runtime/VantelToolkit.h"
#include "watch/CGridQuillon.h"
#include "watch/CWatchGridHost.h"

#include <QIcon>
#include <QString>

#include <array>
#include <memory>

class CQuillonExtApp;
class QAction;
class QMenu;
class QPushButton;

// The program's main window: logs on and connects when it opens, names the
// server in its title, refreshes on a 500 ms timer, notices a lost connection
// and reconnects by itself, and saves what the user changed when it closes.
class CQuillonExtDlg : public CSizingDialog, public CWatchGridHost
{
    Q_OBJECT

public:
    CQuillonExtDlg(QString userName, QString password, QWidget* parent = nullptr);
    ~CQuillonExtDlg() override;

    void MarkDisconnected() override;
    void MarkReconnected();

    // What the watch grid asks of the window around it.
    BOOL IsConnected() const override { return m_bConnected; }
    VtHandle GetConnection() const override { return m_hConnection; }
    QString MapTagText(const QString& text) const override;

    // Window-menu commands (the low four bits are the framework's).
    static constexpr UINT IDM_ABOUTBOX = 16;
    static constexpr UINT IDM_ALWAYSONTOP = 32;
    static constexpr UINT IDM_TREND = 48;

    QString m_strUserName;
    QString m_strPassword;
    BOOL m_bAlwaysOnTop = FALSE;
    int m_nTimerId = 0;
    BOOL m_bConnected = FALSE;
    VtHandle m_hConnection = nullptr;
    QString m_strDataFolder;
    QPushButton* m_btnClose = nullptr;
    QIcon m_hIcon;
    CGridQuillon m_Grid;
    std::unique_ptr<CTrendController> m_trend;

    // The window's own system menu: window managers do not let a program add to
    // theirs. Opened with Alt+Space and by a right-click outside the grid.
    QMenu* GetSystemMenu() const { return m_sysMenu; }
    void OnSysCommand(UINT id);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(UINT id) override;
    void OnDestroy() override;
    void OnTimer(UINT id);
    void OnCloseButton();
    // The standard help command (F1): the user guide in a window of its own.
    void OnHelp();

    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CQuillonExtApp& App() const;
    int ReadHttpPolling() const;
    QString ServerLabel() const;
    HRESULT ConnectRuntimeWith(int polling);
    bool LogOnIfRequired(int polling);
    void ShowConnectError(HRESULT result);
    void BuildSystemMenu();
    void ApplyAlwaysOnTop();
    void ReadColumnWidths();
    void WriteColumnWidths();
    void CreateWatchGrid();
    void LoadWatchList();
    void ShowListNotLoaded(FileStore::ReadStatus status);
    void SaveWatchList();
    QString WatchListPath() const;

    QMenu* m_sysMenu = nullptr;
    QAction* m_alwaysOnTopAction = nullptr;
    std::array<int, 4> m_columnWidths = {90, 47, 53, 77};
    // Set once the list was read into the grid: an opening that ended before
    // must leave the stored list as it was.
    bool m_bListLoaded = false;
};
