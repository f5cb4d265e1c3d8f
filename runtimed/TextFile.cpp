#include "TextFile.h"

#include <QFile>

bool TextFile::ReadLines(const QString& path, qint64 maxSize, QStringList& lines, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > maxSize) {
        error = QStringLiteral("%1: larger than %2 bytes").arg(path).arg(maxSize);
        return false;
    }
    lines = Lines(QString::fromUtf8(file.readAll()));
    return true;
}

QStringList TextFile::Lines(const QString& text)
{
    // A byte-order mark from an editor is not part of the first line.
    return (text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text).split('\n');
}
