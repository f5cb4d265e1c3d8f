#include "ExpressionEvaluator.h"

#include "Operators.h"
#include "TagDatabase.h"
#include "toolkit/protocol/FileTimeClock.h"
#include "toolkit/protocol/Protocol.h"

#include <algorithm>

using Code = Program::Instruction::Code;

ExpressionEvaluator::ExpressionEvaluator(const TagDatabase& tags, RuntimeFunctions::Context& context)
    : m_tags(tags)
    , m_context(context)
{
}

RuntimeResult ExpressionEvaluator::Evaluate(const Program& program)
{
    RuntimeResult result;
    result.quality = vtproto::kQualityGood;
    std::int64_t newest = 0;
    std::vector<RuntimeValue> stack;
    QString error;
    const auto fail = [&] { return RuntimeResult::Failure(vtproto::Status::EvaluationError, error); };

    for (const Program::Instruction& in : program.Code()) {
        switch (in.code) {
        case Code::Constant: stack.push_back(program.Constant(in.a)); break;
        case Code::Tag: {
            const Tag* tag = m_tags.Get(in.a);
            if (!tag) {
                error = QStringLiteral("unknown tag");
                return fail();
            }
            stack.push_back(tag->value);
            result.quality = std::min(result.quality, tag->quality);
            newest = std::max(newest, tag->timeStamp);
            break;
        }
        case Code::Unary: {
            RuntimeValue r;
            if (!Operators::Unary(static_cast<UnaryOp>(in.a), stack.back(), r, error))
                return fail();
            stack.back() = r;
            break;
        }
        case Code::Binary: {
            RuntimeValue r;
            const RuntimeValue b = stack.back();
            stack.pop_back();
            if (!Operators::Binary(static_cast<BinaryOp>(in.a), stack.back(), b, r, error))
                return fail();
            stack.back() = r;
            break;
        }
        case Code::Call: {
            const auto first = stack.end() - in.b;
            const std::vector<RuntimeValue> args(first, stack.end());
            stack.erase(first, stack.end());
            RuntimeValue r;
            if (!RuntimeFunctions::Call(in.a, args, m_context, r, error))
                return fail();
            stack.push_back(r);
            break;
        }
        }
    }
    if (stack.size() != 1) {
        error = QStringLiteral("malformed program");
        return fail();
    }
    result.value = stack.back();
    result.timeStamp = newest ? newest : FileTimeClock::Now();
    return result;
}
