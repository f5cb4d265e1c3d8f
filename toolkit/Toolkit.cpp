// Start-up and shutdown only: the runtime connection is not available in this build,
// so every other operation reports failure the documented way.
#include "runtime/VantelToolkit.h"

namespace {
bool g_started = false;

void Terminate(VtChar* buffer, std::size_t capacity)
{
    if (buffer && capacity > 0)
        buffer[0] = 0;
}
} // namespace

extern "C" {

int ToolkitStartup()
{
    g_started = true;
    return 1;
}

void ToolkitShutdown()
{
    g_started = false;
}

int IsToolkitReady()
{
    return 0;
}

int IsLoginRequired(const VtChar*, int, const VtChar*, int, const VtChar*, int, VtHandle* handle)
{
    if (handle)
        *handle = nullptr;
    return 0;
}

int LogOn(const VtChar*, const VtChar*, int)
{
    return 1;
}

HRESULT ConnectRuntime(const VtChar*, int, const VtChar*, int, const VtChar*, int, VtHandle* handle)
{
    if (handle)
        *handle = nullptr;
    return g_started ? VT_E_UNREACHABLE : VT_E_NOT_STARTED;
}

void ActivateConnection(VtHandle) {}
void CloseConnection(VtHandle) {}

int IsConnectionLost(VtHandle)
{
    return 1;
}

void NormalizeTagText(VtChar*, std::size_t) {}

int CompileExpression(const VtChar*, void*, std::size_t, int, int, int, int)
{
    return 1;
}

void EvaluateCompiled(const void*, ResultRecord* record, int, int, int, int)
{
    if (record) {
        record->valid = 0;
        record->quality = kQualityBad;
    }
}

int EvaluateTagList(const VtChar*, int count, ResultRecord* records, int)
{
    for (int i = 0; records && i < count; ++i) {
        records[i].valid = 0;
        records[i].quality = kQualityBad;
    }
    return 1;
}

void FormatResultValue(VtChar* buffer, std::size_t capacity, const ResultRecord*)
{
    Terminate(buffer, capacity);
}

int GetQualityClass(std::uint16_t quality)
{
    return quality & 0xC0;
}

void FormatQuality(std::uint16_t, VtChar* buffer, std::size_t capacity)
{
    Terminate(buffer, capacity);
}

int ResolveTag(TagRef*, const VtChar*)
{
    return 0;
}

int WriteTagText(const TagRef*, const VtChar*, int, int, int, int)
{
    return 1;
}

int ReadTagText(const TagRef*, VtChar* buffer, std::size_t capacity, std::uint16_t*, int)
{
    Terminate(buffer, capacity);
    return 1;
}

int WriteTagInt(const TagRef*, int, int, int, int, int)
{
    return 1;
}

int ReadTagValueText(const TagRef*, VtChar* buffer, std::size_t capacity)
{
    Terminate(buffer, capacity);
    return 1;
}

int ValidateTextKind0(HWND, VtChar*, int, int, int)
{
    return 0;
}

int ValidateTextKind1(HWND, VtChar*, int, int, int, int)
{
    return 0;
}

int ValidateTextKind2(HWND, VtChar*, int, int, int, int)
{
    return 0;
}

int ValidateTextKind3(HWND, VtChar*, int, int, int, int)
{
    return 0;
}

int ParseTimeStamp(const VtChar*, FILETIME*, int)
{
    return 0;
}

int FormatTimeStamp(const FILETIME*, VtChar* buffer, int capacity, int)
{
    Terminate(buffer, capacity > 0 ? static_cast<std::size_t>(capacity) : 0);
    return 0;
}

int HasExtendedMenu(HWND)
{
    return 0;
}

} // extern "C"
