#pragma once

#include "platform/FileStore.h"
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

    // A list larger than this is no list of ours.
    static constexpr qint64 kMaxBytes = qint64(64) << 20;
    // The rows of the file; a missing file reads as no rows. Anything else
    // that is not a readable regular file of at most kMaxBytes gives no rows,
    // and its reason in status.
    static std::vector<WatchListRow> Read(const QString& path, FileStore::ReadStatus* status = nullptr);
    // Replaces the file only once the new content is complete.
    static bool Write(const QString& path, const std::vector<WatchListRow>& rows);
};
