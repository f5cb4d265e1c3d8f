#include "FileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads to the end, but never more than one byte past the allowance: a file
// that grew while it was read is found too large, not cut.
FileStore::ReadStatus ReadOpenFile(int fd, qint64 maxBytes, QByteArray& out)
{
    // In pieces: one read of the whole allowance would reserve all of it for
    // a file of a few hundred bytes.
    constexpr qint64 kPiece = 64 * 1024;
    for (;;) {
        const qint64 room = std::min(kPiece, maxBytes + 1 - out.size());
        if (room <= 0)
            return FileStore::ReadStatus::TooLarge;
        const qsizetype before = out.size();
        out.resize(before + room);
        const ssize_t got = ::read(fd, out.data() + before, static_cast<size_t>(room));
        out.resize(before + std::max<qsizetype>(got, 0));
        if (got == 0)
            return FileStore::ReadStatus::Read;
        if (got < 0 && errno != EINTR)
            return FileStore::ReadStatus::Unreadable;
    }
}

} // namespace

FileStore::ReadStatus FileStore::Read(const QString& path, qint64 maxBytes, QByteArray& out)
{
    out.clear();
    if (path.isEmpty())
        return ReadStatus::Missing;
    // Not blocking, so that a FIFO under the name cannot hold the caller
    // until some writer comes.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable;
    struct stat info = {};
    ReadStatus status = ReadStatus::Read;
    if (::fstat(fd, &info) != 0)
        status = ReadStatus::Unreadable;
    else if (!S_ISREG(info.st_mode))
        status = ReadStatus::NotRegular;
    else if (info.st_size > maxBytes)
        status = ReadStatus::TooLarge;
    else
        status = ReadOpenFile(fd, maxBytes, out);
    ::close(fd);
    if (status != ReadStatus::Read)
        out.clear();
    return status;
}

bool FileStore::ReadAll(const QString& path, qint64 maxBytes, QByteArray& out)
{
    return Read(path, maxBytes, out) == ReadStatus::Read;
}

namespace {

FileStore::WriteFault& CurrentFault()
{
    static FileStore::WriteFault fault;
    return fault;
}

} // namespace

FileStore::WriteFault FileStore::SetWriteFault(WriteFault fault)
{
    return std::exchange(CurrentFault(), std::move(fault));
}

bool FileStore::Fails(WriteStage stage, const QString& path)
{
    const WriteFault& fault = CurrentFault();
    return fault && fault(stage, path);
}

bool FileStore::WriteAll(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty() || !QFileInfo(path).dir().exists())
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (Fails(WriteStage::Open, path) || !file.open(QIODevice::WriteOnly))
        return false;
    // A disk that fills up takes part of the content before it refuses.
    const bool full = Fails(WriteStage::Write, path);
    const QByteArray written = full ? bytes.left(bytes.size() / 2) : bytes;
    if (file.write(written) != written.size() || full) {
        file.cancelWriting();
        return false;
    }
    if (Fails(WriteStage::Commit, path)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
