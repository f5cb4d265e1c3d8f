#pragma once

#include "platform/WinTypes.h"

#include <QString>

// Checks of a partly typed number, as the numeric editors judge each keystroke.
// Both accept a lone minus sign (and the real check a lone decimal point) as 0,
// so that a number can be started; trailing spaces and tabs are allowed.

// An optional minus sign and decimal digits. The value saturates at the int
// range; it is 0 for a lone minus sign.
BOOL ParseIntegerText(const QString& text, int* value);

// A decimal number that may still lack its fraction or exponent digits:
// "1.", "1e", "1e-" pass, a second decimal point or a stray letter does not.
BOOL ParseRealText(const QString& text, double* value);
