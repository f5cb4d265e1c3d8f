#include "FileStore.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

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

bool FileStore::WriteAll(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty() || !QFileInfo(path).dir().exists())
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
