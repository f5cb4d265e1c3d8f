#pragma once

#include <QStringView>

// _wtoi: leading white space, an optional sign, then decimal digits; 0 when there
// are none. Out-of-range values saturate, as the C runtime's does.
int _wtoi(QStringView text);
