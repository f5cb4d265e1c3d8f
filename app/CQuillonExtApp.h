#pragma once

#include "CUiTranslations.h"
#include "platform/Module.h"
#include "platform/WinTypes.h"

#include <QString>
#include <QStringList>

class CQuillonExtDlg;

// The application object: starts the toolkit, finds the program and data
// folders, selects the language, reads the connection settings and runs the
// main window.
class CQuillonExtApp
{
public:
    CQuillonExtApp();
    virtual ~CQuillonExtApp();

    // arguments: the command line without the program name. Always FALSE, so that
    // the program ends once the main window has closed.
    BOOL InitInstance(const QStringList& arguments);
    int ExitInstance();

    void ReadConnectionSettings();
    void ParseCommandLine(const QString& commandLine);
    static QString MapTagText(const QString& text);
    // Hands the TLS settings to the toolkit; false, after telling the user,
    // when the CA file cannot serve.
    bool ApplyTransportSecurity(const QString& programFolder);

    // The command-line text for a list of arguments already split by the shell:
    // joined by spaces, an argument with a space and no double quote in quotes.
    static QString JoinArguments(const QStringList& arguments);

    HMODULE m_hInstance; // the executable's module
    QString m_strIniPath;
    QString m_strUserIniPath;
    HMODULE m_hResDll = nullptr;
    QString m_strDsIp = QStringLiteral("localhost");
    int m_nDsPort = 1234;
    QString m_strWtg;
    QString m_strProxyIp;
    int m_nProxyPort = 0;
    QString m_strUserName;
    QString m_strPassword;
    // Secure connection: TLS with the system's CA store, or with the
    // certificates of m_strTlsCa (which implies TLS; relative to the program
    // folder).
    BOOL m_bTls = FALSE;
    QString m_strTlsCa;

    // The main window's refresh-tick state, kept for the whole run rather than
    // per window: the last connection attempt and the guard against a tick
    // arriving while one runs.
    struct RefreshState
    {
        bool started = false;
        DWORD lastAttempt = 0;
        bool watchRefreshGuard = false;
    };
    RefreshState m_refresh;
    CUiTranslations m_translations;

protected:
    // Runs the main window modally; tests replace it to look at the state the
    // window would start from.
    virtual void RunMainWindow(CQuillonExtDlg& dialog);
};

// The one application object of the running program (null in tests that make their own).
CQuillonExtApp* AfxGetApp();
