#include "ExpressionCompiler.h"

#include "RuntimeFunctions.h"
#include "TagDatabase.h"

#include <algorithm>

using Kind = ExpressionLexer::Token::Kind;
using Code = Program::Instruction::Code;

namespace {

// Restores the nesting depth when a rule returns.
class DepthGuard
{
public:
    explicit DepthGuard(int& depth) : m_depth(depth) {}
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& m_depth;
};

} // namespace

ExpressionCompiler::ExpressionCompiler(const TagDatabase& tags) : m_tags(tags)
{
}

bool ExpressionCompiler::Compile(const QString& text, Program& program, QString& error)
{
    ExpressionLexer lexer(text);
    m_lexer = &lexer;
    m_program = &program;
    m_error.clear();
    m_depth = 0;
    program = Program();
    Advance();
    bool ok = m_token.kind != Kind::End ? Or() : Fail(QStringLiteral("the expression is empty"));
    if (ok && m_token.kind != Kind::End)
        ok = Fail(m_token.kind == Kind::Error ? m_token.text : QStringLiteral("unexpected '%1'").arg(m_token.text));
    m_lexer = nullptr;
    m_program = nullptr;
    error = m_error;
    return ok;
}

void ExpressionCompiler::Advance()
{
    m_token = m_lexer->Next();
}

bool ExpressionCompiler::Fail(const QString& message)
{
    if (m_error.isEmpty())
        m_error = QStringLiteral("%1 (at character %2)").arg(message).arg(m_token.position + 1);
    return false;
}

bool ExpressionCompiler::Enter()
{
    return ++m_depth <= kMaxDepth || Fail(QStringLiteral("the expression is nested too deeply"));
}

bool ExpressionCompiler::IsOperator(const char* op) const
{
    return m_token.kind == Kind::Operator && m_token.text == QLatin1String(op);
}

bool ExpressionCompiler::IsWord(const char* word) const
{
    return m_token.kind == Kind::Name && m_token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool ExpressionCompiler::Level(Rule next, std::initializer_list<std::pair<const char*, BinaryOp>> ops)
{
    if (!(this->*next)())
        return false;
    for (;;) {
        // Word operators (AND, MOD) arrive as names, symbols as operators.
        const auto* found = std::find_if(ops.begin(), ops.end(),
                                         [this](const auto& op) { return IsOperator(op.first) || IsWord(op.first); });
        if (found == ops.end())
            return true;
        Advance();
        if (!(this->*next)())
            return false;
        m_program->Emit(Code::Binary, static_cast<int>(found->second));
    }
}

bool ExpressionCompiler::Or()
{
    return Level(&ExpressionCompiler::And, {{"OR", BinaryOp::Or}, {"||", BinaryOp::Or}});
}

bool ExpressionCompiler::And()
{
    return Level(&ExpressionCompiler::Not, {{"AND", BinaryOp::And}, {"&&", BinaryOp::And}});
}

bool ExpressionCompiler::Not()
{
    if (!IsWord("NOT") && !IsOperator("!"))
        return Comparison();
    return Operand(&ExpressionCompiler::Not, Code::Unary, static_cast<int>(UnaryOp::Not));
}

bool ExpressionCompiler::Comparison()
{
    return Level(&ExpressionCompiler::Additive, {{"=", BinaryOp::Eq},
                                                 {"==", BinaryOp::Eq},
                                                 {"<>", BinaryOp::Ne},
                                                 {"!=", BinaryOp::Ne},
                                                 {"<", BinaryOp::Lt},
                                                 {"<=", BinaryOp::Le},
                                                 {">", BinaryOp::Gt},
                                                 {">=", BinaryOp::Ge}});
}

bool ExpressionCompiler::Additive()
{
    return Level(&ExpressionCompiler::Multiplicative,
                 {{"+", BinaryOp::Add}, {"-", BinaryOp::Sub}, {"&", BinaryOp::Concat}});
}

bool ExpressionCompiler::Multiplicative()
{
    return Level(&ExpressionCompiler::Unary,
                 {{"*", BinaryOp::Mul}, {"/", BinaryOp::Div}, {"%", BinaryOp::Mod}, {"MOD", BinaryOp::Mod}});
}

bool ExpressionCompiler::Unary()
{
    if (!IsOperator("-") && !IsOperator("+"))
        return Power();
    const UnaryOp op = IsOperator("-") ? UnaryOp::Neg : UnaryOp::Plus;
    return Operand(&ExpressionCompiler::Unary, Code::Unary, static_cast<int>(op));
}

bool ExpressionCompiler::Power()
{
    if (!Primary())
        return false;
    if (!IsOperator("^"))
        return true;
    // Right-associative, and the exponent may carry a sign: 2^-1, 2^3^2 = 2^9.
    return Operand(&ExpressionCompiler::Unary, Code::Binary, static_cast<int>(BinaryOp::Pow));
}

bool ExpressionCompiler::Operand(Rule rule, Program::Instruction::Code code, int op)
{
    DepthGuard guard(m_depth);
    if (!Enter())
        return false;
    Advance();
    if (!(this->*rule)())
        return false;
    m_program->Emit(code, op);
    return true;
}

bool ExpressionCompiler::Primary()
{
    switch (m_token.kind) {
    case Kind::Number:
    case Kind::String: {
        const RuntimeValue v = m_token.kind == Kind::Number ? m_token.number : RuntimeValue::FromString(m_token.text);
        m_program->Emit(Code::Constant, m_program->AddConstant(v));
        Advance();
        return true;
    }
    case Kind::Name: {
        if (IsWord("TRUE") || IsWord("FALSE")) {
            m_program->Emit(Code::Constant, m_program->AddConstant(RuntimeValue::FromBool(IsWord("TRUE"))));
            Advance();
            return true;
        }
        const QString name = m_token.text;
        Advance();
        if (IsOperator("("))
            return Call(name);
        const int id = m_tags.Find(name);
        if (id < 0)
            return Fail(QStringLiteral("unknown tag '%1'").arg(name));
        m_program->Emit(Code::Tag, id);
        return true;
    }
    case Kind::Operator:
        if (IsOperator("(")) {
            DepthGuard guard(m_depth);
            if (!Enter())
                return false;
            Advance();
            if (!Or())
                return false;
            if (!IsOperator(")"))
                return Fail(QStringLiteral("')' expected"));
            Advance();
            return true;
        }
        return Fail(QStringLiteral("unexpected '%1'").arg(m_token.text));
    case Kind::Error: return Fail(m_token.text);
    default: return Fail(QStringLiteral("unexpected end of the expression"));
    }
}

bool ExpressionCompiler::Call(const QString& name)
{
    const int function = RuntimeFunctions::Find(name);
    if (function < 0)
        return Fail(QStringLiteral("unknown function '%1'").arg(name));
    DepthGuard guard(m_depth);
    if (!Enter())
        return false;
    Advance(); // past '('
    int count = 0;
    if (!IsOperator(")")) {
        for (;;) {
            if (!Or())
                return false;
            ++count;
            if (!IsOperator(","))
                break;
            Advance();
        }
    }
    if (!IsOperator(")"))
        return Fail(QStringLiteral("')' expected"));
    if (count < RuntimeFunctions::MinArgs(function) || count > RuntimeFunctions::MaxArgs(function))
        return Fail(QStringLiteral("wrong number of arguments for %1").arg(RuntimeFunctions::Name(function)));
    Advance();
    m_program->Emit(Code::Call, function, count);
    return true;
}
