// The platform clock's counter readings in nanoseconds, and how long the event
// pump may sleep before a deadline.
#include "framework/sdl/SdlClock.h"
#include "framework/sdl/SdlEventPump.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(SdlClock, CountersConvertExactlyWithoutOverflow) {
    constexpr std::int64_t second = 1000000000;
    const struct {
        std::uint64_t counter, frequency;
        std::int64_t nanoseconds;
    } cases[] = {
        {25000001, 10000000, 2500000100},
        {3579545 * 7 + 1, 3579545, 7 * second + 279}, // one tick of 279.4 ns, rounded down
        // counter × 10^9 would overflow 64 bits long before these.
        {std::uint64_t{1} << 62, 1000000000, std::int64_t{1} << 62},
        {2400000000ull * 3600 * 24 * 365 + 1200000000, 2400000000, 3600ll * 24 * 365 * second + second / 2},
        {550000000000, 100000000000, 5500000000}, // a counter faster than a nanosecond per tick
    };
    for (const auto& c : cases)
        EXPECT_EQ(lum::SdlClock::toNanoseconds(c.counter, c.frequency), c.nanoseconds) << c.counter;
}

// Rounding down keeps a wait from ending past its deadline; far deadlines
// saturate instead of overflowing.
TEST(SdlEventPump, WaitsWholeMillisecondsRoundedDownAndClamped) {
    EXPECT_EQ(lum::SdlEventPump::waitMilliseconds(0, 16666667), 16);
    EXPECT_EQ(lum::SdlEventPump::waitMilliseconds(5000000, 6999999), 1);
    EXPECT_EQ(lum::SdlEventPump::waitMilliseconds(0, 999999), 0);
    EXPECT_EQ(lum::SdlEventPump::waitMilliseconds(100, 50), 0); // a deadline already passed
    EXPECT_EQ(lum::SdlEventPump::waitMilliseconds(-5, INT64_MAX), INT_MAX);
    EXPECT_EQ(lum::SdlEventPump::waitMilliseconds(0, std::int64_t{3000000} * 1000000000), INT_MAX);
    EXPECT_EQ(lum::SdlEventPump::waitMilliseconds(INT64_MIN, 0), INT_MAX);
}

} // namespace
