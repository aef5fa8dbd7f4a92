// The glyphs: seven rows of five columns each, top row first.
#include "tools/assets/PixelFont.h"

#include <algorithm>
#include <map>

namespace pictures {

namespace {

using Glyph = std::vector<std::string>;

const std::map<char, Glyph>& glyphs() {
    static const std::map<char, Glyph> table = {
        {'V', {"X...X", "X...X", "X...X", "X...X", "X...X", ".X.X.", "..X.."}},
        {'e', {".....", ".....", ".XXX.", "X...X", "XXXXX", "X....", ".XXX."}},
        {'l', {".XX..", "..X..", "..X..", "..X..", "..X..", "..X..", ".XXX."}},
        {'o', {".....", ".....", ".XXX.", "X...X", "X...X", "X...X", ".XXX."}},
        {'r', {".....", ".....", "X.XX.", "XX..X", "X....", "X....", "X...."}},
        {'i', {"..X..", ".....", ".XX..", "..X..", "..X..", "..X..", ".XXX."}},
        {'n', {".....", ".....", "X.XX.", "XX..X", "X...X", "X...X", "X...X"}},
    };
    return table;
}

// The first and last column a glyph uses.
std::pair<int, int> extent(const Glyph& glyph) {
    int first = 5, last = -1;
    for (const std::string& row : glyph) {
        for (int column = 0; column < 5; ++column) {
            if (row[column] != 'X') continue;
            first = std::min(first, column);
            last = std::max(last, column);
        }
    }
    return {first, last};
}

} // namespace

std::vector<PixelFont::Cell> PixelFont::layout(const std::string& text) {
    std::vector<Cell> cells;
    int left = 0;
    for (const char letter : text) {
        const auto found = glyphs().find(letter);
        if (found == glyphs().end()) continue;
        const Glyph& glyph = found->second;
        const auto [first, last] = extent(glyph);
        for (int row = 0; row < rows; ++row) {
            for (int column = first; column <= last; ++column) {
                if (glyph[row][column] == 'X') cells.push_back({left + column - first, rows - 1 - row});
            }
        }
        left += last - first + 2;
    }
    return cells;
}

int PixelFont::width(const std::string& text) {
    int width = 0;
    for (const char letter : text) {
        const auto found = glyphs().find(letter);
        if (found == glyphs().end()) continue;
        const auto [first, last] = extent(found->second);
        width += last - first + 2;
    }
    return width > 0 ? width - 1 : 0;
}

} // namespace pictures
