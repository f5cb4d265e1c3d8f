// German resources of the program, exported for the language selection.
#include "res/Resource.h"
#include "res/ResourceTables.h"
#include "res/TemplateShapes.h"

namespace {

constexpr StringResource kStrings[] = {
    {IDS_ABOUTBOX, u"&Info über Quillon..."},
    {IDS_DISCONNECTED, u" - Getrennt"},
    {IDS_FORBIDDEN_FUNCTION, u"Der angegebene Ausdruck enthält eine nicht zulässige Funktion."},
    {IDS_ACCESS_DENIED,
     u"Benutzerzugriff auf die Ressource verweigert.\nBitte prüfen Sie die Rechte Ihrer Benutzergruppen."},
    {IDS_ALWAYS_ON_TOP, u"Immer im &Vordergrund"},
    {IDS_LOCAL_SERVER, u"LOKAL"},
    {IDS_CONNECT_ERROR,
     u"Fehler beim Verbinden mit '%s' (%d) .\nBitte stellen Sie sicher, dass '%s' auf der entfernten Station läuft."},
    {IDS_INVALID_CREDENTIAL, u"Ungültige Anmeldedaten"},
    {IDS_LIST_NOT_LOADED,
     u"Die Beobachtungsliste '%s' wurde nicht geladen: %s\nSie bleibt unverändert, und die Liste dieser Sitzung wird nicht gespeichert."},
    {IDS_LIST_NOT_A_FILE, u"sie ist keine reguläre Datei."},
    {IDS_LIST_TOO_LARGE, u"sie ist größer als 64 MiB."},
    {IDS_LIST_UNREADABLE, u"sie kann nicht gelesen werden."},
    {IDS_TLS_UNTRUSTED,
     u"Dem Zertifikat von '%s' wird nicht vertraut.\nSHA-256-Fingerabdruck: %s\nVergleichen Sie ihn mit dem Zertifikat der Laufzeit; stimmen sie überein, geben Sie dieses Zertifikat oder seine Zertifizierungsstelle mit tlsca an."},
    {IDS_TLS_NAME_MISMATCH, u"Das Zertifikat von '%s' ist nicht für diesen Namen ausgestellt."},
    {IDS_TLS_EXPIRED, u"Das Zertifikat von '%s' ist abgelaufen oder noch nicht gültig."},
    {IDS_TLS_ABSENT, u"'%s' spricht kein TLS, es wurde aber eine sichere Verbindung verlangt."},
    {IDS_TLS_REQUIRED,
     u"'%s' nimmt nur sichere Verbindungen an.\nSchalten Sie TLS mit /tls oder mit tls=1 in QuillonExt.ini ein."},
    {IDS_TLS_FAILED, u"Die sichere Verbindung zu '%s' ist fehlgeschlagen."},
    {IDS_SERVER_PROOF,
     u"'%s' konnte nicht nachweisen, dass es Ihr Kennwort kennt.\nEs ist womöglich nicht die Laufzeit, die es zu sein vorgibt."},
    {IDS_TLS_CA_FILE, u"Die Zertifikatsdatei '%s' kann nicht gelesen werden oder enthält kein Zertifikat."},
    {IDS_PROGRESS_INSERT, u"Kopierte Zeilen werden eingefügt..."},
    {IDS_PROGRESS_PASTE, u"Zeilen werden eingefügt..."},
    {IDS_PROGRESS_CANCEL, u"Abbrechen"},
    {IDS_INVALID_EXPRESSION, u"Ungültiger Ausdruck"},
    {IDS_CLIPBOARD_ERROR, u"Fehler beim Zugriff auf die Zwischenablage."},
    {AFX_IDS_APP_TITLE, u"Quillon"},
    {IDS_HEADER_TAG, u"Variable/Ausdruck"},
    {IDS_HEADER_VALUE, u"Wert"},
    {IDS_HEADER_QUALITY, u"Qualität"},
    {IDS_HEADER_CONTINUOUS, u"Fortlaufend"},
    {IDS_QUALITY_BAD, u"SCHLECHT"},
    {IDS_QUALITY_UNCERTAIN, u"UNSICHER"},
    {IDS_QUALITY_GOOD, u"GUT"},
    {IDS_QUALITY_NA, u"NV"},
    {IDS_QUALITY_INVALID, u"UNGÜLTIGE QUALITÄT"},
    {IDS_TCPIP_SERVER, u"TCP/IP-Server"},
    {IDS_TREND_MENU, u"T&rend\tStrg+T"},
    {IDS_TREND_TITLE, u"Quillon-Trend"},
    {IDS_TREND_PAUSE, u"&Anhalten"},
    {IDS_TREND_RESUME, u"&Fortsetzen"},
    {IDS_TREND_SAVE_CSV, u"Als &CSV speichern..."},
    {IDS_TREND_SAVE_PNG, u"Als P&NG speichern..."},
    {IDS_TREND_NO_ROWS,
     u"Keine fortlaufende Zeile für den Trend.\nWählen Sie Zeilen, deren Kästchen \"Fortlaufend\" gesetzt ist."},
    {IDS_TREND_TOO_MANY, u"Der Trend zeigt höchstens %d Kurven; nicht hinzugefügte Zeilen: %d."},
    {IDS_TREND_SAVE_FAILED, u"Die Datei '%s' konnte nicht geschrieben werden."},
    {IDS_TREND_CSV_FILTER, u"CSV-Dateien (*.csv)"},
    {IDS_TREND_PNG_FILTER, u"PNG-Bilder (*.png)"},
    {IDS_TREND_CSV_TIME, u"Zeit"},
    {IDS_TREND_CSV_QUALITY, u"%s Qualität"},
    {IDS_TREND_TIME_AXIS, u"Zeit"},
};

// Texts that code hands to Qt's translate(): the tag browser library's and the
// main window's own window menu.
constexpr TranslationResource kTranslations[] = {
    {"TagBrowserDialog", "Browse Tags", u"Variablen durchsuchen"},
    {"TagBrowserDialog", "&Filter:", u"&Filter:"},
    {"TagBrowserDialog", "part of a tag name", u"Teil eines Variablennamens"},
    {"TagBrowserDialog", "The runtime's tags could not be read: %1.",
     u"Die Variablen der Laufzeit konnten nicht gelesen werden: %1."},
    {"TagBrowserDialog", "%1 tags", u"%1 Variablen"},
    {"TagBrowserDialog", "%1 of %2 tags", u"%1 von %2 Variablen"},
    {"TagTreeBuilder", "Name", u"Name"},
    {"TagTreeBuilder", "Type", u"Typ"},
    {"TagTreeBuilder", "Value", u"Wert"},
    {"TagTreeBuilder", "Quality", u"Qualität"},
    {"TagTreeBuilder", " (writable)", u" (beschreibbar)"},
    {"TagTreeBuilder", " (read-only)", u" (schreibgeschützt)"},
    {"TagTreeBuilder", ", read-only", u", schreibgeschützt"},
    {"CQuillonExtDlg", "&Restore", u"&Wiederherstellen"},
    {"CQuillonExtDlg", "Mi&nimize", u"Mi&nimieren"},
    {"CQuillonExtDlg", "Ma&ximize", u"Ma&ximieren"},
    {"CQuillonExtDlg", "&Close", u"&Schließen"},
    {"CQuillonExtDlg", "The user guide was not found beside the program.",
     u"Die Bedienungsanleitung wurde neben dem Programm nicht gefunden."},
};

using namespace templates;

// German words run longer: the about box is wider and the credential labels
// start further left.
constexpr AboutTexts kAboutTexts = {u"Info über Quillon", u"Quillon, Version %s",
                                    u"Beobachtet und schreibt Live-Werte einer Automatisierungs-Laufzeit.", 300};
constexpr auto kAboutItems = AboutItems(kAboutTexts);
constexpr auto kMainItems = MainItems(u"Schließen");
constexpr CredentialTexts kCredentialTexts = {u"Anmeldedaten prüfen", u"Abbrechen", u"&Benutzername:", u"&Kennwort:",
                                              2};
constexpr auto kCredentialItems = CredentialItems(kCredentialTexts);

constexpr DialogTemplate kDialogs[] = {
    AboutDialog(kAboutTexts, kAboutItems),
    MainDialog(u"Quillon", kMainItems),
    CredentialDialog(kCredentialTexts, kCredentialItems),
};

constexpr GridMenuTexts kGridMenuTexts = {
    u"Beobachten",
    u"&Aufsteigend sortieren",
    u"Ab&steigend sortieren",
    u"&Fortlaufend",
    u"&Umschalten",
    u"&Variable oder Ausdruck einfügen...",
    u"&Kopieren",
    u"Ausschnei&den",
    u"E&infügen",
    u"Kopierte Zellen einfügen",
    u"&Zeile einfügen",
    u"Zeile &löschen",
};
constexpr auto kGridMenuItems = GridMenuItems(kGridMenuTexts);

constexpr MenuResource kMenus[] = {GridMenu(kGridMenuTexts, kGridMenuItems)};

constexpr ResourceTables kTables = TablesOf(kStrings, kDialogs, kMenus, kIcons, kTranslations);

} // namespace

QUILLON_RESOURCE_EXPORT const ResourceTables* QuillonResourceTables()
{
    return &kTables;
}
