#pragma once

#include "toolkit/protocol/RuntimeValue.h"

#include <QString>

// Splits an expression into tokens. Tag names are dotted identifiers taken as
// one token; a string runs from a double quote to the next one, no escapes.
class ExpressionLexer
{
public:
    struct Token
    {
        enum class Kind { End, Number, String, Name, Operator, Error };
        Kind kind = Kind::End;
        QString text; // name, operator, string contents or error message
        RuntimeValue number;
        qsizetype position = 0;
    };

    explicit ExpressionLexer(const QString& text);
    Token Next();

private:
    Token Number();
    Token Name();
    Token Error(const QString& message) const;

    QString m_text;
    qsizetype m_pos = 0;
    qsizetype m_start = 0;
};
