#include "TextValidator.h"

#include "RuntimeClient.h"
#include "TimeStampText.h"
#include "ToolkitState.h"
#include "toolkit/protocol/TagName.h"

#include <cmath>

namespace {

VtConnection* LiveConnection()
{
    VtConnection* c = ToolkitState::Instance().Active();
    return c && !c->IsLost() ? c : nullptr;
}

QString CheckTagName(const QString& text)
{
    if (!TagName::IsValid(text))
        return QStringLiteral("'%1' is not a tag name.").arg(text);
    VtConnection* c = LiveConnection();
    if (c && RuntimeClient(*c).Resolve(text) < 0)
        return QStringLiteral("The runtime has no tag '%1'.").arg(text);
    return {};
}

QString CheckNumber(const QString& text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) ? QString() : QStringLiteral("'%1' is not a number.").arg(text);
}

QString CheckExpression(const QString& text)
{
    VtConnection* c = LiveConnection();
    if (!c)
        return QStringLiteral("The expression cannot be checked: no runtime is connected.");
    QString error;
    return RuntimeClient(*c).Compile(text, error) ? QString() : QStringLiteral("Invalid expression: %1.").arg(error);
}

QString CheckTimeStamp(const QString& text)
{
    FILETIME t;
    return TimeStampText::Parse(text, 0, t)
               ? QString()
               : QStringLiteral("'%1' is not a date and time (yyyy-MM-dd HH:mm:ss).").arg(text);
}

} // namespace

QString TextValidator::Normalize(const QString& text)
{
    QString s = text;
    for (QChar& c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return s.trimmed();
}

TextValidator::Verdict TextValidator::Check(int kind, const QString& text, int flags)
{
    Verdict v;
    v.text = Normalize(text);
    const bool emptyAllowed = kind == kTagName || kind == kExpression || (flags & kEmptyAllowed);
    if (v.text.isEmpty()) {
        v.accepted = emptyAllowed;
        v.reason = v.accepted ? QString() : QStringLiteral("A value is required.");
        return v;
    }
    switch (kind) {
    case kTagName: v.reason = CheckTagName(v.text); break;
    case kNumber: v.reason = CheckNumber(v.text); break;
    case kExpression: v.reason = CheckExpression(v.text); break;
    case kTimeStamp: v.reason = CheckTimeStamp(v.text); break;
    default: v.reason = QStringLiteral("Unknown kind of text check."); break;
    }
    v.accepted = v.reason.isEmpty();
    return v;
}
