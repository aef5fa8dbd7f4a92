// The fonts of the web version: the page's file system holds Liberation Mono,
// metric-compatible with Courier New, in /fonts (the build packs it in). Other
// families have no font there.
#include "framework/graphics/SystemFontLookup.h"

#include <cstring>

namespace lum {

namespace {

struct PackedFont {
    const char* family;
    bool bold;
    bool italic;
    const char* path;
};

constexpr PackedFont PACKED_FONTS[] = {
    {"Courier New", false, false, "/fonts/LiberationMono-Regular.ttf"},
    {"Courier New", true, false, "/fonts/LiberationMono-Bold.ttf"},
    {"Courier New", false, true, "/fonts/LiberationMono-Italic.ttf"},
    {"Courier New", true, true, "/fonts/LiberationMono-BoldItalic.ttf"},
};

} // namespace

SystemFont SystemFontLookup::find(const char* family, bool bold, bool italic) {
    SystemFont found;
    if (family == nullptr) return found;
    for (const PackedFont& font : PACKED_FONTS) {
        if (std::strcmp(font.family, family) == 0 && font.bold == bold && font.italic == italic) {
            found.path = font.path;
            break;
        }
    }
    return found;
}

} // namespace lum
