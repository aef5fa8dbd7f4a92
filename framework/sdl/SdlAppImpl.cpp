// The SDL desktop platform; see the header.
#include "framework/sdl/SdlAppImpl.h"

#include "framework/App.h"
#include "framework/Log.h"
#include "framework/sdl/SdlDisplayWait.h"
#include "framework/sdl/SdlEventDispatcher.h"
#include "framework/sdl/SdlEventPump.h"

#if defined(__linux__)
#include <sys/prctl.h>
#endif
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace lum {

AppImpl* createPlatformAppImpl() { return new SdlAppImpl(); }

namespace {

// The implementation whose window is open. When the process ends, its window,
// renderer and SDL's video are left to the system, as every program's windows
// are: by the time the App is destroyed the graphics driver's own exit
// handlers have run, and tearing a GL context down after them is unsafe. An
// exit handler registered once the renderer exists (so it runs before the
// driver's) gives the desktop back its display mode and detaches the window
// from the implementation, whose destructor then has nothing to destroy.
SdlAppImpl* openInstance = nullptr;
bool exitHandlerInstalled = false;

constexpr Uint32 subsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;

} // namespace

SdlAppImpl::SdlAppImpl() = default;

// An implementation destroyed while the program runs on (a test's own) closes
// its window; at exit leaveWindow has detached it already.
SdlAppImpl::~SdlAppImpl() { closeWindow(); }

// Linux lets a sleep run on by the thread's timer slack, 50 microseconds
// unless asked otherwise: the frame loop asks for the least, so it can sleep
// closer to each frame instead of polling for it.
void SdlAppImpl::keepSleepsShort() {
#if defined(__linux__)
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

void SdlAppImpl::initialisePlatform() {
    keepSleepsShort();
    if (SDL_InitSubSystem(subsystems) != 0) {
        log.error(std::string("SDL video could not start: ") + SDL_GetError());
        throw App::AppException("Failed to create application window.");
    }
    videoStarted = true;
    gamepads.start();
    try {
        openWindow();
    } catch (...) {
        closeWindow();
        throw;
    }
    openInstance = this;
    if (!exitHandlerInstalled) exitHandlerInstalled = std::atexit(leaveAtExit) == 0;
}

void SdlAppImpl::openWindow() {
    // In the desktop's units: on a scaled display the drawable has more pixels
    // than the window, and the picture is drawn sharp at that scale.
    window = SDL_CreateWindow(getWindowTitle().c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                              static_cast<int>(width), static_cast<int>(height),
                              SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window == nullptr) {
        log.error(std::string("SDL window could not be created: ") + SDL_GetError());
        throw App::AppException("Failed to create application window.");
    }
    SDL_SetWindowMinimumSize(window, static_cast<int>(std::max(width / 4, 1u)),
                             static_cast<int>(std::max(height / 4, 1u)));
    if (isFullScreen()) switchToFullScreen();
    presenter = std::make_unique<SdlPresenter>(window, width, height);
    followOutputSize();
    SDL_ShowCursor(cursorShown ? SDL_ENABLE : SDL_DISABLE);
    // Keys are read from key events only; text events would just fill the queue.
    SDL_StopTextInput();
    SDL_EventState(SDL_TEXTINPUT, SDL_IGNORE);
    SDL_EventState(SDL_TEXTEDITING, SDL_IGNORE);
    frameTrace = FrameTrace::fromEnvironment();
    timesFramePhases = frameTrace != nullptr;
    displayWait = SdlDisplayWait::forWindow(window);
}

void SdlAppImpl::closeWindow() {
    gamepads.stop();
    displayWait.reset();
    frameTrace.reset();
    presenter.reset();
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    if (videoStarted) {
        SDL_QuitSubSystem(subsystems);
        videoStarted = false;
    }
    if (openInstance == this) openInstance = nullptr;
}

void SdlAppImpl::leaveAtExit() {
    if (openInstance != nullptr) openInstance->leaveWindow();
}

void SdlAppImpl::leaveWindow() {
    // A full-screen display mode would otherwise outlive the program.
    if (window != nullptr && isFullScreen()) SDL_SetWindowFullscreen(window, 0);
    displayWait.reset();
    frameTrace.reset();
    if (presenter != nullptr) presenter->abandon();
    presenter.reset();
    window = nullptr;
    videoStarted = false;
    openInstance = nullptr;
}

void SdlAppImpl::switchToFullScreen() {
    if (!isFullScreen() || window == nullptr) return;
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) {
        std::cerr << "Unable to switch to full screen" << std::endl;
        setFullScreen(false);
    }
    // Hidden either way, as a full-screen game expects to own the pointer.
    showCursor(false);
}

std::string SdlAppImpl::describeDisplay() {
    if (presenter == nullptr) return "OpenGL info:\n   Vendor:   none\n   Renderer: none\n   Version:  none";
    return presenter->describe();
}

AppImpl::MessageResult SdlAppImpl::handleMessage(std::int64_t deadline) {
    gamepads.repeat(readClock());
    SDL_Event event;
    const std::int64_t until = std::min(deadline, gamepads.nextRepeat());
    if (!SdlEventPump::next(event, readClock(), until, displayWait.get())) return MessageResult::None;
    if (gamepads.handle(event, readClock())) return MessageResult::Handled;
    if (event.type == SDL_WINDOWEVENT && presenter != nullptr) {
        presenter->showWholeWindowNext();
        followOutputSize();
    }
    return SdlEventDispatcher::dispatch(event, *this, pixelsPerPoint);
}

// The drawable's size in pixels, and how many of them a window unit (in which
// SDL reports the pointer) covers.
void SdlAppImpl::followOutputSize() {
    int outputWidth = 0;
    int outputHeight = 0;
    presenter->getOutputSize(outputWidth, outputHeight);
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    pixelsPerPoint.x = windowWidth > 0 ? static_cast<double>(outputWidth) / windowWidth : 1.0;
    pixelsPerPoint.y = windowHeight > 0 ? static_cast<double>(outputHeight) / windowHeight : 1.0;
    setOutputSize(outputWidth, outputHeight);
}

// Borderless over the monitor the window is on, the display mode unchanged;
// leaving it, SDL gives the window back its former size and place. A window
// opened in a full-screen display mode leaves that mode the same way.
void SdlAppImpl::toggleFullScreen() {
    if (window == nullptr) return;
    const bool full = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
    if (SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        log.warning(std::string("Full screen could not be toggled: ") + SDL_GetError());
}

void SdlAppImpl::present(const Screen& screen, const ChangedRows& changed) {
    if (presenter == nullptr) return;
    presenter->present(screen, changed, getPictureFit());
    if (frameTrace != nullptr) frameTrace->record(readClock(), getFramePhases());
}

void SdlAppImpl::postQuit() {
    if (window == nullptr) return;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

std::int64_t SdlAppImpl::readClock() { return clock.now(); }

void SdlAppImpl::showCursor(bool show) {
    cursorShown = show;
    if (window != nullptr) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool SdlAppImpl::isCursorShown() const {
    return window != nullptr ? SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE : cursorShown;
}

// (x, y) counts y upwards from the bottom like the screen image; the window
// counts rows from the top.
void SdlAppImpl::setMousePosition(int x, int y) {
    if (window == nullptr || presenter == nullptr) return;
    int outputX = 0;
    int outputY = 0;
    getPictureFit().toOutput(x, static_cast<int>(height) - y, outputX, outputY);
    SDL_WarpMouseInWindow(window, static_cast<int>(outputX / pixelsPerPoint.x),
                          static_cast<int>(outputY / pixelsPerPoint.y));
}

void SdlAppImpl::reset() {
    AppImpl::reset();
    closeWindow();
    cursorShown = true;
}

} // namespace lum
