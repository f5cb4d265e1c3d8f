#include "ExpressionLexer.h"

#include <cmath>

namespace {

bool IsNameStart(QChar c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNamePart(QChar c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

bool IsDigit(QChar c)
{
    return c >= '0' && c <= '9';
}

} // namespace

ExpressionLexer::ExpressionLexer(const QString& text) : m_text(text)
{
}

ExpressionLexer::Token ExpressionLexer::Error(const QString& message) const
{
    Token t;
    t.kind = Token::Kind::Error;
    t.text = message;
    t.position = m_start;
    return t;
}

ExpressionLexer::Token ExpressionLexer::Next()
{
    while (m_pos < m_text.size() && m_text[m_pos].isSpace())
        ++m_pos;
    m_start = m_pos;
    Token t;
    t.position = m_pos;
    if (m_pos >= m_text.size())
        return t;
    const QChar c = m_text[m_pos];
    if (IsDigit(c))
        return Number();
    if (IsNameStart(c))
        return Name();
    if (c == '"') {
        const qsizetype end = m_text.indexOf('"', m_pos + 1);
        if (end < 0)
            return Error(QStringLiteral("unterminated string"));
        t.kind = Token::Kind::String;
        t.text = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = end + 1;
        return t;
    }
    static const QString kTwoChar[] = {"==", "<>", "!=", "<=", ">=", "&&", "||"};
    for (const QString& op : kTwoChar) {
        if (QStringView(m_text).mid(m_pos, 2) == op) {
            t.kind = Token::Kind::Operator;
            t.text = op;
            m_pos += 2;
            return t;
        }
    }
    if (QStringLiteral("+-*/%^&=<>!(),").contains(c)) {
        t.kind = Token::Kind::Operator;
        t.text = c;
        ++m_pos;
        return t;
    }
    return Error(QStringLiteral("unexpected character '%1'").arg(c));
}

ExpressionLexer::Token ExpressionLexer::Number()
{
    const qsizetype start = m_pos;
    bool real = false;
    while (m_pos < m_text.size() && IsDigit(m_text[m_pos]))
        ++m_pos;
    if (m_pos + 1 < m_text.size() && m_text[m_pos] == '.' && IsDigit(m_text[m_pos + 1])) {
        real = true;
        for (++m_pos; m_pos < m_text.size() && IsDigit(m_text[m_pos]);)
            ++m_pos;
    }
    if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
        qsizetype p = m_pos + 1;
        if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-'))
            ++p;
        if (p < m_text.size() && IsDigit(m_text[p])) {
            real = true;
            for (m_pos = p; m_pos < m_text.size() && IsDigit(m_text[m_pos]);)
                ++m_pos;
        }
    }
    // "12abc" or "1.x" is a typing mistake, not a number followed by a name.
    if (m_pos < m_text.size() && (IsNamePart(m_text[m_pos]) || m_text[m_pos] == '.'))
        return Error(QStringLiteral("malformed number"));
    const QString digits = m_text.mid(start, m_pos - start);
    Token t;
    t.kind = Token::Kind::Number;
    t.text = digits;
    t.position = start;
    bool ok = false;
    const qlonglong i = real ? 0 : digits.toLongLong(&ok);
    if (ok) {
        t.number = RuntimeValue::FromInt(i);
        return t;
    }
    const double d = digits.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return Error(QStringLiteral("number out of range"));
    t.number = RuntimeValue::FromReal(d);
    return t;
}

ExpressionLexer::Token ExpressionLexer::Name()
{
    const qsizetype start = m_pos;
    for (;;) {
        while (m_pos < m_text.size() && IsNamePart(m_text[m_pos]))
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            if (m_pos + 1 >= m_text.size() || !IsNameStart(m_text[m_pos + 1]))
                return Error(QStringLiteral("a name cannot end with '.'"));
            ++m_pos;
            continue;
        }
        break;
    }
    Token t;
    t.kind = Token::Kind::Name;
    t.text = m_text.mid(start, m_pos - start);
    t.position = start;
    return t;
}
