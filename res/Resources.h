#pragma once

#include "platform/Module.h"
#include "platform/WinTypes.h"

#include <QIcon>
#include <QString>
#include <QStringList>

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

// Fills "%s" and "%d" of a text of the string table with the arguments in
// order. The texts come from a language library and never reach a
// printf-style formatter.
QString FormatResText(const QString& format, const QStringList& arguments);

// The active resource module's translation of a text handed to Qt's
// translate(); a null string when it carries none (English is the source).
QString LoadResTranslation(const char* context, const char* source);

// Dialog templates, menus and icons of the active resource module. A library
// that lacks one (an older library, or an id it does not carry) gets the
// program's own, so that a window never fails to open for want of a template.
const DialogTemplate* LoadDialogTemplate(UINT id);
const DialogTemplate* LoadDialogTemplate(HMODULE module, UINT id);
const MenuResource* LoadMenuResource(UINT id);
const MenuResource* LoadMenuResource(HMODULE module, UINT id);
QIcon LoadIconResource(UINT id);
QIcon LoadIconResource(HMODULE module, UINT id);
