// Loading the game's pictures with magenta as their transparent colour.
#include "game/spriteFile.h"

#include "framework/graphics/ImageFile.h"

const lum::Colour spriteFile::transparent(255, 0, 255, 255);

void spriteFile::load(lum::Image& image, const std::string& fileName) {
    lum::ImageFile file(fileName);
    file.load(image);
    image.setTransparentColour(transparent);
}
