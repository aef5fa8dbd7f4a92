// What every frame costs: the 800 × 600 background copied onto the screen, a
// magenta-keyed 10 × 10 sprite, a 30 × 30 sprite with partial alpha, and the
// clear of the screen.
#include "framework/graphics/Image.h"
#include "framework/graphics/Screen.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>

using lum::Colour;
using lum::Image;

namespace {

Image opaqueBackground() {
    Image image(800, 600, Colour::BLACK);
    Colour* pixels = image.getPixels();
    for (unsigned int i = 0; i < image.getPixelCount(); ++i)
        pixels[i] = Colour(std::uint8_t(i), std::uint8_t(i >> 8), std::uint8_t(i >> 3), 255);
    // A copy: the image that handed out its pixels is drawn by the general paths.
    return Image(image);
}

// A snake-cell-like sprite: a magenta frame around an opaque body.
Image keyedSprite() {
    Image image(10, 10, Colour::MAGENTA);
    for (unsigned int y = 2; y < 8; ++y)
        for (unsigned int x = 2; x < 8; ++x)
            image.plot(x, y, Colour(30, std::uint8_t(100 + x * 10), 40, 255));
    image.setTransparentColour(Colour::MAGENTA);
    return image;
}

// Anti-aliased-looking edges: alpha falls off towards the corners.
Image translucentSprite() {
    Image image(30, 30, Colour::BLACK);
    for (unsigned int y = 0; y < 30; ++y)
        for (unsigned int x = 0; x < 30; ++x)
            image.plot(x, y, Colour(200, std::uint8_t(x * 8), std::uint8_t(y * 8), std::uint8_t((x * y * 7) % 256)));
    return image;
}

void BM_BackgroundOntoScreen(benchmark::State& state) {
    lum::Screen screen(800, 600);
    const Image background = opaqueBackground();
    for (auto _ : state) {
        screen.drawImage(background, 0, 0, 800, 600, 0, 0);
        benchmark::DoNotOptimize(static_cast<const lum::Screen&>(screen).getPixels());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_BackgroundOntoScreen);

// The floor for the background: a bare copy of the same block.
void BM_BareBlockCopy(benchmark::State& state) {
    lum::Screen screen(800, 600);
    const Image background = opaqueBackground();
    for (auto _ : state) {
        std::memcpy(screen.getPixels(), background.getPixels(), 800 * 600 * sizeof(Colour));
        benchmark::DoNotOptimize(screen.getPixels());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_BareBlockCopy);

// Sprites walk along one row of the screen, as snake segments and food do.
void drawSpritesAlongARow(benchmark::State& state, const Image& sprite, int y) {
    lum::Screen screen(800, 600);
    const int size = static_cast<int>(sprite.getWidth());
    int x = 0;
    for (auto _ : state) {
        screen.drawImage(sprite, 0, 0, size, size, x, y);
        x = (x + size) % (800 - size);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * size * size);
}

void BM_KeyedSprite10(benchmark::State& state) { drawSpritesAlongARow(state, keyedSprite(), 300); }
BENCHMARK(BM_KeyedSprite10);

void BM_TranslucentSprite30(benchmark::State& state) { drawSpritesAlongARow(state, translucentSprite(), 200); }
BENCHMARK(BM_TranslucentSprite30);

void BM_ClearScreen(benchmark::State& state) {
    lum::Screen screen(800, 600);
    for (auto _ : state) {
        screen.clear(Colour::BLACK);
        benchmark::DoNotOptimize(static_cast<const lum::Screen&>(screen).getPixels());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_ClearScreen);

} // namespace
