// The performance counter. Its readings never go backwards: Windows keeps the
// counter consistent across processors, and a reading below the last one
// returned (a counter that disagreed between processors on old hardware) is
// raised to it. Narrowing the thread to one processor for every reading did
// the same at the price of two system calls per reading.
#pragma once

#include <cstdint>

namespace lum {

class Win32Counter {
public:
    // 0 when the system has no performance counter.
    static long long frequency();
    static long long read();
    // A counter reading in nanoseconds, exact for any frequency.
    static std::int64_t toNanoseconds(long long count, long long frequency);
};

} // namespace lum
