#pragma once

#include <QString>

// One watch row as a list stores it: the Tag/Expression text and the
// Continuous box.
struct WatchListRow
{
    QString text;
    bool continuous = false;
};
