// The wait on the window system's connection, on a pipe standing in for it:
// it ends when its time is up, and at once when input is there.
#include "framework/sdl/SdlDisplayWait.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TEST(SdlDisplayWait, EndsAtItsTimeOrAtOnceWithInput) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const auto wait = lum::SdlDisplayWait::forDescriptor(ends[0]);
    ASSERT_NE(wait, nullptr);

    // Nothing to read: it sleeps the whole time, again and again (the timer
    // that expired unread last time is forgotten), however short the time.
    for (const std::int64_t nanoseconds : {std::int64_t{3000000}, std::int64_t{1000000}, std::int64_t{3000000}, std::int64_t{1}}) {
        const Clock::time_point start = Clock::now();
        EXPECT_FALSE(wait->waitForInput(nanoseconds));
        EXPECT_GE(millisecondsSince(start), nanoseconds / 1e6);
        EXPECT_LT(millisecondsSince(start), 1000.0);
    }
    // Input there already: it returns long before its time.
    ASSERT_EQ(write(ends[1], "x", 1), 1);
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(wait->waitForInput(std::int64_t{20} * 1000000000));
    EXPECT_LT(millisecondsSince(start), 1000.0);

    close(ends[0]);
    close(ends[1]);
}

} // namespace
