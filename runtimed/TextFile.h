#pragma once

#include <QString>
#include <QStringList>

// Reads the runtime's configuration files: UTF-8, bounded in size, a leading
// byte-order mark dropped, split into lines.
class TextFile
{
public:
    static bool ReadLines(const QString& path, qint64 maxSize, QStringList& lines, QString& error);
    static QStringList Lines(const QString& text);
};
