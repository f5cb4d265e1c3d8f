#include "FileStore.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <utility>

bool FileStore::ReadAll(const QString& path, qint64 maxBytes, QByteArray& out)
{
    out.clear();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() > maxBytes)
        return false;
    // In pieces: one read of the whole allowance would reserve all of it for
    // a file of a few hundred bytes.
    constexpr qint64 kPiece = 64 * 1024;
    while (out.size() < maxBytes) {
        const QByteArray piece = file.read(std::min(kPiece, maxBytes - out.size()));
        if (piece.isEmpty())
            break;
        out += piece;
    }
    return file.error() == QFileDevice::NoError;
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
