// The platform clock: counter readings in nanoseconds without overflow, and
// how long the event pump may sleep before a deadline.
#include "framework/sdl/SdlClock.h"
#include "framework/sdl/SdlEventPump.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using lum::SdlClock;
using lum::SdlEventPump;

TEST(SdlClock, CountersOfCommonFrequenciesConvertExactly) {
    EXPECT_EQ(SdlClock::toNanoseconds(123456789012u, 1000000000u), 123456789012);
    EXPECT_EQ(SdlClock::toNanoseconds(25000001u, 10000000u), 2500000100);
    // The ACPI timer: 7 seconds and one tick of 279.4 ns, rounded down.
    EXPECT_EQ(SdlClock::toNanoseconds(3579545u * 7 + 1, 3579545u), 7000000279);
}

TEST(SdlClock, CountersFarFromZeroDoNotOverflow) {
    // A counter × 10^9 would overflow 64 bits long before these.
    EXPECT_EQ(SdlClock::toNanoseconds(std::uint64_t{1} << 62, 1000000000u), std::int64_t{1} << 62);
    const std::uint64_t oneYearAt2400MHz = 2400000000ull * 3600 * 24 * 365;
    EXPECT_EQ(SdlClock::toNanoseconds(oneYearAt2400MHz + 1200000000u, 2400000000u),
              std::int64_t{3600} * 24 * 365 * 1000000000 + 500000000);
    // A counter faster than a nanosecond per tick.
    EXPECT_EQ(SdlClock::toNanoseconds(500000000000ull + 50000000000ull, 100000000000ull), 5500000000);
}

TEST(SdlClock, RunsBeforeAnyWindowAndNeverGoesBack) {
    const SdlClock clock;
    const std::int64_t first = clock.now();
    const std::int64_t second = clock.now();
    EXPECT_GE(first, 0);
    EXPECT_GE(second, first);
}

TEST(SdlEventPump, WaitsWholeMillisecondsRoundedDown) {
    EXPECT_EQ(SdlEventPump::waitMilliseconds(0, 16666667), 16);
    EXPECT_EQ(SdlEventPump::waitMilliseconds(5000000, 6999999), 1);
    EXPECT_EQ(SdlEventPump::waitMilliseconds(0, 999999), 0);
    EXPECT_EQ(SdlEventPump::waitMilliseconds(100, 100), 0);
    EXPECT_EQ(SdlEventPump::waitMilliseconds(100, 50), 0); // a deadline already passed
}

TEST(SdlEventPump, FarDeadlinesAreClampedInsteadOfOverflowing) {
    EXPECT_EQ(SdlEventPump::waitMilliseconds(-5, INT64_MAX), INT_MAX);
    EXPECT_EQ(SdlEventPump::waitMilliseconds(0, std::int64_t{3000000} * 1000000000), INT_MAX);
    EXPECT_EQ(SdlEventPump::waitMilliseconds(INT64_MIN, 0), INT_MAX);
}

} // namespace
