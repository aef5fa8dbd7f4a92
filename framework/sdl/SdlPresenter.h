// Shows the screen image in the window each frame, in the place the picture's
// fit gives it: an SDL renderer (hardware accelerated where available, SDL's
// software renderer otherwise) with one streaming texture of the screen's
// size, updated with the rows that changed and drawn scaled by the renderer.
// The screen is RGBA bytes bottom row first; the texture takes the same bytes
// (ABGR8888 is R, G, B, A in memory on a little-endian machine) with the rows
// in reverse order, or, where the window keeps blue first, the window's own
// layout with red and blue swapped in the same copy. With SDL's software
// renderer a picture at a whole factor is copied straight into the window's
// surface instead, enlarged in the copy. Nothing is allocated per frame but
// when the window's size changes.
#pragma once

#include "framework/PictureFit.h"
#include "framework/graphics/ChangedRows.h"

#include <SDL_render.h>

#include <cstdint>
#include <string>

namespace lum {

class Screen;

class SdlPresenter {
public:
    // Throws App::AppException when no renderer or texture can be made.
    SdlPresenter(SDL_Window* window, unsigned int width, unsigned int height);
    ~SdlPresenter();
    SdlPresenter(const SdlPresenter&) = delete;
    SdlPresenter& operator=(const SdlPresenter&) = delete;

    // A screen of another size than the texture is not shown, nor anything
    // while the window has no area. `changed` names the rows drawn on since
    // the last frame; with none, and the window showing what it showed, the
    // frame is not shown again.
    void present(const Screen& screen, const ChangedRows& changed, const PictureFit& fit);

    // The window's drawable size in pixels (larger than its size in the
    // desktop's units on a scaled display).
    void getOutputSize(int& outputWidth, int& outputHeight) const;

    // "OpenGL info:" and three lines: video driver, renderer, SDL version.
    std::string describe() const;

    bool isAccelerated() const;

    // Forgets the renderer and texture without destroying them, for a process
    // that is ending (see SdlAppImpl).
    void abandon();

    // The window lost what it showed (it was exposed, shown again or
    // resized): the next present shows all of it, changed or not.
    void showWholeWindowNext();

private:
    static SDL_Renderer* createRenderer(SDL_Window* window);
    static SDL_Renderer* createAnyRenderer(SDL_Window* window);
    bool createTexture();
    bool presentToWindowSurface(const Screen& screen, const ChangedRows& changed, const PictureFit& fit);
    void presentThroughTexture(const Screen& screen, const ChangedRows& changed, const PictureFit& fit);
    bool updateTexture(const Screen& screen, RowBand rows);
    SDL_Texture* sharpened(const PictureFit& fit, RowBand rows);

    SDL_Window* window;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    // Between whole factors: the screen enlarged by nearest sampling to the
    // next whole factor, which the renderer then draws smoothly down.
    SDL_Texture* sharpTexture = nullptr;
    unsigned int sharpFactor = 0;
    bool textureHoldsScreen = false;
    Uint32 textureFormat = SDL_PIXELFORMAT_ABGR8888;
    bool swapRedAndBlue = false;
    bool drawsIntoWindowSurface = false;
    bool textureFailureLogged = false;
    // What the window's surface holds: the surface last shown whole, and
    // whether the window must be shown whole next time.
    const SDL_Surface* shownSurface = nullptr;
    const void* shownPixels = nullptr;
    PictureFit shownFit;
    bool wholeWindowStale = true;
    bool surfaceShowedLastFrame = false;
    unsigned int width;
    unsigned int height;
};

} // namespace lum
