// The two full-screen pictures, 800 × 600: the playing field behind a match,
// and the main menu with the game's title.
#pragma once

#include "framework/graphics/Image.h"

namespace pictures {

constexpr int screenWidth = 800;
constexpr int screenHeight = 600;

// A dark tiled floor with a darker strip along the top for the score line.
lum::Image gameBackground();
// A night sky over hills, the title in block letters, a snake after its food,
// and a darker panel where the menu's three lines are drawn.
lum::Image mainMenu();

} // namespace pictures
