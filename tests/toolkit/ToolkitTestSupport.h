#pragma once

#include "runtime/VantelToolkit.h"

#include <QString>

#include <string>
#include <vector>

// Small conveniences for calling the toolkit's C interface from tests.
namespace tk {

inline std::u16string U(const QString& s)
{
    return s.toStdU16String();
}

inline QString Q(const VtChar* s)
{
    return QString::fromUtf16(s);
}

inline HRESULT Connect(quint16 port, VtHandle& handle)
{
    return ConnectRuntime(u"127.0.0.1", port, u"", 0, u"", 10, &handle);
}

// Compiles and evaluates one expression on the active connection; the value
// text, or "<compile error>".
inline QString Evaluate(const QString& expression, std::uint16_t* quality = nullptr)
{
    std::vector<unsigned char> compiled(kCompiledBufferSize);
    if (CompileExpression(U(expression).c_str(), compiled.data(), compiled.size(), 0, 1, 0, 0) != 0)
        return QStringLiteral("<compile error>");
    ResultRecord record = {};
    record.quality = kQualityGood;
    EvaluateCompiled(compiled.data(), &record, -1, -1, -1, 0);
    VtChar text[kValueTextCapacity];
    FormatResultValue(text, kValueTextCapacity, &record);
    if (quality)
        *quality = record.quality;
    return Q(text);
}

inline bool Compiles(const QString& expression)
{
    std::vector<unsigned char> compiled(kCompiledBufferSize);
    return CompileExpression(U(expression).c_str(), compiled.data(), compiled.size(), 0, 1, 0, 0) == 0;
}

inline QString ReadTag(const QString& name, std::uint16_t* quality = nullptr)
{
    TagRef ref;
    if (!ResolveTag(&ref, U(name).c_str()))
        return QStringLiteral("<unknown>");
    VtChar text[1024];
    std::uint16_t q = 0;
    ReadTagText(&ref, text, 1024, &q, 0);
    if (quality)
        *quality = q;
    return Q(text);
}

inline bool WriteTag(const QString& name, const QString& value)
{
    TagRef ref;
    return ResolveTag(&ref, U(name).c_str()) && WriteTagText(&ref, U(value).c_str(), -1, -1, -1, 0);
}

} // namespace tk
