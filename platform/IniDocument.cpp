#include "IniDocument.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

QString SectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return {};
    const qsizetype close = t.indexOf(u']');
    return close < 0 ? t.mid(1).trimmed() : t.mid(1, close - 1).trimmed();
}

bool IsSectionLine(const QString& line)
{
    return line.trimmed().startsWith(u'[');
}

bool IsComment(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(u';');
}

// Splits "key = value" into its trimmed halves; lines without '=' hold no key.
bool SplitKeyLine(const QString& line, QString& key, QString& value)
{
    if (IsComment(line) || IsSectionLine(line))
        return false;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    return true;
}

// Matching quotes around a value are not part of it.
QString Unquote(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniDocument IniDocument::FromBytes(const QByteArray& bytes)
{
    IniDocument doc;
    QString text;
    if (bytes.startsWith("\xFF\xFE")) {
        doc.m_encoding = Encoding::Utf16LE;
        text = QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    } else if (bytes.startsWith("\xFE\xFF")) {
        doc.m_encoding = Encoding::Utf16BE;
        text = QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        doc.m_encoding = Encoding::Utf8Bom;
        text = QString::fromUtf8(bytes.mid(3));
    } else {
        text = QString::fromUtf8(bytes);
    }
    if (text.isEmpty())
        return doc;
    if (!text.contains(u"\r\n") && text.contains(u'\n'))
        doc.m_newline = QStringLiteral("\n");
    doc.m_endsWithNewline = text.endsWith(u'\n');
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    doc.m_lines = text.split(u'\n');
    if (doc.m_endsWithNewline)
        doc.m_lines.removeLast();
    return doc;
}

QByteArray IniDocument::ToBytes() const
{
    QString text = m_lines.join(m_newline);
    if (m_endsWithNewline && !m_lines.isEmpty())
        text += m_newline;
    switch (m_encoding) {
    case Encoding::Utf16LE: return QByteArray("\xFF\xFE") + QStringEncoder(QStringEncoder::Utf16LE)(text);
    case Encoding::Utf16BE: return QByteArray("\xFE\xFF") + QStringEncoder(QStringEncoder::Utf16BE)(text);
    case Encoding::Utf8Bom: return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Encoding::Utf8: break;
    }
    return text.toUtf8();
}

std::optional<IniDocument::Range> IniDocument::FindSection(const QString& section) const
{
    const QString wanted = section.trimmed();
    for (int i = 0; i < m_lines.size(); ++i) {
        if (!IsSectionLine(m_lines[i]) || !SameName(SectionName(m_lines[i]), wanted))
            continue;
        Range range{i, i + 1};
        while (range.end < m_lines.size() && !IsSectionLine(m_lines[range.end]))
            ++range.end;
        return range;
    }
    return std::nullopt;
}

int IniDocument::FindKey(const Range& range, const QString& key) const
{
    const QString wanted = key.trimmed();
    QString name, value;
    for (int i = range.header + 1; i < range.end; ++i) {
        if (SplitKeyLine(m_lines[i], name, value) && SameName(name, wanted))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const
{
    const auto range = FindSection(section);
    if (!range)
        return std::nullopt;
    const int line = FindKey(*range, key);
    if (line < 0)
        return std::nullopt;
    QString name, value;
    SplitKeyLine(m_lines[line], name, value);
    return Unquote(value);
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value)
{
    const QString line = key.trimmed() + u'=' + value;
    const auto range = FindSection(section);
    if (!range) {
        m_lines << (u'[' + section.trimmed() + u']') << line;
        m_endsWithNewline = true;
        return;
    }
    const int existing = FindKey(*range, key);
    if (existing >= 0) {
        m_lines[existing] = line;
        return;
    }
    // A new key goes after the section's last non-blank line, before any blank
    // lines that separate it from the next section.
    int at = range->end;
    while (at > range->header + 1 && m_lines[at - 1].trimmed().isEmpty())
        --at;
    m_lines.insert(at, line);
}

void IniDocument::RemoveKey(const QString& section, const QString& key)
{
    const auto range = FindSection(section);
    if (!range)
        return;
    const int line = FindKey(*range, key);
    if (line >= 0)
        m_lines.removeAt(line);
}

void IniDocument::RemoveSection(const QString& section)
{
    const auto range = FindSection(section);
    if (range)
        m_lines.remove(range->header, range->end - range->header);
}
