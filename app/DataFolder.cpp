#include "DataFolder.h"

#include "platform/CrtString.h"
#include "platform/KnownFolders.h"
#include "platform/Profile.h"

#include <QFileInfo>

namespace {
constexpr int kCompanyWithoutVersion = 40;
constexpr DWORD kProductFolderCapacity = 128;
constexpr DWORD kProductNameCapacity = 256;
constexpr DWORD kShortSettingCapacity = 128; // the version and the company id
} // namespace

QString GetProductFolderName(const QString& programSettingsPath, bool withVersion)
{
    QString product;
    GetPrivateProfileStringW(QStringLiteral("OEM"), QStringLiteral("ProductName"), QStringLiteral("Vantel"), product,
                             kProductNameCapacity, programSettingsPath);
    QString name = product;
    if (withVersion) {
        QString version;
        GetPrivateProfileStringW(QStringLiteral("Install"), QStringLiteral("Version"), QStringLiteral("6.1"), version,
                                 kShortSettingCapacity, programSettingsPath);
        name = product + QStringLiteral(" v") + version;
    }
    return name.left(kProductFolderCapacity - 1);
}

QString GetDataFolder(const QString& programFolder)
{
    const QString settings = programFolder + QStringLiteral("Program Settings.ini");
    QString productFolder;
    const QFileInfo info(settings);
    if (info.exists() && !info.isDir()) {
        QString companyText;
        GetPrivateProfileStringW(QStringLiteral("OEM"), QStringLiteral("CompanyID"), QStringLiteral("0"), companyText,
                                 kShortSettingCapacity, settings);
        const bool withVersion = _wtoi(companyText) != kCompanyWithoutVersion;
        productFolder = GetProductFolderName(settings, withVersion) + u'/';
    }

    QString localData;
    if (GetLocalAppDataFolder(localData) < 0)
        return programFolder;
    const QString folder = localData + u'/' + productFolder;
    // A path cut at the capacity would name another folder: keep the program folder.
    return folder.size() < MAX_PATH ? folder : programFolder;
}
