#pragma once

#include "watch/WatchListRow.h"

#include <QByteArray>
#include <QString>

#include <vector>

// DBRemoteQuillon.dat: one row a line, the text, "|", then "1" for a Continuous
// row or "0"; CR LF after each line; reading stops at the first empty line.
// A list whose texts fit in one byte a character and hold no line break is
// stored exactly so. Any other list is stored as UTF-8 behind a byte-order
// mark, with "\\", "\r" and "\n" escaped inside the texts, so that no row is
// lost, split or merged.
class WatchListFile
{
public:
    static QByteArray Encode(const std::vector<WatchListRow>& rows);
    static std::vector<WatchListRow> Decode(const QByteArray& bytes);

    // A missing or unreadable file reads as no rows.
    static std::vector<WatchListRow> Read(const QString& path);
    // Replaces the file only once the new content is complete.
    static bool Write(const QString& path, const std::vector<WatchListRow>& rows);
};
