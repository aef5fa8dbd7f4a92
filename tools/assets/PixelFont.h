// Block letters five cells wide and seven high, for the game's title. Each
// letter takes only the columns it uses, with one empty column between
// letters, so narrow letters (i, l) sit close like set type.
#pragma once

#include <string>
#include <vector>

namespace pictures {

class PixelFont {
public:
    static constexpr int rows = 7;

    struct Cell {
        int column; // from the left of the text
        int row;    // from the bottom of the letters
    };

    // The filled cells of a text; letters it does not know are left out.
    static std::vector<Cell> layout(const std::string& text);
    // The width of the text in cells.
    static int width(const std::string& text);
};

} // namespace pictures
