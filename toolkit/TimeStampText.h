#pragma once

#include "platform/WinTypes.h"

#include <QString>

// Time stamps as text, by kind: 0 local date and time "yyyy-MM-dd HH:mm:ss"
// (milliseconds shown when not zero), 1 local date "yyyy-MM-dd", 2 time of
// day "HH:mm:ss", held as the time since midnight.
class TimeStampText
{
public:
    static bool Parse(const QString& text, int kind, FILETIME& time);
    static bool Format(const FILETIME& time, int kind, QString& text);
};
