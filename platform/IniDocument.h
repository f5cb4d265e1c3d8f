#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// One INI file held in memory with the semantics of the Windows profile functions:
// sections and keys compare case-insensitively, the first occurrence wins, and an
// edit touches only its own line so that the rest of the file survives as it was.
class IniDocument
{
public:
    enum class Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE };

    static IniDocument FromBytes(const QByteArray& bytes);
    QByteArray ToBytes() const;

    std::optional<QString> Value(const QString& section, const QString& key) const;
    void SetValue(const QString& section, const QString& key, const QString& value);
    void RemoveKey(const QString& section, const QString& key);
    void RemoveSection(const QString& section);

private:
    struct Range
    {
        int header = -1; // line of "[section]"
        int end = -1;    // one past the section's last line
    };

    std::optional<Range> FindSection(const QString& section) const;
    int FindKey(const Range& range, const QString& key) const;

    QStringList m_lines;
    Encoding m_encoding = Encoding::Utf8;
    QString m_newline = QStringLiteral("\r\n");
    bool m_endsWithNewline = true;
};
