// The settings files on any bytes: names, a value and a probe key come first
// (each ended by a backslash and one more character), the file's bytes last.
// Whatever the file holds (any byte-order mark, CR LF or LF, broken text),
// writing it back unchanged must keep every value, a key written must read
// back exactly, in memory and through the profile functions on a real file,
// and no other key may change.
#include "platform/IniDocument.h"
#include "platform/Profile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t kMaxName = 64;

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Never null: a null value would ask the profile functions to remove the key.
QString TakeText(FuzzedDataProvider& in)
{
    const QString text = QString::fromUtf8(in.ConsumeRandomLengthString(kMaxName));
    return text.isNull() ? QStringLiteral("") : text;
}

bool OneLine(const QString& text)
{
    return !text.contains(u'\r') && !text.contains(u'\n');
}

// What a settings file can hold at all: a line of "key=value" under "[section]"
// that reads as such, and a value with no outer blanks or quotes to strip.
bool Storable(const QString& section, const QString& key, const QString& value)
{
    const QString name = key.trimmed();
    const bool quoted =
        value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front();
    return OneLine(section) && !section.contains(u']') && OneLine(key) && !key.contains(u'=') &&
           !name.startsWith(u'[') && !name.startsWith(u';') && OneLine(value) && value == value.trimmed() && !quoted;
}

bool SameName(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// Writing the document back and reading it again changes nothing more.
IniDocument Reread(const IniDocument& doc)
{
    const QByteArray bytes = doc.ToBytes();
    IniDocument again = IniDocument::FromBytes(bytes);
    Require(again.ToBytes() == bytes);
    return again;
}

// In memory where there is such a folder: every profile write syncs its file.
const QString& ScratchFile()
{
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/quillon-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/quillon-fuzz-XXXXXX"));
    static const QString file = dir.filePath(QStringLiteral("fuzz.ini"));
    Require(dir.isValid());
    return file;
}

// The same through the profile functions: the text read is cut to the capacity
// and a written key reads back.
void CheckProfile(const QByteArray& bytes, const QString& section, const QString& key, const QString& value,
                  DWORD capacity, bool storable)
{
    const QString& file = ScratchFile();
    {
        QFile out(file);
        Require(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size());
    }
    const QString fallback = QStringLiteral("none");
    const std::optional<QString> expected = IniDocument::FromBytes(bytes).Value(section, key);
    QString text;
    const DWORD length = GetPrivateProfileStringW(section, key, fallback, text, capacity, file);
    Require(length == DWORD(text.size()) && (capacity == 0 ? length == 0 : length < capacity));
    Require(capacity == 0 || text == expected.value_or(fallback).left(qsizetype(capacity) - 1));
    (void)GetPrivateProfileIntW(section, key, -1, file);
    if (!storable || key.isEmpty())
        return;
    Require(WritePrivateProfileStringW(section, key, value, file) == TRUE);
    Require(GetPrivateProfileStringW(section, key, fallback, text, 32767, file) == DWORD(value.size()));
    Require(text == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString section = TakeText(in);
    const QString key = TakeText(in);
    const QString value = TakeText(in);
    const QString probeSection = TakeText(in);
    const QString probeKey = TakeText(in);
    const std::uint8_t operation = in.ConsumeIntegral<std::uint8_t>();
    const DWORD capacity = in.ConsumeIntegralInRange<DWORD>(0, 300);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), qsizetype(rest.size()));

    IniDocument doc = IniDocument::FromBytes(bytes);
    const std::optional<QString> probe = doc.Value(probeSection, probeKey);
    Require(Reread(doc).Value(probeSection, probeKey) == probe);
    Require(doc.Value(section, key) == Reread(doc).Value(section, key));

    const bool storable = Storable(section, key, value);
    const bool sameSection = SameName(section, probeSection);
    bool probeKept = !sameSection || !SameName(key, probeKey);
    switch (operation % 3) {
    case 0:
        doc.SetValue(section, key, value);
        if (storable) {
            Require(doc.Value(section, key) == value);
            Require(Reread(doc).Value(section, key) == value);
        }
        probeKept = probeKept && storable;
        break;
    case 1: doc.RemoveKey(section, key); break;
    default:
        doc.RemoveSection(section);
        probeKept = !sameSection;
        break;
    }
    if (probeKept)
        Require(doc.Value(probeSection, probeKey) == probe);

    CheckProfile(bytes, section, key, value, capacity, storable);
    return 0;
}
