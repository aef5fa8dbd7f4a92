// How long the play screen's score line takes to draw onto an 800 x 600
// screen each frame, how long loading a font at the game's sizes takes, and
// how long the game's start-up spends making its eight fonts.
#include "framework/graphics/Font.h"
#include "framework/graphics/Screen.h"

#include <benchmark/benchmark.h>

namespace {

// The game's own name for its font: found through fontconfig where Windows
// paths do not exist.
const char* const GAME_FONT = "C:\\Windows\\Fonts\\cour.ttf";

void drawScoreLine(benchmark::State& state) {
    const lum::Font small(GAME_FONT, 16);
    const lum::Font large(GAME_FONT, 24);
    lum::Screen screen(800, 600);
    const lum::Colour green(20, 255, 20, 255);
    for (auto _ : state) {
        small.drawText(screen, 30, 570, green, "Player 1: ");
        small.drawText(screen, 115, 570, green, "42");
        small.drawText(screen, 620, 565, green, "Computer: ");
        small.drawText(screen, 735, 565, green, "17");
        large.drawText(screen, 388, 565, green, "137");
        benchmark::DoNotOptimize(screen.getPixelData());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(drawScoreLine);

void measureText(benchmark::State& state) {
    const lum::Font font(GAME_FONT, 32);
    for (auto _ : state) {
        benchmark::DoNotOptimize(font.measureText("> Two players <"));
    }
}
BENCHMARK(measureText);

void loadFont(benchmark::State& state) {
    const auto size = static_cast<unsigned int>(state.range(0));
    for (auto _ : state) {
        const lum::Font font(GAME_FONT, size);
        benchmark::DoNotOptimize(&font);
    }
}
BENCHMARK(loadFont)->Arg(16)->Arg(48)->Unit(benchmark::kMillisecond);

// The fonts of the main menu, the play state, the pause and game-over screens,
// made in the order the game makes them and all alive together, as there.
void loadGameFonts(benchmark::State& state) {
    for (auto _ : state) {
        const lum::Font fonts[] = {{GAME_FONT, 32}, {GAME_FONT, 16}, {GAME_FONT, 24}, {GAME_FONT, 16},
                                   {GAME_FONT, 32}, {GAME_FONT, 16}, {GAME_FONT, 32}, {GAME_FONT, 16}};
        benchmark::DoNotOptimize(&fonts);
    }
}
BENCHMARK(loadGameFonts)->Unit(benchmark::kMillisecond);

} // namespace
