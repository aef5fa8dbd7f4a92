// The installed font the operating system picks for a family: a file on disk
// (fontconfig) or the font's bytes (the Windows font mapper). Each operating
// system has its own file.
#pragma once

#include <string>
#include <vector>

namespace lum {

struct SystemFont {
    std::string path;                // set when the font is a file
    std::vector<unsigned char> bytes; // set when the font came as bytes
    bool empty() const { return path.empty() && bytes.empty(); }
};

class SystemFontLookup {
public:
    // Nothing (empty) when the system has no scalable font for the family.
    static SystemFont find(const char* family, bool bold, bool italic);
};

} // namespace lum
