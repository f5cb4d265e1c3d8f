// German resources of the program, exported for the language selection.
#include "res/Resource.h"
#include "res/ResourceTables.h"
#include "res/TemplateShapes.h"

namespace {

constexpr StringResource kStrings[] = {
    {IDS_ABOUTBOX, u"&Info über Quillon..."},
    {IDS_DISCONNECTED, u" - Getrennt"},
    {IDS_FORBIDDEN_FUNCTION, u"Der angegebene Ausdruck enthält eine nicht zulässige Funktion."},
    {IDS_ACCESS_DENIED, u"Benutzerzugriff auf die Ressource verweigert.\nBitte prüfen Sie die Rechte Ihrer Benutzergruppen."},
    {IDS_ALWAYS_ON_TOP, u"Immer im &Vordergrund"},
    {IDS_LOCAL_SERVER, u"LOKAL"},
    {IDS_CONNECT_ERROR, u"Fehler beim Verbinden mit '%s' (%d) .\nBitte stellen Sie sicher, dass '%s' auf der entfernten Station läuft."},
    {IDS_INVALID_CREDENTIAL, u"Ungültige Anmeldedaten"},
    {IDS_TLS_UNTRUSTED, u"Dem Zertifikat von '%s' wird nicht vertraut.\nSHA-256-Fingerabdruck: %s\nVergleichen Sie ihn mit dem Zertifikat der Laufzeit; stimmen sie überein, geben Sie dieses Zertifikat oder seine Zertifizierungsstelle mit tlsca an."},
    {IDS_TLS_NAME_MISMATCH, u"Das Zertifikat von '%s' ist nicht für diesen Namen ausgestellt."},
    {IDS_TLS_EXPIRED, u"Das Zertifikat von '%s' ist abgelaufen oder noch nicht gültig."},
    {IDS_TLS_ABSENT, u"'%s' spricht kein TLS, es wurde aber eine sichere Verbindung verlangt."},
    {IDS_TLS_REQUIRED, u"'%s' nimmt nur sichere Verbindungen an.\nSchalten Sie TLS mit /tls oder mit tls=1 in QuillonExt.ini ein."},
    {IDS_TLS_FAILED, u"Die sichere Verbindung zu '%s' ist fehlgeschlagen."},
    {IDS_SERVER_PROOF, u"'%s' konnte nicht nachweisen, dass es Ihr Kennwort kennt.\nEs ist womöglich nicht die Laufzeit, die es zu sein vorgibt."},
    {IDS_TLS_CA_FILE, u"Die Zertifikatsdatei '%s' kann nicht gelesen werden oder enthält kein Zertifikat."},
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

constexpr ResourceTables kTables = TablesOf(kStrings, kDialogs, kMenus, kIcons);

} // namespace

QUILLON_RESOURCE_EXPORT const ResourceTables* QuillonResourceTables()
{
    return &kTables;
}
