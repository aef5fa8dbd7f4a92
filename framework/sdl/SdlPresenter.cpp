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
    // first needed (a picture between whole factors) instead.
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
    if (sharpTexture != nullptr) SDL_DestroyTexture(sharpTexture);
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
    SDL_Renderer* software = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (software != nullptr || named) return software;
    SDL_ResetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
    return createAnyRenderer(window);
}

// A window system with no surface of its own for the software renderer (a
// Wayland compositor) may still take any other of SDL's renderers, OpenGL on
// the processor included: each is tried in SDL's order before giving up.
SDL_Renderer* SdlPresenter::createAnyRenderer(SDL_Window* window) {
    const std::string softwareError = SDL_GetError();
    for (int index = 0; index < SDL_GetNumRenderDrivers(); ++index) {
        SDL_RendererInfo driver{};
        if (SDL_GetRenderDriverInfo(index, &driver) != 0) continue;
        if (SDL_Renderer* renderer = SDL_CreateRenderer(window, index, 0)) {
            log.warning(std::string("SDL's software renderer could not be made (") + softwareError + "); using " +
                        driver.name);
            return renderer;
        }
    }
    return nullptr;
}

void SdlPresenter::present(const Screen& screen, const ChangedRows& changed, const PictureFit& fit) {
    if (screen.getWidth() != width || screen.getHeight() != height) return;
    if (fit.getWidth() <= 0 || fit.getHeight() <= 0) return;
    if (fit != shownFit) {
        shownFit = fit;
        wholeWindowStale = true;
        surfaceShowedLastFrame = false;
    }
    if (drawsIntoWindowSurface && fit.wholeFactor() > 0 && presentToWindowSurface(screen, changed, fit)) return;
    surfaceShowedLastFrame = false;
    presentThroughTexture(screen, changed, fit);
}

// The texture keeps what it was given, so only the band that changed is
// copied; the renderer then draws it into its place, enlarged or shrunk.
void SdlPresenter::presentThroughTexture(const Screen& screen, const ChangedRows& changed, const PictureFit& fit) {
    if (texture == nullptr && !createTexture()) {
        if (!textureFailureLogged) log.error(std::string("No SDL texture for the screen: ") + SDL_GetError());
        textureFailureLogged = true;
        return;
    }
    const RowBand rows = textureHoldsScreen ? changed.band() : RowBand{0, height};
    if (rows.count == 0 && !wholeWindowStale) return;
    if (rows.count > 0 && !updateTexture(screen, rows)) return;
    SDL_Texture* source = texture;
    if (fit.wholeFactor() == 0 && fit.sharpFactor() > 1) {
        if (SDL_Texture* sharp = sharpened(fit, wholeWindowStale ? RowBand{0, height} : rows)) source = sharp;
    }
    SDL_SetTextureScaleMode(source, fit.wholeFactor() > 0 ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    if (fit.hasBars()) SDL_RenderClear(renderer);
    const SDL_Rect place{fit.getX(), fit.getY(), fit.getWidth(), fit.getHeight()};
    SDL_RenderCopy(renderer, source, nullptr, &place);
    SDL_RenderPresent(renderer);
    wholeWindowStale = false;
}

// Copies image rows `rows` (counted upwards) into the texture, whose rows run
// from the top. A locked texture's pixels may be a scratch buffer meant only
// for writing: every pixel of the locked band is written.
bool SdlPresenter::updateTexture(const Screen& screen, RowBand rows) {
    const SDL_Rect band{0, static_cast<int>(height - rows.first - rows.count), static_cast<int>(width),
                        static_cast<int>(rows.count)};
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, &band, &pixels, &pitch) != 0) return false;
    RowCopy::copyImage(screen.getPixels() + std::size_t{rows.first} * width, width, rows.count,
                       RowCopy::Destination{static_cast<unsigned char*>(pixels), pitch, true, swapRedAndBlue, false},
                       nullptr);
    SDL_UnlockTexture(texture);
    textureHoldsScreen = true;
    return true;
}

// The screen enlarged to the next whole factor by nearest sampling (the
// rows that changed), or null where the renderer cannot draw into a texture.
SDL_Texture* SdlPresenter::sharpened(const PictureFit& fit, RowBand rows) {
    const unsigned int factor = fit.sharpFactor();
    if (sharpTexture == nullptr || sharpFactor != factor) {
        if (sharpTexture != nullptr) SDL_DestroyTexture(sharpTexture);
        sharpTexture = SDL_CreateTexture(renderer, textureFormat, SDL_TEXTUREACCESS_TARGET,
                                         static_cast<int>(width * factor), static_cast<int>(height * factor));
        sharpFactor = factor;
        rows = RowBand{0, height};
        if (sharpTexture == nullptr) return nullptr;
        SDL_SetTextureBlendMode(sharpTexture, SDL_BLENDMODE_NONE);
    }
    if (SDL_SetRenderTarget(renderer, sharpTexture) != 0) return nullptr;
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    const int top = static_cast<int>(height - rows.first - rows.count);
    const SDL_Rect from{0, top, static_cast<int>(width), static_cast<int>(rows.count)};
    const SDL_Rect to{0, top * static_cast<int>(factor), static_cast<int>(width * factor),
                      static_cast<int>(rows.count * factor)};
    SDL_RenderCopy(renderer, texture, &from, &to);
    SDL_SetRenderTarget(renderer, nullptr);
    return sharpTexture;
}

// SDL's software renderer draws into the window's own surface and shows it
// with SDL_UpdateWindowSurface; copying the screen straight into that surface,
// enlarged by the picture's whole factor in the same pass, spares the texture
// and a second copy of every frame. Only in a layout the copy can make. The
// surface keeps what it was given, so only the band of rows that changed is
// shown again, and nothing when none did; a new surface or place, or a window
// that lost its picture, is shown whole, its bars cleared.
bool SdlPresenter::presentToWindowSurface(const Screen& screen, const ChangedRows& changed, const PictureFit& fit) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr || surface->w != fit.getOutputWidth() || surface->h != fit.getOutputHeight())
        return false;
    const Uint32 format = surface->format->format;
    const bool swap = format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
    if (!swap && format != SDL_PIXELFORMAT_ABGR8888 && format != SDL_PIXELFORMAT_BGR888) return false;
    // The surface holds the last frame only if it showed it, in this place;
    // otherwise every row is copied, and bars are cleared.
    const bool sameSurface = surface == shownSurface && surface->pixels == shownPixels && surfaceShowedLastFrame;
    if (!sameSurface) {
        wholeWindowStale = true;
        if (fit.hasBars()) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    }
    textureHoldsScreen = false;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    unsigned char* picture = static_cast<unsigned char*>(surface->pixels) +
                             std::ptrdiff_t{fit.getY()} * surface->pitch + std::ptrdiff_t{fit.getX()} * 4;
    const RowBand band = RowCopy::copyImage(
        screen.getPixels(), width, height,
        RowCopy::Destination{picture, surface->pitch, true, swap, true, fit.wholeFactor()},
        sameSurface ? &changed : nullptr);
    surfaceShowedLastFrame = true;
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (wholeWindowStale) {
        if (SDL_UpdateWindowSurface(window) != 0) return true;
        wholeWindowStale = false;
        shownSurface = surface;
        shownPixels = surface->pixels;
    } else if (band.count > 0) {
        const SDL_Rect rect{fit.getX(), fit.getY() + static_cast<int>(band.first), fit.getWidth(),
                            static_cast<int>(band.count)};
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

void SdlPresenter::getOutputSize(int& outputWidth, int& outputHeight) const {
    if (SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight) != 0)
        SDL_GetWindowSize(window, &outputWidth, &outputHeight);
}

void SdlPresenter::abandon() {
    sharpTexture = nullptr;
    texture = nullptr;
    renderer = nullptr;
}

bool SdlPresenter::isAccelerated() const {
    SDL_RendererInfo info{};
    return SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_ACCELERATED) != 0;
}

} // namespace lum
