#pragma once

#include "Program.h"
#include "RuntimeFunctions.h"
#include "toolkit/protocol/RuntimeResult.h"

class TagDatabase;

// Runs a compiled program. The result's quality is the lowest quality of the
// tags it read (192 when it read none), its time stamp the newest of theirs.
class ExpressionEvaluator
{
public:
    ExpressionEvaluator(const TagDatabase& tags, RuntimeFunctions::Context& context);

    RuntimeResult Evaluate(const Program& program);

private:
    const TagDatabase& m_tags;
    RuntimeFunctions::Context& m_context;
};
