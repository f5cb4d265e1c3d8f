#pragma once

#include "WinTypes.h"

#include <QByteArray>
#include <QString>

using LCID = DWORD;

// The fixed locale-id-to-culture-name table; "" for an id that is not in it.
// Exact lookup: an id is never reduced to its primary language.
const char16_t* GetCultureNameFromLcid(LCID lcid);

// The user's locale id from a POSIX locale name such as "de_AT.UTF-8".
LCID LcidFromPosixLocale(const QByteArray& locale);
// From LC_ALL, then LC_MESSAGES, then LANG; no locale at all is en-US.
LCID GetUserDefaultLCID();
