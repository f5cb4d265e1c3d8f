#pragma once

#include "platform/Module.h"
#include "platform/WinTypes.h"

#include <QIcon>
#include <QString>

struct DialogTemplate;
struct MenuResource;
struct ResourceTables;

// The tables of a module: a language library's exported ones, or the program's
// own for the executable (or a library that exports none).
const ResourceTables* ResourceTablesOf(HMODULE module);

// A string of the active resource module (AfxGetResourceHandle); "" when the
// module has no string with that id.
QString LoadResString(UINT id);
QString LoadResString(HMODULE module, UINT id);

// Dialog templates, menus and icons of the active resource module. A library
// that lacks one (an older library, or an id it does not carry) gets the
// program's own, so that a window never fails to open for want of a template.
const DialogTemplate* LoadDialogTemplate(UINT id);
const DialogTemplate* LoadDialogTemplate(HMODULE module, UINT id);
const MenuResource* LoadMenuResource(UINT id);
const MenuResource* LoadMenuResource(HMODULE module, UINT id);
QIcon LoadIconResource(UINT id);
QIcon LoadIconResource(HMODULE module, UINT id);
