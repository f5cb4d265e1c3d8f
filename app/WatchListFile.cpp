#include "WatchListFile.h"

#include <QStringDecoder>

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");
const QString kUtf8MarkAsLatin1 = QString::fromLatin1(kUtf8Mark);

bool NeedsUnicodeForm(const std::vector<WatchListRow>& rows)
{
    for (const WatchListRow& row : rows) {
        for (const QChar c : row.text) {
            if (c.unicode() > 0xFF || c == u'\r' || c == u'\n')
                return true;
        }
    }
    // A one-byte list that begins with the mark's three characters would read
    // back as the other form.
    return !rows.empty() && rows.front().text.startsWith(kUtf8MarkAsLatin1);
}

QString Escape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out;
}

QString Unescape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == u'r' ? QChar(u'\r') : next == u'n' ? QChar(u'\n') : next;
    }
    return out;
}

WatchListRow ParseLine(const QString& line, bool unicodeForm)
{
    const qsizetype bar = line.lastIndexOf(u'|');
    const QString text = bar < 0 ? line : line.left(bar);
    const QString flag = bar < 0 ? QString() : line.mid(bar + 1);
    return {unicodeForm ? Unescape(text) : text, flag == QStringLiteral("1")};
}

} // namespace

QByteArray WatchListFile::Encode(const std::vector<WatchListRow>& rows)
{
    const bool unicodeForm = NeedsUnicodeForm(rows);
    QByteArray bytes = unicodeForm ? kUtf8Mark : QByteArray();
    for (const WatchListRow& row : rows) {
        bytes += unicodeForm ? Escape(row.text).toUtf8() : row.text.toLatin1();
        bytes += row.continuous ? "|1\r\n" : "|0\r\n";
    }
    return bytes;
}

std::vector<WatchListRow> WatchListFile::Decode(const QByteArray& bytes)
{
    std::vector<WatchListRow> rows;
    const bool unicodeForm = bytes.startsWith(kUtf8Mark);
    // Only the file's first three bytes are the mark; a row's own leading
    // U+FEFF is text, and each line decodes on its own.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    qsizetype pos = unicodeForm ? kUtf8Mark.size() : 0;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line(bytes.constData() + pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            break;
        rows.push_back(ParseLine(unicodeForm ? QString(utf8(line)) : QString::fromLatin1(line), unicodeForm));
        pos = end + 1;
    }
    return rows;
}

std::vector<WatchListRow> WatchListFile::Read(const QString& path, FileStore::ReadStatus* status)
{
    QByteArray bytes;
    const FileStore::ReadStatus result = FileStore::Read(path, kMaxBytes, bytes);
    if (status)
        *status = result;
    return Decode(bytes);
}

bool WatchListFile::Write(const QString& path, const std::vector<WatchListRow>& rows)
{
    return FileStore::WriteAll(path, Encode(rows));
}
