// The performance counter, read with the thread narrowed to one processor so
// that readings on machines whose processors' counters disagree stay ordered.
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
