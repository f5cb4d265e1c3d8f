#pragma once

#include <QString>
#include <QStringList>

class TagDatabase;

// Reads the plant description format of docs/demo-plant.md into a tag database.
class PlantLoader
{
public:
    // False with a message naming the line when the text is not a valid plant.
    static bool LoadText(const QString& text, TagDatabase& tags, QString& error);
    static bool LoadFile(const QString& path, TagDatabase& tags, QString& error);

    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
    static constexpr int kMaxTags = 100000;
    static constexpr int kMaxDevices = 64; // a poller thread each

private:
    static bool LoadLines(const QStringList& lines, TagDatabase& tags, QString& error);
};
