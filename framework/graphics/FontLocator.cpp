// Font lookup through the file system and the system's font mapper.
#include "framework/graphics/FontLocator.h"

#include "framework/graphics/SystemFontLookup.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
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

} // namespace

SystemFont FontLocator::find(const std::string& fileName) {
    SystemFont found;
    if (isRegularFile(fileName)) {
        found.path = fileName;
        return found;
    }
    const std::string localName = baseName(fileName);
    if (isRegularFile(localName)) {
        found.path = localName;
        return found;
    }
    const WindowsFont* font = findWindowsFont(fileName);
    if (font == nullptr) return found;
    found = SystemFontLookup::find(font->family, font->bold, font->italic);
    // A path the system names must still exist as a file.
    if (!found.path.empty() && !isRegularFile(found.path)) found.path.clear();
    return found;
}

std::string FontLocator::locate(const std::string& fileName) { return find(fileName).path; }

} // namespace lum
