// Counts the heap requests of this test program, so a test can show that
// drawing text allocates nothing.
#pragma once

#include <cstddef>

namespace font_test {

std::size_t allocationCount();

} // namespace font_test
