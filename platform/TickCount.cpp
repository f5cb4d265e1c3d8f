#include "TickCount.h"

#include <chrono>

namespace {
TickSource g_tickSource;
}

DWORD GetTickCount()
{
    if (g_tickSource)
        return DWORD(g_tickSource());
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return DWORD(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

TickSource SetTickSource(TickSource source)
{
    TickSource previous = std::move(g_tickSource);
    g_tickSource = std::move(source);
    return previous;
}
