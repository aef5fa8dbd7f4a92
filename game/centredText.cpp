// Centring texts on a point of the screen.
#include "game/centredText.h"

#include "framework/App.h"

const char* const centredText::FONT_FILE = "C:\\Windows\\Fonts\\cour.ttf";

void centredText::draw(lum::Image& target, const lum::Font& font, const std::string& text,
                       const lum::Colour& colour, int centreX, int centreY) {
    const lum::FontSize size = font.measureText(text);
    const int x = centreX - static_cast<int>(size.width / 2);
    const int y = centreY - static_cast<int>(size.height / 2);
    font.drawText(target, x, y, colour, text);
}

int centredText::screenCentreX() {
    return static_cast<int>(lum::application.getScreenWidth() / 2);
}

int centredText::screenCentreY() {
    return static_cast<int>(lum::application.getScreenHeight() / 2);
}
