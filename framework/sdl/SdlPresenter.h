// Shows the screen image in the window each frame: an SDL renderer (hardware
// accelerated where available, SDL's software renderer otherwise) with one
// streaming texture of the screen's size. The screen is RGBA bytes bottom row
// first; the texture takes the same bytes (ABGR8888 is R, G, B, A in memory on
// a little-endian machine) with the rows in reverse order, or, where the
// window keeps blue first, the window's own layout with red and blue swapped
// in the same copy. With SDL's software renderer the screen is copied straight
// into the window's surface instead. Nothing is allocated per frame.
#pragma once

#include <SDL_render.h>

#include <cstdint>
#include <string>

namespace lum {

class ChangedRows;
class Screen;

class SdlPresenter {
public:
    // Throws App::AppException when no renderer or texture can be made.
    SdlPresenter(SDL_Window* window, unsigned int width, unsigned int height);
    ~SdlPresenter();
    SdlPresenter(const SdlPresenter&) = delete;
    SdlPresenter& operator=(const SdlPresenter&) = delete;

    // A screen of another size than the texture is not shown. `changed`
    // names the rows drawn on since the last frame.
    void present(const Screen& screen, const ChangedRows& changed);

    // "OpenGL info:" and three lines: video driver, renderer, SDL version.
    std::string describe() const;

    // A client position of the screen image in window coordinates (they differ
    // when a full-screen display mode is larger than the image).
    void toWindow(int column, int row, int& x, int& y) const;

    bool isAccelerated() const;

    // Forgets the renderer and texture without destroying them, for a process
    // that is ending (see SdlAppImpl).
    void abandon();

    // The window lost what it showed (it was exposed, shown again or
    // resized): the next present shows all of it, changed or not.
    void showWholeWindowNext();

private:
    static SDL_Renderer* createRenderer(SDL_Window* window);
    bool createTexture();
    bool presentToWindowSurface(const Screen& screen, const ChangedRows& changed);

    SDL_Window* window;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    Uint32 textureFormat = SDL_PIXELFORMAT_ABGR8888;
    bool swapRedAndBlue = false;
    bool drawsIntoWindowSurface = false;
    bool textureFailureLogged = false;
    // What the window's surface holds: the surface last shown whole, and
    // whether the window must be shown whole next time.
    const SDL_Surface* shownSurface = nullptr;
    const void* shownPixels = nullptr;
    bool wholeWindowStale = true;
    bool surfaceShowedLastFrame = false;
    unsigned int width;
    unsigned int height;
};

} // namespace lum
