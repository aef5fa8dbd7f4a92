// The column of choices that the menu, pause and game-over screens share: lines
// centred on the screen's middle column, 100 pixels apart, the top one 100
// pixels above the middle, with one line highlighted.
#pragma once

#include "framework/IKeyEvent.h"
#include "framework/graphics/Colour.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Image.h"

#include <string>
#include <vector>

class choiceList {
public:
    // Up and Down, when pressed, move the highlight one line; it does not wrap.
    static void moveHighlight(int& selectedItem, int lineCount, const lum::KeyEvent& event);

    // The keys of a two-line screen whose top line switches to `topState` and
    // whose bottom line leaves the program: Escape leaves, Space acts on the
    // highlighted line whether pressed or released, Up and Down move.
    static void twoLineKeys(int& selectedItem, const std::string& topState, const lum::KeyEvent& event);

    // Line `index` of the column, centred on its point; index -1 is the line
    // above the column.
    static void drawLine(lum::Image& target, const lum::Font& font, const lum::Colour& colour,
                         const std::string& text, int index);

    // Every line in one colour, the highlighted one in the big font.
    static void drawChoices(lum::Image& target, const std::vector<std::string>& lines, int selectedItem,
                            const lum::Font& bigFont, const lum::Font& smallFont, const lum::Colour& colour);
};
