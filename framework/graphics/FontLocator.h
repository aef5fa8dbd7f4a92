// Finds the file to open for a font name. The game names its fonts by Windows
// paths ("C:\Windows\Fonts\cour.ttf"); elsewhere such a path does not exist, so
// the name is tried in turn as given, as a bare file name in the working
// directory, and as the installed font the system picks for the family the
// Windows file stands for (Courier New for cour.ttf, and so on).
#pragma once

#include "framework/graphics/SystemFontLookup.h"

#include <string>

namespace lum {

class FontLocator {
public:
    // The path of an existing file, or an empty text when nothing is found.
    static std::string locate(const std::string& fileName);
    // The file or, where the system hands fonts out as bytes, the font's bytes;
    // empty when nothing is found.
    static SystemFont find(const std::string& fileName);
};

} // namespace lum
