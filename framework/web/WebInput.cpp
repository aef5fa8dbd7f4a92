// DOM events to queued messages; see the header.
#include "framework/web/WebInput.h"

#include "framework/web/WebKeyTranslator.h"

#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>

namespace lum {

namespace {

MouseButton fromDomButton(unsigned short button) {
    switch (button) {
    case 1: return MIDDLE;
    case 2: return RIGHT;
    default: return LEFT;
    }
}

// Returning true keeps the browser's own action for the event from happening.
EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* event, void* self) {
    auto& input = *static_cast<WebInput*>(self);
    WebMessage message;
    message.kind = WebMessage::Key;
    message.key = WebKeyTranslator::translate(event->key, event->ctrlKey, event->altKey);
    message.state = type == EMSCRIPTEN_EVENT_KEYDOWN ? PRESSED : RELEASED;
    input.push(message);
    return WebKeyTranslator::isReservedForGame(message.key) && !event->metaKey ? EM_TRUE : EM_FALSE;
}

EM_BOOL onMouse(int type, const EmscriptenMouseEvent* event, void* self) {
    auto& input = *static_cast<WebInput*>(self);
    double cssWidth = 0.0;
    double cssHeight = 0.0;
    emscripten_get_element_css_size(input.getCanvas().c_str(), &cssWidth, &cssHeight);
    WebMessage message;
    message.column = WebInput::toPixel(event->targetX, cssWidth, input.getWidth());
    message.row = WebInput::toPixel(event->targetY, cssHeight, input.getHeight());
    if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) {
        message.kind = WebMessage::MouseMove;
    } else {
        message.kind = WebMessage::MouseButtonChange;
        message.button = fromDomButton(event->button);
        message.state = type == EMSCRIPTEN_EVENT_MOUSEDOWN ? PRESSED : RELEASED;
    }
    input.push(message);
    // The page may still move the focus to the canvas on a click.
    return EM_FALSE;
}

// Keys on the whole window, the mouse on the canvas; null callbacks remove them.
void setCallbacks(const char* canvas, void* self, em_key_callback_func key, em_mouse_callback_func mouse) {
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, self, EM_TRUE, key);
    emscripten_set_keyup_callback(window, self, EM_TRUE, key);
    emscripten_set_mousemove_callback(canvas, self, EM_TRUE, mouse);
    emscripten_set_mousedown_callback(canvas, self, EM_TRUE, mouse);
    emscripten_set_mouseup_callback(canvas, self, EM_TRUE, mouse);
}

} // namespace

void WebInput::listen(const std::string& canvasSelector, int canvasWidth, int canvasHeight) {
    canvas = canvasSelector;
    width = canvasWidth;
    height = canvasHeight;
    setCallbacks(canvas.c_str(), this, onKey, onMouse);
    listening = true;
}

void WebInput::stopListening() {
    if (!listening) return;
    setCallbacks(canvas.c_str(), nullptr, nullptr, nullptr);
    listening = false;
}

bool WebInput::pop(WebMessage& message) {
    if (queue.empty()) return false;
    message = queue.front();
    queue.pop_front();
    return true;
}

void WebInput::push(const WebMessage& message) {
    if (queue.size() >= MAX_QUEUED && message.kind == WebMessage::MouseMove) return;
    queue.push_back(message);
}

void WebInput::pushQuit() {
    WebMessage quit;
    quit.kind = WebMessage::Quit;
    queue.push_back(quit);
}

int WebInput::toPixel(long css, double cssExtent, int pixels) {
    if (cssExtent <= 0.0) return 0;
    const long pixel = std::lround(std::floor(static_cast<double>(css) * pixels / cssExtent));
    return static_cast<int>(std::clamp(pixel, 0L, static_cast<long>(pixels - 1)));
}

} // namespace lum
