// The desktop platform of the application on SDL2: one resizable window whose
// client area opens at the App's width × height in the desktop's units, one SDL event handled per step with the
// step waiting in SDL until the next frame or timer is due, the performance
// counter as clock, and the screen image presented through SdlPresenter.
// Video, events and game controllers (gamepads as keys) are started here; the
// sound layer starts SDL's audio on its own, so a missing sound device never
// stops the window.
#pragma once

#include "framework/AppImpl.h"
#include "framework/FrameTrace.h"
#include "framework/sdl/SdlClock.h"
#include "framework/sdl/SdlDisplayWait.h"
#include "framework/sdl/SdlEventDispatcher.h"
#include "framework/sdl/SdlGamepads.h"
#include "framework/sdl/SdlPresenter.h"

#include <SDL_video.h>

#include <memory>

namespace lum {

class SdlAppImpl : public AppImpl {
public:
    SdlAppImpl();
    ~SdlAppImpl() override;

    void setMousePosition(int x, int y) override;
    void showCursor(bool show) override;
    std::int64_t readClock() override;
    void initialisePlatform() override;
    void switchToFullScreen() override;
    std::string describeDisplay() override;
    MessageResult handleMessage(std::int64_t deadline) override;
    void present(const Screen& screen, const ChangedRows& changed) override;
    void postQuit() override;
    void toggleFullScreen() override;
    // Also closes the window and stops SDL's video, so a test can open it again.
    void reset() override;

    // Whether SDL shows the pointer over the window (the wish, before it opens).
    bool isCursorShown() const;
    SDL_Window* getWindow() const { return window; }
    SdlPresenter* getPresenter() const { return presenter.get(); }

private:
    static void keepSleepsShort();
    void openWindow();
    void closeWindow();
    void leaveWindow();
    void followOutputSize();
    static void leaveAtExit();

    SdlClock clock;
    SDL_Window* window = nullptr;
    std::unique_ptr<SdlPresenter> presenter;
    std::unique_ptr<FrameTrace> frameTrace;
    // Waits on the window system's connection, where there is one to wait on.
    std::unique_ptr<SdlDisplayWait> displayWait;
    SdlEventDispatcher::PixelsPerPoint pixelsPerPoint;
    SdlGamepads gamepads{*this};
    bool cursorShown = true;
    bool videoStarted = false;
};

} // namespace lum
