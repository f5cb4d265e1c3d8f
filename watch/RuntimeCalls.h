#pragma once

#include "runtime/TagBrowserExt.h"
#include "runtime/VantelToolkit.h"

// The toolkit and tag-browser operations the watch grid calls. The grid goes
// through this table so that unit tests can put a deterministic runtime in
// place of the real one; the shipped program always uses Real().
struct RuntimeCalls
{
    decltype(&::IsToolkitReady) IsToolkitReady;
    decltype(&::IsConnectionLost) IsConnectionLost;
    decltype(&::NormalizeTagText) NormalizeTagText;
    decltype(&::CompileExpression) CompileExpression;
    decltype(&::EvaluateCompiled) EvaluateCompiled;
    decltype(&::EvaluateTagList) EvaluateTagList;
    decltype(&::FormatResultValue) FormatResultValue;
    decltype(&::GetQualityClass) GetQualityClass;
    decltype(&::FormatQuality) FormatQuality;
    decltype(&::ResolveTag) ResolveTag;
    decltype(&::WriteTagText) WriteTagText;
    decltype(&::ReadTagText) ReadTagText;
    decltype(&::WriteTagInt) WriteTagInt;
    decltype(&::ReadTagValueText) ReadTagValueText;
    decltype(&::TagBrowser) TagBrowser;
    // Optional: without it every row asks the runtime on its own.
    decltype(&::EnterRows) EnterRows;

    static const RuntimeCalls& Real();
};
