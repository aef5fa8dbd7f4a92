// Real font files for the font tests: the Liberation fonts every build machine
// installs, and DejaVu where it happens to be present.
#pragma once

#include <string>
#include <vector>

namespace font_test {

// The path of an installed font file, or an empty text when it is absent.
std::string liberationMono();
std::string liberationSans();
std::string dejaVuSans();

std::vector<unsigned char> readBytes(const std::string& path);

} // namespace font_test

// Skips the running test when a font file is missing, naming the package.
#define REQUIRE_FONT(path, package)                                                              \
    do {                                                                                         \
        if ((path).empty()) {                                                                    \
            GTEST_SKIP() << "font file not installed (Debian package " << (package) << ")";      \
        }                                                                                        \
    } while (false)
