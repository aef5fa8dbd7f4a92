// The web platform; see the header.
#include "framework/web/WebAppImpl.h"

#include "framework/web/WebLogConsole.h"
#include "framework/web/WebViewport.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace lum {

AppImpl* createPlatformAppImpl() { return new WebAppImpl(); }

const char* const WebAppImpl::CANVAS = "#canvas";

namespace {

constexpr std::int64_t NANOSECONDS_PER_MS = 1000000;
constexpr std::int64_t TIMER_LATENESS_NS = NANOSECONDS_PER_MS;

EM_JS(void, lumSetCursorShown, (const char* selector, int shown), {
    var canvas = document.querySelector(UTF8ToString(selector));
    if (canvas) canvas.style.cursor = shown ? 'default' : 'none';
});

// The file becomes a download the browser saves, and leaves the page's memory.
EM_JS(void, lumOfferDownload, (const char* path), {
    var name = UTF8ToString(path);
    var bytes = FS.readFile(name);
    FS.unlink(name);
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'image/bmp'}));
    link.download = name.substring(name.lastIndexOf('/') + 1);
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() { URL.revokeObjectURL(link.href); }, 10000);
});

} // namespace

WebAppImpl::WebAppImpl() { WebLogConsole::install(); }

WebAppImpl::~WebAppImpl() { input.stopListening(); }

void WebAppImpl::initialisePlatform() {
    emscripten_set_window_title(getWindowTitle().c_str());
    presenter = std::make_unique<WebPresenter>(CANVAS, width, height);
    lumSetCursorShown(CANVAS, cursorShown ? 1 : 0);
    if (isFullScreen()) switchToFullScreen();
    WebViewport::open(CANVAS);
    followViewport();
    input.listen(CANVAS);
}

void WebAppImpl::followViewport() {
    int viewportWidth = 0;
    int viewportHeight = 0;
    WebViewport::measure(viewportWidth, viewportHeight);
    placeCanvas(viewportWidth, viewportHeight);
}

void WebAppImpl::placeCanvas(int viewportWidth, int viewportHeight) {
    setOutputSize(viewportWidth, viewportHeight);
    placedRatio = WebViewport::pixelRatio();
    WebViewport::place(CANVAS, getPictureFit());
}

void WebAppImpl::toggleFullScreen() { WebViewport::toggleFullScreen(); }

// A page may go full screen only from the player's own click or key, never
// when the program asks at start: the request is refused as a desktop
// refuses a display mode.
void WebAppImpl::switchToFullScreen() {
    if (!isFullScreen()) return;
    std::cerr << "Unable to switch to full screen" << std::endl;
    setFullScreen(false);
    showCursor(false);
}

std::string WebAppImpl::describeDisplay() {
    return "OpenGL info:\n   Vendor:   web browser\n   Renderer: canvas 2D (putImageData)\n   Version:  none";
}

AppImpl::MessageResult WebAppImpl::handleMessage(std::int64_t deadline) {
    gamepads.poll(readClock());
    if (input.empty()) waitFor(std::min(deadline, gamepads.nextRepeat()));
    WebMessage message;
    if (!input.pop(message)) return MessageResult::None;
    return dispatch(message);
}

void WebAppImpl::waitFor(std::int64_t deadline) {
    // The browser's timers wake up to a millisecond late: the sleep ends that
    // much early, and the rest passes in the next steps, so frames are on time.
    const std::int64_t milliseconds = (deadline - readClock() - TIMER_LATENESS_NS) / NANOSECONDS_PER_MS;
    if (milliseconds <= 0 && yieldedSinceFrame) return;
    emscripten_sleep(milliseconds > 0 ? static_cast<unsigned int>(milliseconds) : 0);
    yieldedSinceFrame = true;
}

AppImpl::MessageResult WebAppImpl::dispatch(const WebMessage& message) {
    switch (message.kind) {
    case WebMessage::Key:
        dispatchKeyStroke(message.key, message.state, message.altHeld, message.repeated);
        break;
    case WebMessage::MouseMove:
        dispatchMouseMove(message.column, message.row);
        break;
    case WebMessage::MouseButtonChange:
        dispatchMouseButton(message.button, message.state, message.column, message.row);
        break;
    case WebMessage::Resize:
        placeCanvas(message.column, message.row);
        break;
    case WebMessage::Focus:
        dispatchFocus(message.focused);
        break;
    case WebMessage::Quit:
        return MessageResult::Quit;
    }
    return MessageResult::Handled;
}

void WebAppImpl::present(const Screen& screen, const ChangedRows&) {
    // A change of the device pixel ratio alone (the window moved to a monitor
    // of another density) need not fire a resize, so each frame looks.
    if (presenter && WebViewport::pixelRatio() != placedRatio) followViewport();
    if (presenter) presenter->present(screen);
    yieldedSinceFrame = false;
}

void WebAppImpl::postQuit() { input.pushQuit(); }

void WebAppImpl::offerSavedPicture(const std::string& path) { lumOfferDownload(path.c_str()); }

std::int64_t WebAppImpl::readClock() { return std::llround(emscripten_get_now() * NANOSECONDS_PER_MS); }

void WebAppImpl::showCursor(bool show) {
    cursorShown = show;
    if (presenter) lumSetCursorShown(CANVAS, show ? 1 : 0);
}

// A page cannot move the player's pointer.
void WebAppImpl::setMousePosition(int, int) {}

void WebAppImpl::reset() {
    AppImpl::reset();
    input.stopListening();
    gamepads.clear();
    presenter.reset();
    cursorShown = true;
    yieldedSinceFrame = false;
    placedRatio = 0.0;
}

} // namespace lum
