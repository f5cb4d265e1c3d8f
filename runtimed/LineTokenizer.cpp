#include "LineTokenizer.h"

bool LineTokenizer::Split(const QString& line, QStringList& fields)
{
    fields.clear();
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        const QChar c = line[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        if (c == '"') {
            const qsizetype end = line.indexOf('"', i + 1);
            if (end < 0)
                return false;
            fields << line.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        const qsizetype start = i;
        while (i < n && !line[i].isSpace())
            ++i;
        fields << line.mid(start, i - start);
    }
    return true;
}
