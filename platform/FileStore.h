#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Whole-file reads and writes for settings and lists. A write goes to a new file
// beside the old one and replaces it only when complete, so a crash or a full disk
// leaves the old content; where no file can be made beside it (a folder that is
// not writable while the file is), it writes in place. Folders are never created.
class FileStore
{
public:
    enum class ReadStatus { Read, Missing, NotRegular, TooLarge, Unreadable };
    // Reads a regular file of at most maxBytes whole. Anything else under the
    // name (a FIFO, a device, a folder) is refused without waiting on it, and
    // out is then empty.
    static ReadStatus Read(const QString& path, qint64 maxBytes, QByteArray& out);
    // False when the file is missing, unreadable, no regular file, or larger
    // than maxBytes.
    static bool ReadAll(const QString& path, qint64 maxBytes, QByteArray& out);
    static bool WriteAll(const QString& path, const QByteArray& bytes);

    // The stages of a write. A fault makes a stage fail as a full or read-only
    // disk would, where permissions cannot (a process running as root).
    enum class WriteStage { Open, Write, Commit };
    using WriteFault = std::function<bool(WriteStage stage, const QString& path)>;
    // Returns the fault it replaces; an empty one fails nothing.
    static WriteFault SetWriteFault(WriteFault fault);

private:
    static bool Fails(WriteStage stage, const QString& path);
};
