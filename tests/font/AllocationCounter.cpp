// Replaces the two global allocation functions every other form of new and
// delete forwards to by default, counting each request.
#include "tests/font/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {
std::size_t allocations = 0;
} // namespace

namespace font_test {

std::size_t allocationCount() {
    return allocations;
}

} // namespace font_test

void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
