// The game's sprites: the snake's head and body segment (10 × 10) and the five
// kinds of food (30 × 30), from a small berry worth 1 to a big melon worth 5.
// Each is painted at any position and scale, so the menu picture can show them
// larger; as files they are made at their own size, keyed with magenta.
#pragma once

#include "framework/graphics/Image.h"
#include "tools/assets/Canvas.h"

namespace pictures {

constexpr int snakeCell = 10;
constexpr int foodCell = 30;
constexpr int foodKinds = 5;

// (x, y) is the bottom-left corner of the cell; `scale` pixels per sprite pixel.
void paintSnakeBit(Canvas& canvas, double x, double y, double scale);
void paintSnakeHead(Canvas& canvas, double x, double y, double scale);
void paintFood(Canvas& canvas, int value, double x, double y, double scale);

lum::Image snakeBit();
lum::Image snakeHead();
lum::Image food(int value);

} // namespace pictures
