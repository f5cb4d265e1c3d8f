#include "NumericText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <string>

namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

qsizetype SkipBlanks(const QString& text, qsizetype pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

// The C library's integer conversion: white space, a sign, then digits;
// saturating instead of overflowing.
int StandardInteger(const QString& text, qsizetype pos)
{
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+'))
        negative = text[pos++] == u'-';
    long long value = 0;
    for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos)
        value = std::min(value * 10 + (text[pos].unicode() - u'0'), static_cast<long long>(INT_MAX) + 1);
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// The C library's conversion to double, independent of the locale's decimal
// point: white space, a sign, then a number. *used is how many characters it
// took, 0 when nothing could be converted.
double StandardReal(const QString& text, qsizetype* used)
{
    qsizetype pos = 0;
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    const qsizetype signPos = pos;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+'))
        ++pos;
    std::string ascii;
    for (qsizetype i = pos; i < text.size() && text[i].unicode() < 0x80; ++i)
        ascii += char(text[i].unicode());
    double value = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::invalid_argument) {
        *used = 0;
        return 0.0;
    }
    *used = pos + (end - ascii.data());
    return (signPos < pos && text[signPos] == u'-') ? -value : value;
}

// What may follow a converted number while it is still being typed.
bool IsAcceptableRealTail(const QString& tail)
{
    bool point = false;
    bool exponent = false;
    bool minusBeforeExponent = false;
    bool minusAfterExponent = false;
    for (const QChar c : tail) {
        if (IsBlank(c))
            continue;
        if (c == u'.' && !point) {
            point = true;
        } else if ((c == u'e' || c == u'E') && !exponent) {
            exponent = true;
        } else if (c == u'-' && !exponent && !minusBeforeExponent) {
            minusBeforeExponent = true;
        } else if (c == u'-' && exponent && !minusAfterExponent) {
            minusAfterExponent = true;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

BOOL ParseIntegerText(const QString& text, int* value)
{
    qsizetype pos = SkipBlanks(text, 0);
    bool negative = false;
    if (pos < text.size() && text[pos] == u'-') {
        negative = true;
        if (++pos == text.size()) {
            *value = 0;
            return TRUE;
        }
    }
    const int number = StandardInteger(text, pos);
    const int signedNumber = negative ? (number == INT_MIN ? INT_MAX : -number) : number;
    if (signedNumber == 0 && (pos == text.size() || text[pos] != u'0'))
        return FALSE;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9')
        ++pos;
    if (SkipBlanks(text, pos) != text.size())
        return FALSE;
    *value = signedNumber;
    return TRUE;
}

BOOL ParseRealText(const QString& text, double* value)
{
    const QString rest = text.mid(SkipBlanks(text, 0));
    if (rest == u"-" || rest == u".") {
        *value = 0.0;
        return TRUE;
    }
    qsizetype used = 0;
    const double number = StandardReal(rest, &used);
    if (number == 0.0 && !(rest.startsWith(u'0') || rest.startsWith(u'-') || rest.startsWith(u'.')))
        return FALSE;
    if (!IsAcceptableRealTail(rest.mid(used)))
        return FALSE;
    *value = number;
    return TRUE;
}
