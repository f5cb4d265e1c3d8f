#include "Profile.h"

#include "FileStore.h"
#include "IniDocument.h"

#include <QFile>

namespace {

// Settings files are small; anything larger is not one of ours and reads as absent.
constexpr qint64 kMaxProfileBytes = 16 * 1024 * 1024;
constexpr DWORD kProfileTextCapacity = 32767;

QString g_profileFile;

std::optional<QString> ReadValue(const QString& section, const QString& key, const QString& file)
{
    QByteArray bytes;
    if (!FileStore::ReadAll(file, kMaxProfileBytes, bytes))
        return std::nullopt;
    return IniDocument::FromBytes(bytes).Value(section, key);
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The integer reading of GetPrivateProfileInt: optional sign, then decimal
// digits or a 0x hexadecimal number; whatever follows is ignored.
UINT ParseProfileInt(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        negative = t[i++] == u'-';
    UINT value = 0;
    if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
        for (i += 2; i < t.size() && HexDigit(t[i]) >= 0; ++i)
            value = value * 16u + UINT(HexDigit(t[i]));
    } else {
        for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i)
            value = value * 10u + UINT(t[i].unicode() - u'0');
    }
    return negative ? 0u - value : value;
}

} // namespace

DWORD GetPrivateProfileStringW(const QString& section, const QString& key, const QString& defaultValue, QString& out,
                               DWORD capacity, const QString& file)
{
    out.clear();
    if (capacity == 0)
        return 0;
    QString value;
    if (const auto found = ReadValue(section, key, file))
        value = *found;
    else {
        value = defaultValue;
        while (value.endsWith(u' '))
            value.chop(1);
    }
    out = value.left(qsizetype(capacity) - 1);
    return DWORD(out.size());
}

UINT GetPrivateProfileIntW(const QString& section, const QString& key, int defaultValue, const QString& file)
{
    const auto found = ReadValue(section, key, file);
    return found ? ParseProfileInt(*found) : UINT(defaultValue);
}

BOOL WritePrivateProfileStringW(const QString& section, const QString& key, const QString& value, const QString& file)
{
    QByteArray bytes;
    if (!FileStore::ReadAll(file, kMaxProfileBytes, bytes) && QFile::exists(file))
        return FALSE; // unreadable or oversized: leave it as it is
    IniDocument doc = IniDocument::FromBytes(bytes);
    if (key.isEmpty())
        doc.RemoveSection(section);
    else if (value.isNull())
        doc.RemoveKey(section, key);
    else
        doc.SetValue(section, key, value);
    return FileStore::WriteAll(file, doc.ToBytes()) ? TRUE : FALSE;
}

void SetProfileFileName(const QString& file)
{
    g_profileFile = file;
}

QString GetProfileFileName()
{
    return g_profileFile;
}

UINT GetProfileIntW(const QString& section, const QString& key, int defaultValue)
{
    return GetPrivateProfileIntW(section, key, defaultValue, g_profileFile);
}

QString GetProfileStringW(const QString& section, const QString& key, const QString& defaultValue)
{
    QString out;
    GetPrivateProfileStringW(section, key, defaultValue, out, kProfileTextCapacity, g_profileFile);
    return out;
}

BOOL WriteProfileIntW(const QString& section, const QString& key, int value)
{
    return WritePrivateProfileStringW(section, key, QString::number(value), g_profileFile);
}

BOOL WriteProfileStringW(const QString& section, const QString& key, const QString& value)
{
    return WritePrivateProfileStringW(section, key, value, g_profileFile);
}
