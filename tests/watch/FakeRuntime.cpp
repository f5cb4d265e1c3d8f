#include "FakeRuntime.h"

#include "runtime/VtText.h"

#include <algorithm>
#include <cstring>

namespace {

FakeRuntime* g_live = nullptr;

QString FromVt(const VtChar* text)
{
    return text ? QString::fromUtf16(text) : QString();
}

void ToVt(const QString& text, VtChar* buffer, std::size_t capacity)
{
    if (!buffer || capacity == 0)
        return;
    const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(text.size()), capacity - 1);
    std::copy_n(VtText(text), length, buffer);
    buffer[length] = 0;
}

// The value text lives in the record's value bytes, UTF-16, terminated.
constexpr std::size_t kRecordChars = sizeof(ResultRecord::value) / sizeof(VtChar);

void StoreRecord(ResultRecord* record, bool valid, const QString& value, std::uint16_t quality)
{
    *record = ResultRecord{};
    record->valid = valid ? 1 : 0;
    record->quality = quality;
    VtChar chars[kRecordChars] = {};
    ToVt(value, chars, kRecordChars);
    std::memcpy(record->value, chars, sizeof chars);
}

} // namespace

// The C-style functions of the table, forwarding to the live instance.
struct FakeCalls
{
    static FakeRuntime& R() { return *g_live; }

    static int IsToolkitReady()
    {
        R().Record("IsToolkitReady");
        return R().ready ? 1 : 0;
    }
    static int IsConnectionLost(VtHandle)
    {
        R().Record("IsConnectionLost");
        return R().connectionLost ? 1 : 0;
    }
    static void NormalizeTagText(VtChar* text, std::size_t capacity)
    {
        R().Record("NormalizeTagText");
        ToVt(FromVt(text).trimmed(), text, capacity);
    }
    static int CompileExpression(const VtChar* text, void* compiled, std::size_t size, int, int, int, int)
    {
        R().Record("CompileExpression");
        const QString source = FromVt(text);
        R().compiled << source;
        if (!R().Evaluate(source, nullptr, nullptr))
            return 1;
        ToVt(source, static_cast<VtChar*>(compiled), size / sizeof(VtChar));
        return 0;
    }
    static void EvaluateCompiled(const void* compiled, ResultRecord* record, int, int, int, int)
    {
        R().Record("EvaluateCompiled");
        QString value;
        std::uint16_t quality = record->quality;
        const bool valid = R().Evaluate(FromVt(static_cast<const VtChar*>(compiled)), &value, &quality);
        StoreRecord(record, valid, value, quality);
    }
    static int EvaluateTagList(const VtChar* lines, int count, ResultRecord* records, int)
    {
        R().Record("EvaluateTagList");
        const QString list = FromVt(lines);
        R().lists << list;
        const QStringList texts = list.split(u'\n');
        for (int i = 0; i < count; ++i) {
            QString value;
            std::uint16_t quality = 192;
            const bool valid = i < texts.size() && R().Evaluate(texts.at(i), &value, &quality);
            StoreRecord(&records[i], valid, value, valid ? quality : 0);
        }
        return 1;
    }
    static void FormatResultValue(VtChar* buffer, std::size_t capacity, const ResultRecord* record)
    {
        R().Record("FormatResultValue");
        VtChar chars[kRecordChars];
        std::memcpy(chars, record->value, sizeof chars);
        chars[kRecordChars - 1] = 0;
        ToVt(QString::fromUtf16(chars), buffer, capacity);
    }
    // Any code outside the four classes is a class of its own.
    static int GetQualityClass(std::uint16_t quality)
    {
        R().Record("GetQualityClass");
        return quality;
    }
    static void FormatQuality(std::uint16_t quality, VtChar* buffer, std::size_t capacity)
    {
        R().Record("FormatQuality");
        ToVt(QStringLiteral("TK%1").arg(quality), buffer, capacity);
    }
    static int ResolveTag(TagRef* ref, const VtChar* name)
    {
        R().Record("ResolveTag");
        const QString key = FromVt(name).toLower();
        const auto it = std::find(R().m_tagNames.begin(), R().m_tagNames.end(), key);
        if (it == R().m_tagNames.end())
            return 0;
        *ref = TagRef{};
        ref->words[0] = static_cast<std::uint32_t>(it - R().m_tagNames.begin()) + 1;
        return 1;
    }
    static FakeRuntime::Tag* TagOf(const TagRef* ref)
    {
        const std::size_t index = ref->words[0];
        if (index == 0 || index > R().m_tagNames.size())
            return nullptr;
        return &R().m_tags[R().m_tagNames[index - 1]];
    }
    static QString NameOf(const TagRef* ref) { return R().m_tagNames[ref->words[0] - 1]; }
    static int WriteTagText(const TagRef* ref, const VtChar* text, int, int, int, int)
    {
        R().Record("WriteTagText");
        FakeRuntime::Tag* tag = TagOf(ref);
        if (!tag)
            return 0;
        const QString value = FromVt(text);
        R().writes.push_back({NameOf(ref), value});
        bool number = true;
        const int converted = value.trimmed().toInt(&number);
        if (tag->integer && !number)
            return 0;
        tag->value = tag->integer ? QString::number(converted) : value;
        return 1;
    }
    static int ReadTagText(const TagRef* ref, VtChar* buffer, std::size_t capacity, std::uint16_t* quality, int)
    {
        R().Record("ReadTagText");
        const FakeRuntime::Tag* tag = TagOf(ref);
        if (!tag)
            return 0;
        ToVt(tag->value, buffer, capacity);
        *quality = tag->quality;
        return 1;
    }
    static int WriteTagInt(const TagRef* ref, int value, int, int, int, int)
    {
        R().Record("WriteTagInt");
        FakeRuntime::Tag* tag = TagOf(ref);
        if (!tag)
            return 0;
        R().writes.push_back({NameOf(ref), QString::number(value)});
        tag->value = QString::number(value);
        return 1;
    }
    static int ReadTagValueText(const TagRef* ref, VtChar* buffer, std::size_t capacity)
    {
        R().Record("ReadTagValueText");
        const FakeRuntime::Tag* tag = TagOf(ref);
        if (!tag)
            return 0;
        ToVt(tag->value, buffer, capacity);
        return 1;
    }
    static int TagBrowser(VtChar* buffer, int capacity, int, int, int)
    {
        R().Record("TagBrowser");
        if (R().browserPick.isEmpty() || R().browserPick.size() >= capacity)
            return 0;
        ToVt(R().browserPick, buffer, static_cast<std::size_t>(capacity));
        return 1;
    }

    static const RuntimeCalls& Table()
    {
        static const RuntimeCalls table{
            IsToolkitReady,    IsConnectionLost, NormalizeTagText, CompileExpression, EvaluateCompiled, EvaluateTagList,
            FormatResultValue, GetQualityClass,  FormatQuality,    ResolveTag,        WriteTagText,     ReadTagText,
            WriteTagInt,       ReadTagValueText, TagBrowser,       nullptr,
        };
        return table;
    }
};

FakeRuntime::FakeRuntime()
{
    g_live = this;
}

FakeRuntime::~FakeRuntime()
{
    if (g_live == this)
        g_live = nullptr;
}

const RuntimeCalls& FakeRuntime::Calls() const
{
    return FakeCalls::Table();
}

void FakeRuntime::AddTag(const QString& name, const QString& value, std::uint16_t quality, bool integer)
{
    const QString key = name.toLower();
    if (!m_tags.count(key))
        m_tagNames.push_back(key);
    m_tags[key] = Tag{value, quality, integer};
}

FakeRuntime::Tag& FakeRuntime::TagNamed(const QString& name)
{
    return m_tags.at(name.toLower());
}

bool FakeRuntime::HasTag(const QString& name) const
{
    return m_tags.count(name.toLower()) != 0;
}

int FakeRuntime::Count(const char* operation) const
{
    const auto it = m_counts.find(QString::fromLatin1(operation));
    return it == m_counts.end() ? 0 : it->second;
}

int FakeRuntime::TotalCalls() const
{
    int total = 0;
    for (const auto& entry : m_counts)
        total += entry.second;
    return total;
}

void FakeRuntime::ResetCounts()
{
    m_counts.clear();
    compiled.clear();
    lists.clear();
    writes.clear();
}

void FakeRuntime::Record(const char* operation)
{
    ++m_counts[QString::fromLatin1(operation)];
}

// A sum of terms, each a tag or a number; the quality is the lowest of the tags read.
bool FakeRuntime::Evaluate(const QString& text, QString* value, std::uint16_t* quality) const
{
    const QStringList terms = text.split(u'+');
    if (terms.size() == 1) {
        const QString term = text.trimmed();
        const auto tag = m_tags.find(term.toLower());
        if (tag != m_tags.end()) {
            if (value)
                *value = tag->second.value;
            if (quality)
                *quality = tag->second.quality;
            return true;
        }
    }
    double sum = 0;
    std::uint16_t lowest = 192;
    for (const QString& raw : terms) {
        const QString term = raw.trimmed();
        bool number = false;
        double termValue = term.toDouble(&number);
        const auto tag = m_tags.find(term.toLower());
        if (!number && tag == m_tags.end())
            return false;
        if (!number) {
            termValue = tag->second.value.toDouble(&number);
            if (!number)
                return false;
            lowest = std::min(lowest, tag->second.quality);
        }
        sum += termValue;
    }
    if (value)
        *value = QString::number(sum);
    if (quality)
        *quality = lowest;
    return true;
}
