#include "KnownFolders.h"

#include "Module.h"

#include <QDir>

HRESULT GetLocalAppDataFolder(QString& folder)
{
    folder.clear();
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) {
        folder = QDir::cleanPath(xdg);
        return S_OK;
    }
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home))
        return E_FAIL;
    folder = QDir::cleanPath(home + QStringLiteral("/.local/share"));
    return S_OK;
}

QString GetProgramFolder()
{
    const QString path = GetModuleFileNameW(GetExecutableModule());
    return path.left(path.lastIndexOf(u'/') + 1);
}
