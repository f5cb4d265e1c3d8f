#pragma once

#include "platform/Module.h"

#include <QString>

// The culture name from [Language] CultureName of the data-folder Program
// Settings.ini, or, when that is empty, from the user's locale; cut to capacity
// characters, terminator included.
QString ReadCultureName(const QString& programSettingsPath, int capacity);

// Loads the language library of exe for the culture into resourceModule, or
// leaves exe there when there is none.
void LoadLanguageLibrary(const QString& culture, HMODULE exe, HMODULE& resourceModule);
void FreeLanguageLibrary(HMODULE exe, HMODULE& resourceModule);

// A culture name is used as a folder name: one that could leave the program
// folder (a separator or a ".." part) is no culture at all.
bool IsSafeCultureName(const QString& culture);
