// One play frame drawn three ways in the same program: by lum, by SDL2's own
// blitter (SDL_FillRect, SDL_BlitSurface with a colour key, and with blending)
// and as a bare copy of one frame's bytes, the floor for any of them. Then the
// parts of the frame alone, and the game's own frame from its real pictures.
// After the table the ratios between the rows are printed, from processor
// time per frame (run with --benchmark_repetitions=5 for steadier ones on a
// busy machine).
#include "FrameScene.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/ImageFile.h"
#include "framework/graphics/RowCopy.h"
#include "framework/graphics/RowDrawing.h"
#include "framework/graphics/Screen.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using lum::Colour;
using lum::Image;

namespace {

const char* const GAME_FONT = "C:\\Windows\\Fonts\\cour.ttf";
const Colour SCORE_GREEN(20, 255, 20, 255);

const FrameScene& scene() {
    static const FrameScene made;
    return made;
}

struct LumFonts {
    lum::Font small{GAME_FONT, 16};
    lum::Font large{GAME_FONT, 24};
};

const LumFonts& fonts() {
    static const LumFonts made;
    return made;
}

// ---- lum ----

void drawLumFood(lum::Screen& screen) {
    const FrameScene& s = scene();
    for (std::size_t i = 0; i < s.foodPlaces.size(); ++i)
        screen.drawImage(s.foods[i % s.foods.size()], 0, 0, FrameScene::FOOD_SIZE, FrameScene::FOOD_SIZE,
                         s.foodPlaces[i].x, s.foodPlaces[i].y);
}

void drawLumCells(lum::Screen& screen) {
    for (const FramePlacement& place : scene().cellPlaces)
        screen.drawImage(scene().cell, 0, 0, FrameScene::CELL, FrameScene::CELL, place.x, place.y);
}

void drawLumText(lum::Screen& screen) {
    for (const FrameLabel& label : FRAME_LABELS)
        (label.large ? fonts().large : fonts().small).drawText(screen, label.x, label.y, SCORE_GREEN, label.text);
}

void drawLumFrame(lum::Screen& screen) {
    screen.clear(Colour::BLACK);
    screen.drawImage(scene().background, 0, 0, FrameScene::WIDTH, FrameScene::HEIGHT, 0, 0);
    drawLumFood(screen);
    drawLumCells(screen);
    drawLumText(screen);
}

// ---- SDL ----

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// The same bytes as the image (ABGR8888 is R, G, B, A in memory), rows turned
// top first as SDL keeps them.
Surface toSurface(const Image& image, bool blend) {
    const int width = int(image.getWidth()), height = int(image.getHeight());
    Surface surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ABGR8888), SDL_FreeSurface);
    lum::RowCopy::copyImage(image.getPixels(), unsigned(width), unsigned(height),
                            {static_cast<unsigned char*>(surface->pixels), surface->pitch, true, false, false}, nullptr);
    if (image.getTransparentColour() != nullptr) {
        const Colour key = *image.getTransparentColour();
        SDL_SetColorKey(surface.get(), SDL_TRUE,
                        SDL_MapRGBA(surface->format, key.getRed(), key.getGreen(), key.getBlue(), key.getAlpha()));
    }
    SDL_SetSurfaceBlendMode(surface.get(), blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    return surface;
}

// A label as SDL would draw it: the text colour with the glyphs' coverage as
// alpha, blended (the coverage taken from white text drawn by lum on black).
Surface labelSurface(const FrameLabel& label) {
    const lum::Font& font = label.large ? fonts().large : fonts().small;
    const lum::FontSize size = font.measureText(label.text);
    Image coverage(size.width + 2, size.height + 8, Colour::BLACK);
    font.drawText(coverage, 0, 4, Colour::WHITE, label.text);
    for (unsigned int i = 0; i < coverage.getPixelCount(); ++i) {
        Colour& pixel = coverage.getPixels()[i];
        pixel = Colour(SCORE_GREEN.getRed(), SCORE_GREEN.getGreen(), SCORE_GREEN.getBlue(), pixel.getRed());
    }
    return toSurface(coverage, true);
}

struct SdlScene {
    Surface screen{SDL_CreateRGBSurfaceWithFormat(0, FrameScene::WIDTH, FrameScene::HEIGHT, 32, SDL_PIXELFORMAT_ABGR8888),
                   SDL_FreeSurface};
    Surface background = toSurface(scene().background, false);
    std::vector<Surface> foods;
    Surface cell = toSurface(scene().cell, false);
    std::vector<Surface> labels;

    SdlScene() {
        for (const Image& food : scene().foods) foods.push_back(toSurface(food, true));
        for (const FrameLabel& label : FRAME_LABELS) labels.push_back(labelSurface(label));
    }

    // lum's y counts up from the bottom row, SDL's down from the top.
    static SDL_Rect at(int x, int y, int width, int height) { return {x, FrameScene::HEIGHT - y - height, width, height}; }

    void clear() { SDL_FillRect(screen.get(), nullptr, SDL_MapRGBA(screen->format, 0, 0, 0, 255)); }
    void drawBackground() { SDL_BlitSurface(background.get(), nullptr, screen.get(), nullptr); }
    void drawFood() {
        const FrameScene& s = scene();
        for (std::size_t i = 0; i < s.foodPlaces.size(); ++i) {
            SDL_Rect place = at(s.foodPlaces[i].x, s.foodPlaces[i].y, FrameScene::FOOD_SIZE, FrameScene::FOOD_SIZE);
            SDL_BlitSurface(foods[i % foods.size()].get(), nullptr, screen.get(), &place);
        }
    }
    void drawCells() {
        for (const FramePlacement& p : scene().cellPlaces) {
            SDL_Rect place = at(p.x, p.y, FrameScene::CELL, FrameScene::CELL);
            SDL_BlitSurface(cell.get(), nullptr, screen.get(), &place);
        }
    }
    void drawText() {
        for (std::size_t i = 0; i < labels.size(); ++i) {
            SDL_Rect place = at(FRAME_LABELS[i].x, FRAME_LABELS[i].y - 4, labels[i]->w, labels[i]->h);
            SDL_BlitSurface(labels[i].get(), nullptr, screen.get(), &place);
        }
    }
    void drawFrame() {
        clear();
        drawBackground();
        drawFood();
        drawCells();
        drawText();
    }
};

SdlScene& sdl() {
    static SdlScene made;
    return made;
}

// ---- the rows ----

template <class Draw>
void lumRow(benchmark::State& state, Draw draw) {
    lum::Screen screen(FrameScene::WIDTH, FrameScene::HEIGHT);
    scene();
    fonts();
    for (auto _ : state) {
        draw(screen);
        // Read only: asking for the pixels to write would have them classified again.
        benchmark::DoNotOptimize(static_cast<const lum::Screen&>(screen).getPixelData());
        benchmark::ClobberMemory();
    }
}

template <class Draw>
void sdlRow(benchmark::State& state, Draw draw) {
    SdlScene& s = sdl();
    for (auto _ : state) {
        draw(s);
        benchmark::DoNotOptimize(s.screen->pixels);
        benchmark::ClobberMemory();
    }
}

void frameLum(benchmark::State& state) { lumRow(state, drawLumFrame); }
void frameSdl(benchmark::State& state) { sdlRow(state, [](SdlScene& s) { s.drawFrame(); }); }

void frameMemcpy(benchmark::State& state) {
    std::vector<unsigned char> from(FrameScene::WIDTH * FrameScene::HEIGHT * 4, 7), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

void clearLum(benchmark::State& state) { lumRow(state, [](lum::Screen& screen) { screen.clear(Colour::BLACK); }); }
void clearSdl(benchmark::State& state) { sdlRow(state, [](SdlScene& s) { s.clear(); }); }
void backgroundLum(benchmark::State& state) {
    lumRow(state, [](lum::Screen& screen) {
        screen.drawImage(scene().background, 0, 0, FrameScene::WIDTH, FrameScene::HEIGHT, 0, 0);
    });
}
void backgroundSdl(benchmark::State& state) { sdlRow(state, [](SdlScene& s) { s.drawBackground(); }); }
void foodLum(benchmark::State& state) { lumRow(state, drawLumFood); }
void foodSdl(benchmark::State& state) { sdlRow(state, [](SdlScene& s) { s.drawFood(); }); }
void cellsLum(benchmark::State& state) { lumRow(state, drawLumCells); }
void cellsSdl(benchmark::State& state) { sdlRow(state, [](SdlScene& s) { s.drawCells(); }); }
void textLum(benchmark::State& state) { lumRow(state, drawLumText); }
void textSdl(benchmark::State& state) { sdlRow(state, [](SdlScene& s) { s.drawText(); }); }

// The game's frame as its play state draws it in a match against the computer:
// the clear, the background, the score line, eight pieces of food and two
// snakes of 25 cells, all from the game's own pictures and font.
struct GameScene {
    Image background, head, bit;
    std::vector<Image> foods;
    lum::Font small{GAME_FONT, 16};

    static Image sprite(const std::string& name) {
        Image image;
        lum::ImageFile(std::string(VELLORIN_ASSETS) + "/" + name).load(image);
        return image.setTransparentColour(Colour::MAGENTA);
    }

    GameScene() : background(sprite("gameBackground.bmp")), head(sprite("snakeHead.bmp")), bit(sprite("snakeBit.bmp")) {
        for (int i = 1; i <= 5; ++i) foods.push_back(sprite("food" + std::to_string(i) + ".bmp"));
    }

    void draw(lum::Screen& screen) const {
        screen.clear(Colour::BLACK);
        screen.drawImage(background, 0, 0, 800, 600, 0, 0);
        small.drawText(screen, 20, 575, SCORE_GREEN, "Player 1: ");
        small.drawText(screen, 115, 575, SCORE_GREEN, "25");
        small.drawText(screen, 620, 570, SCORE_GREEN, "Computer: ");
        small.drawText(screen, 735, 570, SCORE_GREEN, "25");
        for (int i = 0; i < 8; ++i)
            screen.drawImage(foods[std::size_t(i % 5)], 0, 0, 30, 30, 60 + i * 85, 100 + (i * 137) % 400);
        for (int snake = 0; snake < 2; ++snake)
            for (int cell = 0; cell < 25; ++cell) {
                const Image& sprite = cell == 0 ? head : bit;
                screen.drawImage(sprite, 0, 0, 10, 10, 300 - cell * 10, 200 + snake * 150 + (cell / 10) * 10);
            }
    }
};

void gameFrameLum(benchmark::State& state) {
    std::unique_ptr<GameScene> game;
    try {
        game = std::make_unique<GameScene>();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    lumRow(state, [&game](lum::Screen& screen) { game->draw(screen); });
}

// Processor time per iteration of every row, by name, for the ratios; with
// repetitions the shortest, the one least disturbed by other work.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            const auto known = times.find(run.run_name.str());
            const double time = run.GetAdjustedCPUTime();
            if (known == times.end() || time < known->second) times[run.run_name.str()] = time;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void ratio(const char* what, const std::string& row, const std::string& against, double goal) const {
        const auto a = times.find(row), b = times.find(against);
        if (a == times.end() || b == times.end() || b->second <= 0) return;
        const double value = a->second / b->second;
        std::printf("%-44s %6.3f  (goal <= %.2f: %s)\n", what, value, goal, value <= goal ? "met" : "NOT met");
    }
};

} // namespace

int main(int argc, char** argv) {
    const auto register_ = [](const char* name, void (*row)(benchmark::State&)) {
        benchmark::RegisterBenchmark(name, row)->Unit(benchmark::kMicrosecond);
    };
    register_("frame/lum", frameLum);
    register_("frame/SDL", frameSdl);
    register_("frame/memcpy", frameMemcpy);
    register_("clear/lum", clearLum);
    register_("clear/SDL_FillRect", clearSdl);
    register_("keyedBackground/lum", backgroundLum);
    register_("keyedBackground/SDL_BlitSurface_key", backgroundSdl);
    register_("food40/lum", foodLum);
    register_("food40/SDL_BlitSurface_blend", foodSdl);
    register_("cells200/lum", cellsLum);
    register_("cells200/SDL_BlitSurface_key", cellsSdl);
    register_("text5/lum", textLum);
    register_("text5/SDL_BlitSurface_blend", textSdl);
    register_("gameFrame/lum", gameFrameLum);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::printf("Drawing rows: %s\n", lum::RowDrawing::name(lum::RowDrawing::active()));
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of processor time per frame:\n");
    reporter.ratio("synthetic frame, lum / SDL", "frame/lum", "frame/SDL", 0.25);
    reporter.ratio("synthetic frame, lum / memcpy", "frame/lum", "frame/memcpy", 3.0);
    reporter.ratio("keyed background, lum / SDL colour key", "keyedBackground/lum",
                   "keyedBackground/SDL_BlitSurface_key", 0.4);
    reporter.ratio("game frame, lum / memcpy", "gameFrame/lum", "frame/memcpy", 2.5);
    benchmark::Shutdown();
    return 0;
}
