// The web platform: the program runs as WebAssembly on a page with one
// <canvas> of the screen's size, placed to fill the page's viewport with the
// picture's aspect (WebViewport). The App's loop runs unchanged: with no
// message queued, a step sleeps (emscripten_sleep, which hands the thread
// back to the browser) until the next frame or timer is due, so the page
// paints and delivers its events in between. The clock is the page's
// high-resolution clock, the window title becomes the page title, and the
// exit request is a queued quit message, after which the program returns
// from main and the page is told that the game has ended.
#pragma once

#include "framework/AppImpl.h"
#include "framework/web/WebGamepads.h"
#include "framework/web/WebInput.h"
#include "framework/web/WebPresenter.h"

#include <memory>

namespace lum {

class WebAppImpl : public AppImpl {
public:
    // The page's canvas, as a CSS selector.
    static const char* const CANVAS;

    WebAppImpl();
    ~WebAppImpl() override;

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
    // A screenshot is handed to the browser as a download.
    void offerSavedPicture(const std::string& path) override;
    void reset() override;

private:
    // Sleeps until the deadline; at least once per frame even when the
    // deadline has passed, so a slow frame never keeps the page from painting.
    void waitFor(std::int64_t deadline);
    MessageResult dispatch(const WebMessage& message);
    // The viewport is now width × height device pixels: the picture's fit
    // follows, and the canvas is placed at it.
    void placeCanvas(int viewportWidth, int viewportHeight);
    // The same for the viewport as it is now.
    void followViewport();

    WebInput input;
    WebGamepads gamepads{*this};
    std::unique_ptr<WebPresenter> presenter;
    bool yieldedSinceFrame = false;
    bool cursorShown = true;
    double placedRatio = 0.0; // the device pixel ratio the canvas was placed for
};

} // namespace lum
