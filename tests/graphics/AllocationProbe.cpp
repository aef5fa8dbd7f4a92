// Replaces the global allocation functions of the test program with ones that
// note the largest request. Every form is replaced, nothrow and sized ones
// included, so allocation and release always pair under the sanitizers.
#include "tests/graphics/AllocationProbe.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t largest = 0;

void* allocate(std::size_t size) {
    if (size > largest)
        largest = size;
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size) {
    if (void* memory = allocate(size))
        return memory;
    throw std::bad_alloc();
}

} // namespace

namespace graphics_test {

void resetLargestAllocation() { largest = 0; }
std::size_t largestAllocation() { return largest; }

} // namespace graphics_test

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
