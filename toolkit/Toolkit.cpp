// The exported operations: each checks its arguments and hands over to the
// classes that do the work. docs/protocol.md documents results and codes.
#include "runtime/VantelToolkit.h"

#include "CompiledExpression.h"
#include "ResultRecordCodec.h"
#include "RuntimeClient.h"
#include "TagReference.h"
#include "TextValidator.h"
#include "TimeStampText.h"
#include "TlsLayer.h"
#include "ToolkitLog.h"
#include "ToolkitMessages.h"
#include "ToolkitState.h"
#include "Utf16Text.h"
#include "toolkit/protocol/Protocol.h"

#include <QStringList>

#include <algorithm>

namespace {

const QString kLogOnTitle = QStringLiteral("Log On");
const QString kNotConnected = QStringLiteral("no runtime is connected");
constexpr int kMaxUserName = 256;
constexpr int kMaxPassword = 1024;
constexpr int kMaxPort = 65535;

ToolkitState& State()
{
    return ToolkitState::Instance();
}

// True when the caller broke the operation's contract. The operation answers only
// with its error value, so the category is where the caller's developer learns why.
bool Misused(bool broken, const char* operation, const char* problem)
{
    if (broken)
        qCWarning(lcToolkit, "%s: %s", operation, problem);
    return broken;
}

// A handle that is neither empty nor one this toolkit gave out.
bool UnknownHandle(VtHandle handle, const char* operation)
{
    return Misused(handle && !State().Find(handle), operation, "unknown connection handle");
}

// The active connection, if there is one and it still works.
VtConnection* Live()
{
    VtConnection* c = State().Active();
    return c && !c->IsLost() ? c : nullptr;
}

ConnectionTarget Target(const VtChar* server, int port, const VtChar* proxy, int proxyPort, const VtChar* gateway,
                        int polling)
{
    constexpr std::size_t kMaxHost = 1024;
    return {Utf16Text::Read(server, kMaxHost).trimmed(),
            port,
            Utf16Text::Read(proxy, kMaxHost).trimmed(),
            proxyPort,
            Utf16Text::Read(gateway, kMaxHost).trimmed(),
            polling,
            State().Tls(),
            State().CaFile()};
}

bool HasControlCharacters(const QString& s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

// Resolves a TagRef against the active connection; -1 when it does not fit it.
std::int64_t TagIdOf(const TagRef* ref, VtConnection*& connection)
{
    connection = Live();
    return connection ? TagReference::IdOf(ref, connection->Generation()) : -1;
}

int ReadInto(const TagRef* ref, VtChar* buffer, std::size_t capacity, std::uint16_t* quality, const char* operation)
{
    Misused(!buffer || capacity == 0, operation, "no buffer for the value");
    Utf16Text::Write(QString(), buffer, capacity);
    VtConnection* c = nullptr;
    const std::int64_t id = TagIdOf(ref, c);
    if (id < 0)
        return 0;
    const RuntimeResult r = RuntimeClient(*c).Read(static_cast<std::uint32_t>(id));
    if (!r.IsOk())
        return 0;
    Utf16Text::Write(r.value.ToText(), buffer, capacity);
    if (quality)
        *quality = r.quality;
    return 1;
}

int WriteValue(const TagRef* ref, const RuntimeValue& value)
{
    VtConnection* c = nullptr;
    const std::int64_t id = TagIdOf(ref, c);
    return id >= 0 && RuntimeClient(*c).Write(static_cast<std::uint32_t>(id), value) ? 1 : 0;
}

// The common path of the four text checks.
int Validate(int kind, VtChar* buffer, std::size_t capacity, int interactive, int showError, int flags,
             const char* operation)
{
    if (Misused(!buffer || capacity == 0, operation, "no text to check"))
        return 0;
    const TextValidator::Verdict v = TextValidator::Check(kind, Utf16Text::Read(buffer, capacity), flags);
    if (!v.accepted && showError)
        VtShowMessage(QStringLiteral("Invalid Entry"), v.reason);
    // The cleaned text is never longer than the original, so it fits in place.
    if (v.accepted && interactive)
        Utf16Text::Write(v.text, buffer, capacity);
    return v.accepted ? 1 : 0;
}

// A capacity the caller passed as int; a negative one holds nothing.
std::size_t Capacity(int capacity)
{
    return static_cast<std::size_t>(std::max(capacity, 0));
}

// Numbers and time stamps get no capacity: the product cell's buffers for them hold
// 1024 characters and the terminator.
constexpr std::size_t kUnsizedCapacity = 1025;

} // namespace

extern "C" {

int ToolkitStartup()
{
    State().Start();
    return 1;
}

void ToolkitShutdown()
{
    State().Stop();
}

int IsToolkitReady()
{
    return State().Started() && Live() ? 1 : 0;
}

int IsLoginRequired(const VtChar* server, int port, const VtChar* proxy, int proxyPort, const VtChar* gateway,
                    int polling, VtHandle*)
{
    if (!State().Started() || port <= 0 || port > kMaxPort)
        return 0;
    // A runtime that cannot be asked needs no login here: ConnectRuntime then
    // reports it as unreachable.
    VtConnection probe(0);
    const bool greeted = probe.Greet(Target(server, port, proxy, proxyPort, gateway, polling));
    State().SetRefusedFingerprint(probe.RefusedFingerprint());
    return greeted && probe.LoginRequired() ? 1 : 0;
}

int LogOn(const VtChar* user, const VtChar* password, int)
{
    if (!State().Started())
        return 1;
    const QString name = Utf16Text::Read(user, kMaxUserName + 1);
    const QString secret = Utf16Text::Read(password, kMaxPassword + 1);
    QString problem;
    if (name.trimmed().isEmpty())
        problem = QStringLiteral("A user name is required to log on to the runtime.");
    else if (name.size() > kMaxUserName || HasControlCharacters(name))
        problem = QStringLiteral("The user name is not valid.");
    else if (secret.size() > kMaxPassword)
        problem = QStringLiteral("The password is longer than %1 characters.").arg(kMaxPassword);
    if (!problem.isEmpty()) {
        VtShowMessage(kLogOnTitle, problem);
        return 1;
    }
    State().SetCredentials(name, secret);
    return 0;
}

HRESULT ConnectRuntime(const VtChar* server, int port, const VtChar* proxy, int proxyPort, const VtChar* gateway,
                       int polling, VtHandle* handle)
{
    if (Misused(!handle, __func__, "no handle to fill"))
        return VT_E_ARGUMENT;
    *handle = nullptr;
    if (Misused(!State().Started(), __func__, "the toolkit is not started"))
        return VT_E_NOT_STARTED;
    if (port <= 0 || port > kMaxPort)
        return VT_E_ARGUMENT;
    VtConnection* c = State().Create();
    const HRESULT result = c->Open(Target(server, port, proxy, proxyPort, gateway, polling), State().Credentials());
    State().SetRefusedFingerprint(c->RefusedFingerprint());
    if (result != S_OK) {
        State().Destroy(c);
        return result;
    }
    *handle = c;
    return S_OK;
}

HRESULT VtSetTransportSecurity(int useTls, const VtChar* caFile)
{
    const QString file = Utf16Text::Read(caFile, Utf16Text::kMaxText);
    if (!file.isEmpty() && !TlsLayer::CanLoadCaFile(file))
        return VT_E_ARGUMENT;
    State().SetSecurity(useTls != 0, file);
    return S_OK;
}

int VtGetRefusedFingerprint(VtChar* buffer, std::size_t capacity)
{
    const QString& text = State().RefusedFingerprint();
    if (Misused(!buffer || capacity == 0, __func__, "no buffer for the fingerprint"))
        return 0;
    if (Misused(!Utf16Text::Write(text, buffer, capacity), __func__, "the buffer is too small for the fingerprint"))
        return 0;
    return static_cast<int>(text.size());
}

void ActivateConnection(VtHandle handle)
{
    if (!UnknownHandle(handle, __func__))
        State().Activate(handle);
}

void CloseConnection(VtHandle handle)
{
    if (!UnknownHandle(handle, __func__))
        State().Destroy(handle);
}

int IsConnectionLost(VtHandle handle)
{
    UnknownHandle(handle, __func__);
    VtConnection* c = State().Find(handle);
    return !c || c->CheckLost() ? 1 : 0;
}

void NormalizeTagText(VtChar* text, std::size_t capacity)
{
    if (!Misused(!text || capacity == 0, __func__, "no text to normalise"))
        Utf16Text::Write(TextValidator::Normalize(Utf16Text::Read(text, capacity)), text, capacity);
}

int CompileExpression(const VtChar* text, void* compiled, std::size_t compiledSize, int, int, int, int)
{
    VtConnection* c = Live();
    const QString expression = Utf16Text::Read(text, Utf16Text::kMaxText);
    QString error;
    if (Misused(!compiled, __func__, "no buffer for the compiled expression") || !c ||
        !RuntimeClient(*c).Compile(expression, error))
        return 1;
    return CompiledExpression::Store(expression, compiled, compiledSize) ? 0 : 1;
}

void EvaluateCompiled(const void* compiled, ResultRecord* record, int, int, int, int)
{
    if (Misused(!record, __func__, "no record for the result"))
        return;
    QString expression;
    VtConnection* c = Live();
    if (Misused(!CompiledExpression::Load(compiled, kCompiledBufferSize, expression), __func__,
                "the buffer holds no compiled expression"))
        ResultRecordCodec::StoreFailure(QStringLiteral("no compiled expression"), *record);
    else if (!c)
        ResultRecordCodec::StoreFailure(kNotConnected, *record);
    else
        ResultRecordCodec::Store(RuntimeClient(*c).Evaluate({expression}).front(), *record);
}

int EvaluateTagList(const VtChar* lines, int count, ResultRecord* records, int)
{
    if (Misused(!records || count <= 0, __func__, "no records for the lines"))
        return 0;
    Misused(static_cast<std::uint32_t>(count) > vtproto::kMaxBatch, __func__, "more lines than one batch holds");
    const QString text = Utf16Text::Read(lines, vtproto::kMaxPayload);
    QStringList texts = text.split(u'\n');
    // One record per line: missing lines evaluate as empty (invalid), extra
    // lines are not read.
    texts.resize(count);
    VtConnection* c = Live();
    if (!c || static_cast<std::uint32_t>(count) > vtproto::kMaxBatch) {
        for (int i = 0; i < count; ++i)
            ResultRecordCodec::StoreFailure(c ? QStringLiteral("too many lines") : kNotConnected, records[i]);
        return 0;
    }
    const std::vector<RuntimeResult> results = RuntimeClient(*c).Evaluate(texts);
    for (int i = 0; i < count; ++i)
        ResultRecordCodec::Store(results[static_cast<std::size_t>(i)], records[i]);
    return c->IsLost() ? 0 : 1;
}

void FormatResultValue(VtChar* buffer, std::size_t capacity, const ResultRecord* record)
{
    Misused(!buffer || capacity == 0, __func__, "no buffer for the value");
    Misused(!record, __func__, "no record to format");
    Utf16Text::Write(record ? ResultRecordCodec::Format(*record) : QString(), buffer, capacity);
}

int GetQualityClass(std::uint16_t quality)
{
    return quality & 0xC0;
}

void FormatQuality(std::uint16_t quality, VtChar* buffer, std::size_t capacity)
{
    static const QString kTexts[] = {QStringLiteral("BAD"), QStringLiteral("UNCERTAIN"), QStringLiteral("NA"),
                                     QStringLiteral("GOOD")};
    Misused(!buffer || capacity == 0, __func__, "no buffer for the quality");
    Utf16Text::Write(kTexts[GetQualityClass(quality) >> 6], buffer, capacity);
}

int EnterRows(const VtRowEntry* rows, int count, const VtChar* invalidText, VtRowAnswer* answers)
{
    if (Misused(!rows || !answers || count <= 0, __func__, "no rows or no answers"))
        return -1;
    Misused(static_cast<std::uint32_t>(count) > vtproto::kMaxBatch, __func__, "more rows than one batch holds");
    VtConnection* c = Live();
    if (!c)
        return -1;
    std::vector<RowEntry> entries(
        static_cast<std::size_t>(std::min<std::uint32_t>(static_cast<std::uint32_t>(count), vtproto::kMaxBatch)));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        RowEntry& entry = entries[i];
        if (rows[i].expression) {
            entry.steps |= RowEntry::Evaluate;
            entry.expression = Utf16Text::Read(rows[i].expression, Utf16Text::kMaxText);
        }
        if (rows[i].tag) {
            entry.steps |= RowEntry::Write;
            entry.tag = Utf16Text::Read(rows[i].tag, Utf16Text::kMaxText);
            entry.value = Utf16Text::Read(rows[i].value, Utf16Text::kMaxText);
            entry.typed = Utf16Text::Read(rows[i].typed, Utf16Text::kMaxText);
        }
    }
    std::vector<RowAnswer> replies;
    if (!RuntimeClient(*c).EnterRows(entries, Utf16Text::Read(invalidText, Utf16Text::kMaxText), replies))
        return -1;
    for (std::size_t i = 0; i < replies.size(); ++i) {
        const RowAnswer& reply = replies[i];
        VtRowAnswer& answer = answers[i];
        answer.compiled = reply.compiled ? 1 : 0;
        answer.resolved = reply.resolved ? 1 : 0;
        if (reply.compiled)
            ResultRecordCodec::Store(reply.result, answer.record);
        answer.written = static_cast<int>(reply.written);
        answer.read = reply.written == RowAnswer::Written::ReadBack && reply.readBack.IsOk() ? 1 : 0;
        answer.quality = answer.read ? reply.readBack.quality : 0;
        Utf16Text::Write(answer.read ? reply.readBack.value.ToText() : QString(), answer.readBack, kReadBackCapacity);
    }
    return static_cast<int>(replies.size());
}

int ResolveTag(TagRef* ref, const VtChar* name)
{
    if (Misused(!ref, __func__, "no reference to fill"))
        return 0;
    *ref = TagRef{};
    VtConnection* c = Live();
    const std::int64_t id = c ? RuntimeClient(*c).Resolve(Utf16Text::Read(name, Utf16Text::kMaxText)) : -1;
    if (id < 0)
        return 0;
    *ref = TagReference::Make(c->Generation(), static_cast<std::uint32_t>(id));
    return 1;
}

int WriteTagText(const TagRef* ref, const VtChar* text, int, int, int, int)
{
    return WriteValue(ref, RuntimeValue::FromString(Utf16Text::Read(text, Utf16Text::kMaxText)));
}

int ReadTagText(const TagRef* ref, VtChar* buffer, std::size_t capacity, std::uint16_t* quality, int)
{
    return ReadInto(ref, buffer, capacity, quality, __func__);
}

int WriteTagInt(const TagRef* ref, int value, int, int, int, int)
{
    return WriteValue(ref, RuntimeValue::FromInt(value));
}

int ReadTagValueText(const TagRef* ref, VtChar* buffer, std::size_t capacity)
{
    return ReadInto(ref, buffer, capacity, nullptr, __func__);
}

int ValidateTextKind0(HWND, VtChar* buffer, int capacity, int interactive, int showError)
{
    return Validate(TextValidator::kTagName, buffer, Capacity(capacity), interactive, showError, 0, __func__);
}

int ValidateTextKind1(HWND, VtChar* buffer, int interactive, int showError, int flags, int)
{
    return Validate(TextValidator::kNumber, buffer, kUnsizedCapacity, interactive, showError, flags, __func__);
}

int ValidateTextKind2(HWND, VtChar* buffer, int capacity, int interactive, int showError, int)
{
    return Validate(TextValidator::kExpression, buffer, Capacity(capacity), interactive, showError, 0, __func__);
}

int ValidateTextKind3(HWND, VtChar* buffer, int interactive, int showError, int flags, int)
{
    return Validate(TextValidator::kTimeStamp, buffer, kUnsizedCapacity, interactive, showError, flags, __func__);
}

int ParseTimeStamp(const VtChar* text, FILETIME* time, int timeKind)
{
    if (Misused(!text || !time, __func__, "no text or no time"))
        return 0;
    return TimeStampText::Parse(Utf16Text::Read(text, Utf16Text::kMaxText), timeKind, *time) ? 1 : 0;
}

int FormatTimeStamp(const FILETIME* time, VtChar* buffer, int capacity, int timeKind)
{
    if (Misused(!buffer || capacity <= 0, __func__, "no buffer for the text"))
        return 0;
    Misused(!time, __func__, "no time to format");
    QString text;
    const auto size = static_cast<std::size_t>(capacity);
    if (time && TimeStampText::Format(*time, timeKind, text) && Utf16Text::Write(text, buffer, size))
        return 1;
    Utf16Text::Write(QString(), buffer, size);
    return 0;
}

int HasExtendedMenu(HWND)
{
    // The extension's menu offers only tag browsing, which needs a runtime.
    return Live() ? 1 : 0;
}

} // extern "C"
