// Font file lookup through the file system and fontconfig.
#include "framework/graphics/FontLocator.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

namespace lum {

namespace {

struct WindowsFont {
    const char* fileName;
    const char* family;
    bool bold;
    bool italic;
};

// The standard Windows fonts, by the file names that stand for them.
constexpr WindowsFont WINDOWS_FONTS[] = {
    {"cour.ttf", "Courier New", false, false},
    {"courbd.ttf", "Courier New", true, false},
    {"couri.ttf", "Courier New", false, true},
    {"courbi.ttf", "Courier New", true, true},
    {"arial.ttf", "Arial", false, false},
    {"arialbd.ttf", "Arial", true, false},
    {"ariali.ttf", "Arial", false, true},
    {"arialbi.ttf", "Arial", true, true},
    {"times.ttf", "Times New Roman", false, false},
    {"timesbd.ttf", "Times New Roman", true, false},
    {"timesi.ttf", "Times New Roman", false, true},
    {"timesbi.ttf", "Times New Roman", true, true},
    {"verdana.ttf", "Verdana", false, false},
    {"tahoma.ttf", "Tahoma", false, false},
    {"georgia.ttf", "Georgia", false, false},
    {"consola.ttf", "Consolas", false, false},
    {"lucon.ttf", "Lucida Console", false, false},
    {"comic.ttf", "Comic Sans MS", false, false},
};

struct PatternDestroyer {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternHandle = std::unique_ptr<FcPattern, PatternDestroyer>;

bool isRegularFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// The name after the last folder separator of either kind.
std::string baseName(const std::string& path) {
    const std::string::size_type separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

const WindowsFont* findWindowsFont(const std::string& fileName) {
    std::string name = baseName(fileName);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const WindowsFont& font : WINDOWS_FONTS) {
        if (name == font.fileName) {
            return &font;
        }
    }
    return nullptr;
}

// fontconfig's best match always names some font; only an existing scalable
// file is accepted.
std::string matchInstalledFont(const WindowsFont& font) {
    PatternHandle pattern(FcPatternCreate());
    if (!pattern) {
        return {};
    }
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(font.family));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) {
        return {};
    }
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    PatternHandle match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match || result != FcResultMatch) {
        return {};
    }
    FcChar8* file = nullptr;
    FcBool scalable = FcFalse;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr ||
        FcPatternGetBool(match.get(), FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable) {
        return {};
    }
    std::string path(reinterpret_cast<const char*>(file));
    return isRegularFile(path) ? path : std::string();
}

} // namespace

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUM_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define LUM_LEAK_CHECKED 1
#endif
#ifdef LUM_LEAK_CHECKED
// fontconfig loses a few bytes while it parses its configuration files, once
// per process and out of our reach. The library has no frame pointers, so the
// leak checker only sees that the memory came from it: every block fontconfig
// allocates is passed over (our own patterns are freed by their handles).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

std::string FontLocator::locate(const std::string& fileName) {
    if (isRegularFile(fileName)) {
        return fileName;
    }
    const std::string localName = baseName(fileName);
    if (isRegularFile(localName)) {
        return localName;
    }
    const WindowsFont* font = findWindowsFont(fileName);
    return font == nullptr ? std::string() : matchInstalledFont(*font);
}

} // namespace lum
