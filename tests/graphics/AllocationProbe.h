// Records the largest single heap request of this test program, so a test can
// show that a refused image size never reached the allocator.
#pragma once

#include <cstddef>

namespace graphics_test {

void resetLargestAllocation();
std::size_t largestAllocation();

} // namespace graphics_test
