// Naming and writing screenshots with the framework's own BMP codec.
#include "framework/Screenshot.h"

#include "framework/graphics/ImageFile.h"

#include <cctype>
#include <cstdio>

namespace lum {

namespace {

// Enough for any program's later screenshots in the same second.
constexpr unsigned int MAX_ATTEMPTS = 1000;

bool exists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

} // namespace

std::string Screenshot::prefix(const std::string& programName) {
    std::string result;
    for (const char c : programName) {
        const auto byte = static_cast<unsigned char>(c);
        result += std::isalnum(byte) ? static_cast<char>(std::tolower(byte)) : '-';
    }
    return result.empty() ? "screenshot" : result;
}

std::string Screenshot::fileName(const std::string& prefix, std::time_t when, unsigned int attempt) {
    char stamp[32] = "";
    const std::tm* local = std::localtime(&when);
    if (local == nullptr || std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", local) == 0) {
        std::snprintf(stamp, sizeof stamp, "%lld", static_cast<long long>(when));
    }
    std::string name = prefix + "-" + stamp;
    if (attempt > 1) name += "-" + std::to_string(attempt);
    return name + ".bmp";
}

std::string Screenshot::save(const Image& picture, const std::string& folder, const std::string& prefix,
                             std::time_t when) {
    const std::string start = folder.empty() ? std::string() : folder + "/";
    std::string path = start + fileName(prefix, when, 1);
    for (unsigned int attempt = 2; exists(path); ++attempt) {
        if (attempt > MAX_ATTEMPTS) throw ImageFile::ImageFileException("every name for " + path + " is taken");
        path = start + fileName(prefix, when, attempt);
    }
    ImageFile(path).save(picture);
    return path;
}

} // namespace lum
