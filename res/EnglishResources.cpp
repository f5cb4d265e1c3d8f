#include "EnglishResources.h"

#include "Resource.h"
#include "TemplateShapes.h"

#include "platform/MessageBox.h"

namespace {

static_assert(IDC_OK == UINT(IDOK) && IDC_CANCEL == UINT(IDCANCEL));

constexpr StringResource kStrings[] = {
    {IDS_ABOUTBOX, u"&About Quillon..."},
    {IDS_DISCONNECTED, u" - Disconnected"},
    {IDS_FORBIDDEN_FUNCTION, u"The expression specified contains a function not allowed."},
    {IDS_ACCESS_DENIED, u"User access to resource denied.\nPlease check your user groups permission."},
    {IDS_ALWAYS_ON_TOP, u"Always on &Top"},
    {IDS_LOCAL_SERVER, u"LOCAL"},
    {IDS_CONNECT_ERROR,
     u"Error connecting to '%s' (%d) .\nPlease make sure that '%s' is running on the remote station."},
    {IDS_INVALID_CREDENTIAL, u"Invalid Credential"},
    {IDS_LIST_NOT_LOADED,
     u"The watch list '%s' was not loaded: %s\nIt is left as it is, and the list of this session will not be saved."},
    {IDS_LIST_NOT_A_FILE, u"it is not a regular file."},
    {IDS_LIST_TOO_LARGE, u"it is larger than 64 MiB."},
    {IDS_LIST_UNREADABLE, u"it cannot be read."},
    {IDS_TLS_UNTRUSTED,
     u"The certificate of '%s' is not trusted.\nSHA-256 fingerprint: %s\nCompare it with the runtime's certificate; if they match, name that certificate or its CA with tlsca."},
    {IDS_TLS_NAME_MISMATCH, u"The certificate of '%s' is not issued for that name."},
    {IDS_TLS_EXPIRED, u"The certificate of '%s' has expired or is not yet valid."},
    {IDS_TLS_ABSENT, u"'%s' does not speak TLS, but a secure connection was asked for."},
    {IDS_TLS_REQUIRED,
     u"'%s' accepts only secure connections.\nTurn TLS on with /tls or with tls=1 in QuillonExt.ini."},
    {IDS_TLS_FAILED, u"The secure connection to '%s' failed."},
    {IDS_SERVER_PROOF,
     u"'%s' could not prove that it knows your password.\nIt may not be the runtime it claims to be."},
    {IDS_TLS_CA_FILE, u"The certificate file '%s' cannot be read or holds no certificate."},
    {IDS_PROGRESS_INSERT, u"Inserting copied rows..."},
    {IDS_PROGRESS_PASTE, u"Pasting rows..."},
    {IDS_PROGRESS_CANCEL, u"Cancel"},
    {IDS_INVALID_EXPRESSION, u"Invalid expression"},
    {IDS_CLIPBOARD_ERROR, u"Error using the Clipboard."},
    {AFX_IDS_APP_TITLE, u"Quillon"},
    {IDS_HEADER_TAG, u"Tag/Expression"},
    {IDS_HEADER_VALUE, u"Value"},
    {IDS_HEADER_QUALITY, u"Quality"},
    {IDS_HEADER_CONTINUOUS, u"Continuous"},
    {IDS_QUALITY_BAD, u"BAD"},
    {IDS_QUALITY_UNCERTAIN, u"UNCERTAIN"},
    {IDS_QUALITY_GOOD, u"GOOD"},
    {IDS_QUALITY_NA, u"NA"},
    {IDS_QUALITY_INVALID, u"INVALID QUALITY"},
    {IDS_TCPIP_SERVER, u"TCP/IP Server"},
    {IDS_TREND_MENU, u"T&rend\tCtrl+T"},
    {IDS_TREND_TITLE, u"Quillon Trend"},
    {IDS_TREND_PAUSE, u"&Pause"},
    {IDS_TREND_RESUME, u"&Resume"},
    {IDS_TREND_SAVE_CSV, u"Save as &CSV..."},
    {IDS_TREND_SAVE_PNG, u"Save as P&NG..."},
    {IDS_TREND_NO_ROWS, u"No Continuous row to show in the trend.\nSelect rows whose Continuous box is checked."},
    {IDS_TREND_TOO_MANY, u"The trend shows at most %d series; rows not added: %d."},
    {IDS_TREND_SAVE_FAILED, u"The file '%s' could not be written."},
    {IDS_TREND_CSV_FILTER, u"CSV files (*.csv)"},
    {IDS_TREND_PNG_FILTER, u"PNG images (*.png)"},
    {IDS_TREND_CSV_TIME, u"Time"},
    {IDS_TREND_CSV_QUALITY, u"%s Quality"},
    {IDS_TREND_TIME_AXIS, u"Time"},
};

using namespace templates;

constexpr AboutTexts kAboutTexts = {u"About Quillon", u"Quillon, Version %s",
                                    u"Watches and writes live tag values of an automation runtime.", 270};
constexpr auto kAboutItems = AboutItems(kAboutTexts);
constexpr auto kMainItems = MainItems(u"Close");
constexpr CredentialTexts kCredentialTexts = {u"Check Credential", u"Cancel", u"&User Name:", u"&Password:", 14};
constexpr auto kCredentialItems = CredentialItems(kCredentialTexts);

constexpr DialogTemplate kDialogs[] = {
    AboutDialog(kAboutTexts, kAboutItems),
    MainDialog(u"Quillon", kMainItems),
    CredentialDialog(kCredentialTexts, kCredentialItems),
};

constexpr GridMenuTexts kGridMenuTexts = {
    u"Watch",
    u"Sort &Ascending",
    u"Sort &Descending",
    u"&Continuous",
    u"&Toggle",
    u"&Insert Tag or Expression...",
    u"&Copy",
    u"Cu&t",
    u"&Paste",
    u"Insert Copied Cells",
    u"&Insert Line",
    u"D&elete Line",
};
constexpr auto kGridMenuItems = GridMenuItems(kGridMenuTexts);

constexpr MenuResource kMenus[] = {GridMenu(kGridMenuTexts, kGridMenuItems)};

constexpr ResourceTables kTables = TablesOf(kStrings, kDialogs, kMenus, kIcons);

} // namespace

const ResourceTables* EnglishResourceTables()
{
    return &kTables;
}
