#pragma once

#include "toolkit/protocol/RuntimeValue.h"

#include <cstdint>
#include <vector>

enum class BinaryOp : std::uint8_t { Or, And, Eq, Ne, Lt, Le, Gt, Ge, Add, Sub, Concat, Mul, Div, Mod, Pow };
enum class UnaryOp : std::uint8_t { Neg, Plus, Not };

// A compiled expression in postfix order, run by ExpressionEvaluator. Programs
// are made only by ExpressionCompiler inside the runtime: clients send texts.
class Program
{
public:
    struct Instruction
    {
        enum class Code : std::uint8_t { Constant, Tag, Unary, Binary, Call };
        Code code;
        int a = 0; // constant index, tag id, operator or function index
        int b = 0; // argument count of a call
    };

    void Emit(Instruction::Code code, int a, int b = 0) { m_code.push_back({code, a, b}); }
    int AddConstant(const RuntimeValue& v)
    {
        m_constants.push_back(v);
        return static_cast<int>(m_constants.size()) - 1;
    }

    const std::vector<Instruction>& Code() const { return m_code; }
    const RuntimeValue& Constant(int i) const { return m_constants[static_cast<std::size_t>(i)]; }

private:
    std::vector<Instruction> m_code;
    std::vector<RuntimeValue> m_constants;
};
