#pragma once

#include "ExpressionLexer.h"
#include "Program.h"

#include <QString>

#include <initializer_list>
#include <utility>

class TagDatabase;

// Compiles an expression (syntax in docs/expressions.md) against the plant's
// tags: an unknown tag or function, or a word where an operator belongs, is an
// error. So any sentence of plain words fails to compile.
class ExpressionCompiler
{
public:
    explicit ExpressionCompiler(const TagDatabase& tags);

    bool Compile(const QString& text, Program& program, QString& error);

    static constexpr int kMaxDepth = 200;

private:
    using Rule = bool (ExpressionCompiler::*)();

    // One left-associative level of binary operators over the next tighter rule.
    bool Level(Rule next, std::initializer_list<std::pair<const char*, BinaryOp>> ops);
    // Past the operator just seen: its operand by `rule`, one level deeper, then the operator.
    bool Operand(Rule rule, Program::Instruction::Code code, int op);
    bool Or();
    bool And();
    bool Not();
    bool Comparison();
    bool Additive();
    bool Multiplicative();
    bool Unary();
    bool Power();
    bool Primary();
    bool Call(const QString& name);
    bool Fail(const QString& message);
    bool Enter();
    void Advance();
    bool IsOperator(const char* op) const;
    bool IsWord(const char* word) const;

    const TagDatabase& m_tags;
    ExpressionLexer* m_lexer = nullptr;
    ExpressionLexer::Token m_token;
    Program* m_program = nullptr;
    QString m_error;
    int m_depth = 0;
};
