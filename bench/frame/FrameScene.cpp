// Making the synthetic frame's pictures.
#include "FrameScene.h"

#include <algorithm>
#include <cmath>
#include <random>

using lum::Colour;
using lum::Image;

const FrameLabel FRAME_LABELS[5] = {
    {"Player 1: ", 30, 570, false}, {"42", 115, 570, false}, {"Computer: ", 620, 565, false},
    {"17", 735, 565, false},        {"137", 388, 565, true},
};

namespace {

// A stone-like opaque pattern; 60 of the 400 blocks of 40 × 30 are magenta.
Image makeBackground(std::mt19937& random) {
    Image image(FrameScene::WIDTH, FrameScene::HEIGHT, Colour::BLACK);
    Colour* pixels = image.getPixels();
    for (int y = 0; y < FrameScene::HEIGHT; ++y)
        for (int x = 0; x < FrameScene::WIDTH; ++x)
            pixels[y * FrameScene::WIDTH + x] =
                Colour(std::uint8_t(40 + (x * 7 + y * 3) % 50), std::uint8_t(60 + (x ^ y) % 40), std::uint8_t(30 + y % 20), 255);
    std::vector<int> blocks(400);
    for (int i = 0; i < 400; ++i) blocks[i] = i;
    std::shuffle(blocks.begin(), blocks.end(), random);
    for (int b = 0; b < 60; ++b) {
        const int left = blocks[b] % 20 * 40, bottom = blocks[b] / 20 * 30;
        for (int y = bottom; y < bottom + 30; ++y)
            std::fill(pixels + y * FrameScene::WIDTH + left, pixels + y * FrameScene::WIDTH + left + 40, Colour::MAGENTA);
    }
    return image.setTransparentColour(Colour::MAGENTA);
}

// A disc of radius 13.5: opaque within 12, fading to nothing over the last
// 1.5 pixels, magenta outside.
Image makeFood(Colour colour) {
    Image image(FrameScene::FOOD_SIZE, FrameScene::FOOD_SIZE, Colour::MAGENTA);
    for (int y = 0; y < FrameScene::FOOD_SIZE; ++y)
        for (int x = 0; x < FrameScene::FOOD_SIZE; ++x) {
            const double r = std::hypot(x + 0.5 - 15.0, y + 0.5 - 15.0);
            if (r >= 13.5) continue;
            const double cover = std::min(1.0, (13.5 - r) / 1.5);
            colour.setAlpha(std::uint8_t(cover * 255.0));
            if (colour.getAlpha() > 0) image.plot(unsigned(x), unsigned(y), colour);
        }
    return image.setTransparentColour(Colour::MAGENTA);
}

// A snake cell: a body with magenta corners.
Image makeCell() {
    Image image(FrameScene::CELL, FrameScene::CELL, Colour(30, 160, 40, 255));
    for (unsigned int corner : {0u, 9u})
        image.plot(corner, 0, Colour::MAGENTA).plot(corner, 9, Colour::MAGENTA);
    return image.setTransparentColour(Colour::MAGENTA);
}

} // namespace

FrameScene::FrameScene() {
    std::mt19937 random(8061u);
    background = makeBackground(random);
    for (const Colour colour : {Colour(220, 30, 40, 255), Colour(240, 140, 20, 255), Colour(90, 200, 60, 255),
                                Colour(250, 220, 40, 255), Colour(150, 60, 180, 255)})
        foods.push_back(makeFood(colour));
    cell = makeCell();
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    // Eight of the pieces hang over an edge.
    for (int i = 0; i < 40; ++i)
        foodPlaces.push_back(i < 8 ? FramePlacement{i % 2 ? -12 : WIDTH - 18, pick(0, HEIGHT - FOOD_SIZE)}
                                   : FramePlacement{pick(0, WIDTH - FOOD_SIZE), pick(0, HEIGHT - FOOD_SIZE)});
    for (int i = 0; i < 200; ++i)
        cellPlaces.push_back({pick(0, WIDTH / CELL - 1) * CELL, pick(0, HEIGHT / CELL - 1) * CELL});
}
