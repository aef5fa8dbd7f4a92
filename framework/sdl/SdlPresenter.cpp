// Presentation of the screen image through an SDL renderer.
#include "framework/sdl/SdlPresenter.h"

#include "framework/App.h"
#include "framework/Log.h"
#include "framework/graphics/ChangedRows.h"
#include "framework/graphics/RowCopy.h"
#include "framework/graphics/Screen.h"

#include <SDL_hints.h>
#include <SDL_opengl.h>
#include <SDL_version.h>
#include <SDL_video.h>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace lum {

namespace {

[[noreturn]] void fail(const char* what) {
    log.error(std::string(what) + ": " + SDL_GetError());
    throw App::AppException("Failed to create application window.");
}

// Whether an OpenGL renderer draws on the processor after all: Mesa's
// llvmpipe and softpipe stand in for a graphics card under a virtual X server
// or without a hardware driver.
bool rasterisesOnTheProcessor(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
    // The renderer's context is current once it is created.
    using GetString = const GLubyte*(GLAPIENTRY*)(GLenum);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const GLubyte* name = getString != nullptr ? getString(GL_RENDERER) : nullptr;
    if (name == nullptr) return false;
    const std::string glRenderer(reinterpret_cast<const char*>(name));
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer"}) {
        if (glRenderer.find(software) != std::string::npos) return true;
    }
    return false;
}

// OpenGL can draw on a graphics card only through a device for direct
// rendering (Mesa's under /dev/dri, or NVIDIA's own); without one it could
// only rasterise on the processor, and finding that out by trying costs a
// fifth of a second of start-up (loading Mesa and LLVM, making a context).
bool hasGraphicsDevice() {
    std::error_code ignored;
    return std::filesystem::exists("/dev/dri", ignored) || std::filesystem::exists("/dev/nvidia0", ignored);
}
} // namespace

SdlPresenter::SdlPresenter(SDL_Window* window, unsigned int width, unsigned int height)
    : window(window), width(width), height(height) {
    renderer = createRenderer(window);
    if (renderer == nullptr) fail("No SDL renderer for the window");
    // A full-screen display mode may be larger than the image: SDL scales it
    // to fit and maps mouse positions back to image pixels.
    SDL_RenderSetLogicalSize(renderer, static_cast<int>(width), static_cast<int>(height));
    // In the window's own layout where it keeps blue first, so that SDL copies
    // the texture to the window without converting every pixel: the swap is
    // made in the copy below, which happens anyway.
    const Uint32 windowFormat = SDL_GetWindowPixelFormat(window);
    swapRedAndBlue = windowFormat == SDL_PIXELFORMAT_RGB888 || windowFormat == SDL_PIXELFORMAT_ARGB8888;
    textureFormat = swapRedAndBlue ? windowFormat : static_cast<Uint32>(SDL_PIXELFORMAT_ABGR8888);
    SDL_RendererInfo info{};
    drawsIntoWindowSurface = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    // Drawing into the window's surface needs no texture, and making one
    // costs a cleared block of the screen's size at start-up; it is made when
    // first needed (a larger full-screen mode) instead.
    if (!drawsIntoWindowSurface && !createTexture()) {
        SDL_DestroyRenderer(renderer);
        fail("No SDL texture for the screen");
    }
}

bool SdlPresenter::createTexture() {
    texture = SDL_CreateTexture(renderer, textureFormat, SDL_TEXTUREACCESS_STREAMING, static_cast<int>(width),
                                static_cast<int>(height));
    if (texture == nullptr) return false;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    return true;
}

SdlPresenter::~SdlPresenter() {
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
}

// Without vsync: the frame loop paces itself, and a present that waited for the
// display would hold up input and timers. An OpenGL renderer that rasterises
// on the processor costs more than twice the processor time of SDL's software
// renderer, which copies the texture to the window in one pass; a renderer
// named in SDL_RENDER_DRIVER is used as it is.
SDL_Renderer* SdlPresenter::createRenderer(SDL_Window* window) {
    const bool named = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    SDL_Renderer* accelerated =
        named || hasGraphicsDevice() ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    if (accelerated != nullptr && (named || !rasterisesOnTheProcessor(accelerated))) return accelerated;
    if (accelerated != nullptr) SDL_DestroyRenderer(accelerated);
    // Else SDL would keep the software renderer's window surface in an OpenGL
    // texture, drawn by that same rasteriser.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

void SdlPresenter::present(const Screen& screen, const ChangedRows& changed) {
    if (screen.getWidth() != width || screen.getHeight() != height) return;
    if (drawsIntoWindowSurface && presentToWindowSurface(screen, changed)) return;
    surfaceShowedLastFrame = false;
    if (texture == nullptr && !createTexture()) {
        if (!textureFailureLogged) log.error(std::string("No SDL texture for the screen: ") + SDL_GetError());
        textureFailureLogged = true;
        return;
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return;
    // A locked texture's pixels may be a scratch buffer meant only for writing.
    RowCopy::copyImage(screen.getPixels(), width, height,
                       RowCopy::Destination{static_cast<unsigned char*>(pixels), pitch, true, swapRedAndBlue, false},
                       nullptr);
    SDL_UnlockTexture(texture);
    // The image covers the whole window unless a full-screen mode is larger.
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    if (outputWidth != static_cast<int>(width) || outputHeight != static_cast<int>(height)) SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
}

// SDL's software renderer draws into the window's own surface and shows it
// with SDL_UpdateWindowSurface; copying the screen straight into that surface
// spares the texture and a second copy of every frame. Only where the surface
// is exactly the image's size (a larger full-screen mode needs the renderer's
// scaling) and in a layout the copy can make. The surface keeps what it was
// given, so only the band of rows that changed is shown again, and nothing
// when none did; a new surface, or a window that lost its picture, is shown
// whole.
bool SdlPresenter::presentToWindowSurface(const Screen& screen, const ChangedRows& changed) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr || surface->w != static_cast<int>(width) || surface->h != static_cast<int>(height))
        return false;
    const Uint32 format = surface->format->format;
    const bool swap = format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
    if (!swap && format != SDL_PIXELFORMAT_ABGR8888 && format != SDL_PIXELFORMAT_BGR888) return false;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    // The surface holds the last frame only if it showed it; otherwise every
    // row is compared.
    const bool sameSurface = surface == shownSurface && surface->pixels == shownPixels && surfaceShowedLastFrame;
    if (!sameSurface) wholeWindowStale = true;
    const RowBand band = RowCopy::copyImage(
        screen.getPixels(), width, height,
        RowCopy::Destination{static_cast<unsigned char*>(surface->pixels), surface->pitch, true, swap, true},
        sameSurface ? &changed : nullptr);
    surfaceShowedLastFrame = true;
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (wholeWindowStale) {
        if (SDL_UpdateWindowSurface(window) != 0) return true;
        wholeWindowStale = false;
        shownSurface = surface;
        shownPixels = surface->pixels;
    } else if (band.count > 0) {
        const SDL_Rect rect{0, static_cast<int>(band.first), static_cast<int>(width), static_cast<int>(band.count)};
        SDL_UpdateWindowSurfaceRects(window, &rect, 1);
    }
    return true;
}

void SdlPresenter::showWholeWindowNext() { wholeWindowStale = true; }

std::string SdlPresenter::describe() const {
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    SDL_version version{};
    SDL_GetVersion(&version);
    const char* driver = SDL_GetCurrentVideoDriver();
    return std::string("OpenGL info:\n") +
           "   Vendor:   SDL video driver " + (driver != nullptr ? driver : "unknown") + "\n" +
           "   Renderer: " + (info.name != nullptr ? info.name : "unknown") +
           (isAccelerated() ? " (accelerated)" : " (software)") + "\n" +
           "   Version:  SDL " + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.patch);
}

void SdlPresenter::toWindow(int column, int row, int& x, int& y) const {
    SDL_RenderLogicalToWindow(renderer, static_cast<float>(column), static_cast<float>(row), &x, &y);
}

void SdlPresenter::abandon() {
    texture = nullptr;
    renderer = nullptr;
}

bool SdlPresenter::isAccelerated() const {
    SDL_RendererInfo info{};
    return SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_ACCELERATED) != 0;
}

} // namespace lum
