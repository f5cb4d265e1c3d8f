#include "RuntimeFunctions.h"

#include "Operators.h"
#include "UserDatabase.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using Args = std::vector<RuntimeValue>;
using Impl = bool (*)(const Args&, RuntimeFunctions::Context&, RuntimeValue&, QString&);

struct Function
{
    const char* name;
    int minArgs;
    int maxArgs;
    Impl impl;
};

bool NeedNumbers(const Args& args, QString& error)
{
    for (const RuntimeValue& v : args) {
        if (!v.IsNumeric()) {
            error = QStringLiteral("a number is expected");
            return false;
        }
    }
    return true;
}

bool Count(const RuntimeValue& v, qsizetype& out, QString& error)
{
    const double d = v.AsReal();
    if (!v.IsNumeric() || d < 0 || d > Operators::kMaxStringLength) {
        error = QStringLiteral("a character count from 0 to %1 is expected").arg(Operators::kMaxStringLength);
        return false;
    }
    out = static_cast<qsizetype>(d);
    return true;
}

bool Text(const QString& s, RuntimeValue& out)
{
    out = RuntimeValue::FromString(s);
    return true;
}

bool Abs(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString& error)
{
    if (!NeedNumbers(a, error))
        return false;
    return Operators::Unary(a[0].AsReal() < 0 ? UnaryOp::Neg : UnaryOp::Plus, a[0], out, error);
}

bool Extreme(const Args& a, RuntimeValue& out, QString& error, BinaryOp keepWhen)
{
    if (!NeedNumbers(a, error))
        return false;
    out = a[0];
    for (std::size_t i = 1; i < a.size(); ++i) {
        RuntimeValue better;
        if (!Operators::Binary(keepWhen, a[i], out, better, error))
            return false;
        if (better.AsBool())
            out = a[i];
    }
    return true;
}

bool Min(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString& error)
{
    return Extreme(a, out, error, BinaryOp::Lt);
}

bool Max(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString& error)
{
    return Extreme(a, out, error, BinaryOp::Gt);
}

bool Round(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString& error)
{
    if (!NeedNumbers(a, error))
        return false;
    const double digits = a.size() > 1 ? a[1].AsReal() : 0.0;
    if (digits < -15 || digits > 15) {
        error = QStringLiteral("ROUND takes from -15 to 15 digits");
        return false;
    }
    const double scale = std::pow(10.0, std::trunc(digits));
    return Operators::Finite(std::round(a[0].AsReal() * scale) / scale, out, error);
}

bool Sqrt(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString& error)
{
    if (!NeedNumbers(a, error))
        return false;
    return Operators::Finite(std::sqrt(a[0].AsReal()), out, error);
}

bool If(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString& error)
{
    bool condition = false;
    if (!Operators::Truth(a[0], condition, error))
        return false;
    out = condition ? a[1] : a[2];
    return true;
}

bool Len(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString&)
{
    out = RuntimeValue::FromInt(a[0].ToText().size());
    return true;
}

bool Upper(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString&)
{
    return Text(a[0].ToText().toUpper(), out);
}

bool Lower(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString&)
{
    return Text(a[0].ToText().toLower(), out);
}

bool Trim(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString&)
{
    return Text(a[0].ToText().trimmed(), out);
}

bool Left(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString& error)
{
    qsizetype n = 0;
    return Count(a[1], n, error) && Text(a[0].ToText().left(n), out);
}

bool Right(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString& error)
{
    qsizetype n = 0;
    return Count(a[1], n, error) && Text(a[0].ToText().right(n), out);
}

bool Mid(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString& error)
{
    qsizetype start = 0;
    qsizetype n = Operators::kMaxStringLength;
    if (!Count(a[1], start, error) || start < 1 || (a.size() > 2 && !Count(a[2], n, error))) {
        error = QStringLiteral("MID counts characters from 1");
        return false;
    }
    return Text(a[0].ToText().mid(start - 1, n), out);
}

bool Str(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString&)
{
    return Text(a[0].ToText(), out);
}

bool Num(const Args& a, RuntimeFunctions::Context&, RuntimeValue& out, QString& error)
{
    if (a[0].IsNumeric()) {
        out = a[0];
        return true;
    }
    bool ok = false;
    const QString t = a[0].AsString().trimmed();
    const qlonglong i = t.toLongLong(&ok);
    if (ok) {
        out = RuntimeValue::FromInt(i);
        return true;
    }
    const double d = t.toDouble(&ok);
    if (!ok) {
        error = QStringLiteral("'%1' is not a number").arg(t);
        return false;
    }
    return Operators::Finite(d, out, error);
}

// Administration: the caller's groups must grant admin, and the runtime must
// have a user database.
bool Administer(RuntimeFunctions::Context& c, RuntimeValue& out, QString& error, const std::function<QString()>& act)
{
    if (!(c.rights & UserDatabase::Admin) || !c.users) {
        error = QStringLiteral("access denied: administration needs the admin right");
        return false;
    }
    error = act();
    out = RuntimeValue::FromBool(error.isEmpty());
    return error.isEmpty();
}

bool SetPassword(const Args& a, RuntimeFunctions::Context& c, RuntimeValue& out, QString& error)
{
    return Administer(c, out, error, [&] { return c.users->SetPassword(a[0].ToText(), a[1].ToText()); });
}

bool CreateUser(const Args& a, RuntimeFunctions::Context& c, RuntimeValue& out, QString& error)
{
    return Administer(c, out, error, [&] { return c.users->CreateUser(a[0].ToText(), a[1].ToText(), a[2].ToText()); });
}

bool RemoveUser(const Args& a, RuntimeFunctions::Context& c, RuntimeValue& out, QString& error)
{
    return Administer(c, out, error, [&] { return c.users->RemoveUser(a[0].ToText()); });
}

bool BlockUser(const Args& a, RuntimeFunctions::Context& c, RuntimeValue& out, QString& error)
{
    return Administer(c, out, error, [&] { return c.users->SetBlocked(a[0].ToText(), true); });
}

bool UnblockUser(const Args& a, RuntimeFunctions::Context& c, RuntimeValue& out, QString& error)
{
    return Administer(c, out, error, [&] { return c.users->SetBlocked(a[0].ToText(), false); });
}

bool RunVBScript(const Args&, RuntimeFunctions::Context&, RuntimeValue&, QString& error)
{
    error = QStringLiteral("RunVBScript is not supported by this runtime");
    return false;
}

const Function kFunctions[] = {
    {"ABS", 1, 1, Abs},
    {"MIN", 1, RuntimeFunctions::kMaxArgs, Min},
    {"MAX", 1, RuntimeFunctions::kMaxArgs, Max},
    {"ROUND", 1, 2, Round},
    {"SQRT", 1, 1, Sqrt},
    {"IF", 3, 3, If},
    {"LEN", 1, 1, Len},
    {"UPPER", 1, 1, Upper},
    {"LOWER", 1, 1, Lower},
    {"TRIM", 1, 1, Trim},
    {"LEFT", 2, 2, Left},
    {"RIGHT", 2, 2, Right},
    {"MID", 2, 3, Mid},
    {"STR", 1, 1, Str},
    {"NUM", 1, 1, Num},
    {"SetPassword", 2, 2, SetPassword},
    {"CreateUser", 3, 3, CreateUser},
    {"RemoveUser", 1, 1, RemoveUser},
    {"BlockUser", 1, 1, BlockUser},
    {"UnblockUser", 1, 1, UnblockUser},
    {"RunVBScript", 1, 1, RunVBScript},
};
constexpr int kCount = static_cast<int>(std::size(kFunctions));

} // namespace

int RuntimeFunctions::Find(const QString& name)
{
    for (int i = 0; i < kCount; ++i)
        if (name.compare(QLatin1String(kFunctions[i].name), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString RuntimeFunctions::Name(int function)
{
    return function >= 0 && function < kCount ? QString::fromLatin1(kFunctions[function].name) : QString();
}

int RuntimeFunctions::MinArgs(int function)
{
    return function >= 0 && function < kCount ? kFunctions[function].minArgs : 0;
}

int RuntimeFunctions::MaxArgs(int function)
{
    return function >= 0 && function < kCount ? kFunctions[function].maxArgs : -1;
}

bool RuntimeFunctions::Call(int function, const std::vector<RuntimeValue>& args, Context& context, RuntimeValue& out,
                            QString& error)
{
    if (function < 0 || function >= kCount || static_cast<int>(args.size()) < kFunctions[function].minArgs ||
        static_cast<int>(args.size()) > kFunctions[function].maxArgs) {
        error = QStringLiteral("bad function call");
        return false;
    }
    return kFunctions[function].impl(args, context, out, error);
}
