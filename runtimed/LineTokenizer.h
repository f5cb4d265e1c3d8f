#pragma once

#include <QString>
#include <QStringList>

// Splits one line of a plant or users file into fields: white space separates,
// a double-quoted field may hold spaces (no escapes), '#' outside quotes starts
// a comment. CR at the end is ignored, so files from Windows read the same.
class LineTokenizer
{
public:
    // False for an unterminated quote.
    static bool Split(const QString& line, QStringList& fields);
};
