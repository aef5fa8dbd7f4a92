// Finds the test fonts at their Debian locations (fonts-liberation, its
// successor fonts-liberation2, fonts-dejavu-core).
#include "tests/font/FontFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace font_test {

namespace {

std::string firstExisting(std::initializer_list<const char*> candidates) {
    for (const char* candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return {};
}

} // namespace

std::string liberationMono() {
    return firstExisting({"/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf",
                          "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf"});
}

std::string liberationSans() {
    return firstExisting({"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
                          "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"});
}

std::string dejaVuSans() {
    return firstExisting({"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"});
}

std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace font_test
