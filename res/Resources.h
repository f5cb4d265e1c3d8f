#pragma once

#include "platform/Module.h"
#include "platform/WinTypes.h"

#include <QString>

struct ResourceTables;

// The tables of a module: a language library's exported ones, or the program's
// own for the executable (or a library that exports none).
const ResourceTables* ResourceTablesOf(HMODULE module);

// A string of the active resource module (AfxGetResourceHandle); "" when the
// module has no string with that id.
QString LoadResString(UINT id);
QString LoadResString(HMODULE module, UINT id);
