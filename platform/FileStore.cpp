#include "FileStore.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

bool FileStore::ReadAll(const QString& path, qint64 maxBytes, QByteArray& out)
{
    out.clear();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() > maxBytes)
        return false;
    out = file.read(maxBytes);
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
