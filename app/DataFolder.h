#pragma once

#include <QString>

constexpr int MAX_PATH = 260;

// The per-user data folder, with a trailing '/': local application data plus the
// product folder named by the program folder's Program Settings.ini; the program
// folder itself when no local application-data folder can be found.
QString GetDataFolder(const QString& programFolder);

// [OEM] ProductName, followed by " v" and [Install] Version when withVersion.
QString GetProductFolderName(const QString& programSettingsPath, bool withVersion);
