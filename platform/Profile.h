#pragma once

// The private-profile (INI) functions with Windows semantics: a missing file,
// section or key gives the default; texts are cut to the capacity (terminator
// included); writing keeps the rest of the file and never creates a folder.

#include "WinTypes.h"

#include <QString>

DWORD GetPrivateProfileStringW(const QString& section, const QString& key, const QString& defaultValue, QString& out,
                               DWORD capacity, const QString& file);
UINT GetPrivateProfileIntW(const QString& section, const QString& key, int defaultValue, const QString& file);
// An empty key removes the section, a null value removes the key.
BOOL WritePrivateProfileStringW(const QString& section, const QString& key, const QString& value, const QString& file);

// The application's own profile file (the framework's profile name).
void SetProfileFileName(const QString& file);
QString GetProfileFileName();
UINT GetProfileIntW(const QString& section, const QString& key, int defaultValue);
QString GetProfileStringW(const QString& section, const QString& key, const QString& defaultValue);
BOOL WriteProfileIntW(const QString& section, const QString& key, int value);
BOOL WriteProfileStringW(const QString& section, const QString& key, const QString& value);
