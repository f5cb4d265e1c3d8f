#pragma once

#include "WinTypes.h"

#include <cstdint>
#include <functional>

// Milliseconds from a monotonic clock, cut to 32 bits as GetTickCount gives them:
// the count wraps after 49.7 days, so callers compare differences, unsigned.
DWORD GetTickCount();

// Tests replace the clock with their own millisecond source; the previous
// source comes back, and an empty one restores the monotonic clock.
using TickSource = std::function<std::uint64_t()>;
TickSource SetTickSource(TickSource source);
