// Fonts on Windows: a game font named by its Windows path resolves to the file
// when it exists, else to the bytes of the font the system's font mapper picks
// for the family.
#include "framework/graphics/Font.h"
#include "framework/graphics/FontLocator.h"
#include "framework/graphics/SystemFontLookup.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

bool isFontFile(const std::vector<unsigned char>& bytes) {
    static const unsigned char trueType[] = {0, 1, 0, 0};
    return bytes.size() > 1000 && (std::memcmp(bytes.data(), trueType, 4) == 0 ||
                                   std::memcmp(bytes.data(), "true", 4) == 0 ||
                                   std::memcmp(bytes.data(), "OTTO", 4) == 0);
}

TEST(Win32Fonts, TheFontMapperGivesAWholeFontFileAndTheGameFontIsFoundAndMeasuresText) {
    for (const bool bold : {false, true}) {
        const lum::SystemFont mono = lum::SystemFontLookup::find("Courier New", bold, false);
        EXPECT_TRUE(mono.path.empty() && isFontFile(mono.bytes)) << bold << ": " << mono.bytes.size() << " bytes";
    }
    const std::string name = "C:\\Windows\\Fonts\\cour.ttf";
    const lum::SystemFont found = lum::FontLocator::find(name);
    ASSERT_FALSE(found.empty());
    // Either the file itself (a real Windows) or the mapper's bytes (Wine).
    EXPECT_TRUE(found.path.empty() || found.path == name) << found.path;
    const lum::Font font(name, 24);
    EXPECT_EQ(font.measureText(" ").width, 12u); // half the size, as for every font
    const unsigned int one = font.measureText("W").width;
    EXPECT_GT(one, 0u);
    EXPECT_GT(font.measureText("WWW").width, 2 * one);
    EXPECT_TRUE(lum::FontLocator::find("C:\\Windows\\Fonts\\nosuchfont.ttf").empty());
}

} // namespace
