// The pictures of the synthetic play frame, made once with fixed seeds: an
// opaque 800 × 600 background with about 15% magenta in blocks, round 30 × 30
// food with a 1.5-pixel anti-aliased rim and magenta outside, 10 × 10 snake
// cells keyed on magenta, and where each of them goes (some food clipped at
// the edges). The same scene is drawn by lum and by SDL.
#pragma once

#include "framework/graphics/Image.h"

#include <vector>

struct FramePlacement {
    int x;
    int y;
};

struct FrameScene {
    static constexpr int WIDTH = 800;
    static constexpr int HEIGHT = 600;
    static constexpr int FOOD_SIZE = 30;
    static constexpr int CELL = 10;

    FrameScene();

    lum::Image background;
    std::vector<lum::Image> foods; // five colours
    lum::Image cell;
    std::vector<FramePlacement> foodPlaces; // 40
    std::vector<FramePlacement> cellPlaces; // 200
};

// The five labels of the score line: text, x, y, large font or not.
struct FrameLabel {
    const char* text;
    int x;
    int y;
    bool large;
};
extern const FrameLabel FRAME_LABELS[5];
