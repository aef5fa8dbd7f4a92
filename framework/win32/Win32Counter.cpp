// QueryPerformanceCounter, kept in order.
#include "framework/win32/Win32Counter.h"

#include <windows.h>

namespace lum {

long long Win32Counter::frequency() {
    LARGE_INTEGER value;
    if (!QueryPerformanceFrequency(&value) || value.QuadPart <= 0) return 0;
    return value.QuadPart;
}

long long Win32Counter::read() {
    // One thread reads the clock: the loop's.
    static long long last = 0;
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    if (value.QuadPart > last) last = value.QuadPart;
    return last;
}

std::int64_t Win32Counter::toNanoseconds(long long count, long long frequency) {
    const long long seconds = count / frequency;
    const long long remainder = count % frequency;
    // remainder < frequency, so the product fits for counters below ~9 GHz.
    return static_cast<std::int64_t>(seconds * 1000000000LL + remainder * 1000000000LL / frequency);
}

} // namespace lum
