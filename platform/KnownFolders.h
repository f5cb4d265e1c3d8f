#pragma once

#include "WinTypes.h"

#include <QString>

// The per-user "local application data" folder: $XDG_DATA_HOME when it is an
// absolute path, else ~/.local/share. Fails (E_FAIL) when neither can be found.
// The folder comes back without a trailing separator.
HRESULT GetLocalAppDataFolder(QString& folder);

// The folder of the running executable, with a trailing '/'.
QString GetProgramFolder();
