#include "LanguageSelection.h"

#include "platform/CultureTable.h"
#include "platform/Profile.h"

#include <QFileInfo>

namespace {

// "QuillonExt.exe" -> "QuillonExt-EXE-mui.dll"; an executable without one of the
// known extensions keeps its whole name: "QuillonExt" -> "QuillonExt-mui.dll".
QString LibraryFileName(const QString& moduleFileName)
{
    QString name = moduleFileName;
    QString extension;
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0) {
        const QString ext = name.mid(dot + 1);
        for (const char16_t* known : {u"dll", u"exe", u"ocx"}) {
            if (ext.compare(QString::fromUtf16(known), Qt::CaseInsensitive) == 0) {
                extension = ext.toUpper();
                name.truncate(dot);
                break;
            }
        }
    }
    if (name.isEmpty())
        return {};
    return extension.isEmpty() ? name + QStringLiteral("-mui.dll")
                               : name + u'-' + extension + QStringLiteral("-mui.dll");
}

// The culture folder is the culture or its shortened form ("sr-SP-Latn", "sr-SP",
// "sr"); "" when none of them exists.
QString ProbeCultureFolder(const QString& folder, const QString& culture)
{
    QString candidate = culture;
    while (!candidate.isEmpty()) {
        if (QFileInfo(folder + candidate).isDir())
            return candidate;
        const qsizetype dash = candidate.lastIndexOf(u'-');
        candidate = dash >= 0 ? candidate.left(dash) : QString();
    }
    return {};
}

} // namespace

bool IsSafeCultureName(const QString& culture)
{
    if (culture.contains(u'/') || culture.contains(u'\\') || culture.contains(QChar(0)))
        return false;
    for (const QString& part : culture.split(u'-')) {
        if (part == QStringLiteral(".."))
            return false;
    }
    return true;
}

QString ReadCultureName(const QString& programSettingsPath, int capacity)
{
    if (capacity <= 0)
        return {};
    QString culture;
    if (!programSettingsPath.isEmpty())
        GetPrivateProfileStringW(QStringLiteral("Language"), QStringLiteral("CultureName"), QString(), culture,
                                 DWORD(capacity), programSettingsPath);
    if (culture.isEmpty())
        culture = QString::fromUtf16(GetCultureNameFromLcid(GetUserDefaultLCID())).left(capacity - 1);
    return culture;
}

void LoadLanguageLibrary(const QString& culture, HMODULE exe, HMODULE& resourceModule)
{
    if (resourceModule && resourceModule != exe)
        FreeLibrary(resourceModule);
    resourceModule = exe;

    const QString name = IsSafeCultureName(culture) ? culture : QString();
    if (name.compare(QStringLiteral("en-US"), Qt::CaseInsensitive) == 0)
        return;

    // Linux paths have no short form, so the module path is already the long one.
    const QString path = GetModuleFileNameW(exe);
    qsizetype separator = path.lastIndexOf(u'\\');
    if (separator < 0)
        separator = path.lastIndexOf(u'/');
    if (separator < 0)
        return;
    const QString folder = path.left(separator) + u'/';
    const QString library = LibraryFileName(path.mid(separator + 1));
    if (library.isEmpty())
        return;

    const QString cultureFolder = ProbeCultureFolder(folder, name);
    const QString libraryPath = folder + (cultureFolder.isEmpty() ? QString() : cultureFolder + u'/') + library;
    if (HMODULE loaded = LoadLibraryW(libraryPath))
        resourceModule = loaded;
}

void FreeLanguageLibrary(HMODULE exe, HMODULE& resourceModule)
{
    if (resourceModule && resourceModule != exe)
        FreeLibrary(resourceModule);
    resourceModule = nullptr;
}
