#include "RuntimeCalls.h"

const RuntimeCalls& RuntimeCalls::Real()
{
    static const RuntimeCalls calls{
        ::IsToolkitReady,   ::IsConnectionLost, ::NormalizeTagText,  ::CompileExpression,
        ::EvaluateCompiled, ::EvaluateTagList,  ::FormatResultValue, ::GetQualityClass,
        ::FormatQuality,    ::ResolveTag,       ::WriteTagText,      ::ReadTagText,
        ::WriteTagInt,      ::ReadTagValueText, ::TagBrowser,        ::EnterRows,
    };
    return calls;
}
