#include "platform/TickCount.h"

#include <gtest/gtest.h>

namespace {

TEST(TickCount, ComesFromTheInjectedSourceCutTo32BitsAndWrapsHarmlessly)
{
    std::uint64_t now = 0xFFFFFFFBull;
    const TickSource previous = SetTickSource([&now] { return now; });
    const DWORD before = GetTickCount();
    now += 10;
    const DWORD after = GetTickCount();
    EXPECT_EQ(after, 5u);
    EXPECT_EQ(DWORD(after - before), 10u);
    SetTickSource(previous);

    const DWORD first = GetTickCount();
    EXPECT_LT(DWORD(GetTickCount() - first), 1000u) << "the monotonic clock is back";
}

} // namespace
