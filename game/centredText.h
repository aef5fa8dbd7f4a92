// One line of text centred on a point: the score line, the menu lines and the
// result line all place their texts this way.
#pragma once

#include "framework/graphics/Colour.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Image.h"

#include <string>

class centredText {
public:
    // The font file every text of the game is drawn with.
    static const char* const FONT_FILE;

    // Draws the text so that its measured box is centred on (centreX, centreY),
    // halves rounded down. Positions are signed: a text wider than the target
    // starts left of it rather than wrapping round to a huge coordinate.
    static void draw(lum::Image& target, const lum::Font& font, const std::string& text,
                     const lum::Colour& colour, int centreX, int centreY);

    // The middle of the App's screen, halves rounded down.
    static int screenCentreX();
    static int screenCentreY();
};
