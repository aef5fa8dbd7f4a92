// Loading the game's pictures: every sprite and background is a BMP file whose
// pure magenta pixels are left out when it is drawn.
#pragma once

#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"

#include <string>

class spriteFile {
public:
    // The colour that marks the pixels a sprite does not draw.
    static const lum::Colour transparent;
    // Backgrounds are drawn from their bottom-left corner at this size,
    // whatever the size of the file.
    static constexpr int BACKGROUND_WIDTH = 800;
    static constexpr int BACKGROUND_HEIGHT = 600;

    // Reads the file into the image and marks magenta as transparent; throws
    // what lum::ImageFile throws when the file cannot be read.
    static void load(lum::Image& image, const std::string& fileName);
};
