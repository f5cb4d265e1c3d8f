#include "CQuillonExtApp.h"

#include "CQuillonExtDlg.h"
#include "DataFolder.h"
#include "LanguageSelection.h"
#include "platform/CrtString.h"
#include "platform/KnownFolders.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "runtime/VantelToolkit.h"
#include "runtime/VtText.h"

#include <QFileInfo>

namespace {

CQuillonExtApp* g_app = nullptr;

constexpr int kCultureCapacity = 255;
constexpr DWORD kDsIpCapacity = 128;
constexpr DWORD kLongTextCapacity = 2048;

QString ReadOption(const QString& key, const QString& current, DWORD capacity, const QString& ini)
{
    QString value;
    GetPrivateProfileStringW(QStringLiteral("Options"), key, current, value, capacity, ini);
    return value;
}

int ReadOptionInt(const QString& key, int current, const QString& ini)
{
    return int(GetPrivateProfileIntW(QStringLiteral("Options"), key, current, ini));
}

} // namespace

CQuillonExtApp* AfxGetApp()
{
    return g_app;
}

CQuillonExtApp::CQuillonExtApp() : m_hInstance(GetExecutableModule())
{
    if (!g_app)
        g_app = this;
}

CQuillonExtApp::~CQuillonExtApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CQuillonExtApp::InitInstance(const QStringList& arguments)
{
    // No ActiveX controls exist here, so there is no control container to enable.
    if (ToolkitStartup() == 0)
        return FALSE;

    const QString exePath = GetModuleFileNameW(m_hInstance);
    const QString programFolder = exePath.left(exePath.lastIndexOf(u'/') + 1);
    const QString dataFolder = GetDataFolder(programFolder);
    m_strIniPath = programFolder + QStringLiteral("QuillonExt.ini");
    m_strUserIniPath = dataFolder + QStringLiteral("QuillonExt.ini");

    const QString culture = ReadCultureName(dataFolder + QStringLiteral("Program Settings.ini"), kCultureCapacity);
    LoadLanguageLibrary(culture, m_hInstance, m_hResDll);
    AfxSetResourceHandle(m_hResDll);
    if (m_hResDll != m_hInstance)
        m_translations.Install(culture);
    AfxSetAppName(LoadResString(AFX_IDS_APP_TITLE));

    ReadConnectionSettings();
    ParseCommandLine(JoinArguments(arguments));
    SetProfileFileName(m_strUserIniPath);
    if (!ApplyTransportSecurity(programFolder)) {
        FreeLanguageLibrary(m_hInstance, m_hResDll);
        AfxSetResourceHandle(m_hInstance);
        return FALSE;
    }

    {
        CQuillonExtDlg dialog(m_strUserName, m_strPassword);
        dialog.m_strDataFolder = dataFolder;
        RunMainWindow(dialog);
    }

    m_translations.Remove();
    FreeLanguageLibrary(m_hInstance, m_hResDll);
    AfxSetResourceHandle(m_hInstance);
    return FALSE;
}

int CQuillonExtApp::ExitInstance()
{
    ToolkitShutdown();
    return 0;
}

void CQuillonExtApp::RunMainWindow(CQuillonExtDlg& dialog)
{
    dialog.DoModal();
}

void CQuillonExtApp::ReadConnectionSettings()
{
    m_strDsIp = ReadOption(QStringLiteral("dsip"), m_strDsIp, kDsIpCapacity, m_strIniPath);
    m_nDsPort = ReadOptionInt(QStringLiteral("dsport"), m_nDsPort, m_strIniPath);
    m_strWtg = ReadOption(QStringLiteral("wtg"), m_strWtg, kLongTextCapacity, m_strIniPath);
    m_strProxyIp = ReadOption(QStringLiteral("proxyip"), m_strProxyIp, kLongTextCapacity, m_strIniPath);
    m_nProxyPort = ReadOptionInt(QStringLiteral("proxyp"), m_nProxyPort, m_strIniPath);
    m_bTls = ReadOptionInt(QStringLiteral("tls"), m_bTls, m_strIniPath) != 0 ? TRUE : FALSE;
    m_strTlsCa = ReadOption(QStringLiteral("tlsca"), m_strTlsCa, kLongTextCapacity, m_strIniPath);
}

bool CQuillonExtApp::ApplyTransportSecurity(const QString& programFolder)
{
    QString caFile = m_strTlsCa;
    if (!caFile.isEmpty() && QFileInfo(caFile).isRelative())
        caFile = programFolder + caFile;
    if (VtSetTransportSecurity(m_bTls, VtText(caFile)) == S_OK)
        return true;
    AfxMessageBox(FormatResText(LoadResString(IDS_TLS_CA_FILE), {caFile}), MB_OK | MB_ICONERROR);
    return false;
}

QString CQuillonExtApp::JoinArguments(const QStringList& arguments)
{
    QStringList parts;
    parts.reserve(arguments.size());
    for (const QString& argument : arguments) {
        const bool wrap = argument.contains(u' ') && !argument.contains(u'"');
        parts << (wrap ? u'"' + argument + u'"' : argument);
    }
    return parts.join(u' ');
}

void CQuillonExtApp::ParseCommandLine(const QString& commandLine)
{
    if (commandLine.isEmpty())
        return;

    struct Switch
    {
        QString prefix;
        QString* text;
        int* number;
    };
    const Switch switches[] = {
        {QStringLiteral("/dsip:"), &m_strDsIp, nullptr},
        {QStringLiteral("/dsport:"), nullptr, &m_nDsPort},
        {QStringLiteral("/wtg:"), &m_strWtg, nullptr},
        {QStringLiteral("/proxyip:"), &m_strProxyIp, nullptr},
        {QStringLiteral("/proxyp:"), nullptr, &m_nProxyPort},
        {QStringLiteral("/username:"), &m_strUserName, nullptr},
        {QStringLiteral("/password:"), &m_strPassword, nullptr},
        {QStringLiteral("/tlsca:"), &m_strTlsCa, nullptr},
    };

    const auto takeToken = [&](QString& token) {
        // A switch without a value, matched whole: "/tls" also begins "/tlsca:".
        if (token.compare(QStringLiteral("/tls"), Qt::CaseInsensitive) == 0)
            m_bTls = TRUE;
        for (const Switch& s : switches) {
            if (!token.startsWith(s.prefix, Qt::CaseInsensitive))
                continue;
            const QStringView rest = QStringView(token).mid(s.prefix.size());
            if (s.text)
                *s.text = rest.toString();
            else
                *s.number = _wtoi(rest);
        }
        token.clear();
    };

    QString token;
    bool quoted = false;
    // One step past the last character, so that the final token is taken too.
    for (qsizetype i = 0; i <= commandLine.size(); ++i) {
        if (i == commandLine.size()) {
            if (!token.isEmpty())
                takeToken(token);
            break;
        }
        const QChar c = commandLine[i];
        if (c == u'"')
            quoted = !quoted;
        else if (quoted || c != u' ')
            token += c;
        else if (!token.isEmpty())
            takeToken(token);
    }
}

QString CQuillonExtApp::MapTagText(const QString& text)
{
    return text;
}
