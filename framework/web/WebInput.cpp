// DOM events to queued messages; see the header.
#include "framework/web/WebInput.h"

#include "framework/web/WebKeyTranslator.h"
#include "framework/web/WebViewport.h"

#include <emscripten/html5.h>

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
    message.altHeld = event->altKey;
    message.repeated = event->repeat;
    input.push(message);
    return WebKeyTranslator::isReservedForGame(message.key) && !event->metaKey ? EM_TRUE : EM_FALSE;
}

EM_BOOL onMouse(int type, const EmscriptenMouseEvent* event, void* self) {
    auto& input = *static_cast<WebInput*>(self);
    WebMessage message;
    message.column = WebViewport::toDevice(event->clientX);
    message.row = WebViewport::toDevice(event->clientY);
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

EM_BOOL onResize(int, const EmscriptenUiEvent*, void* self) {
    WebMessage message;
    message.kind = WebMessage::Resize;
    WebViewport::measure(message.column, message.row);
    static_cast<WebInput*>(self)->push(message);
    return EM_FALSE;
}

EM_BOOL onFocus(int type, const EmscriptenFocusEvent*, void* self) {
    WebMessage message;
    message.kind = WebMessage::Focus;
    message.focused = type == EMSCRIPTEN_EVENT_FOCUS;
    static_cast<WebInput*>(self)->push(message);
    return EM_FALSE;
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* event, void* self) {
    // Shown again, the page waits for the window's focus.
    if (!event->hidden) return EM_FALSE;
    WebMessage message;
    message.kind = WebMessage::Focus;
    static_cast<WebInput*>(self)->push(message);
    return EM_FALSE;
}

// Keys, focus and resizes on the whole window, the mouse on the canvas; null
// callbacks remove them.
void setCallbacks(const char* canvas, void* self, em_key_callback_func key, em_mouse_callback_func mouse,
                  em_ui_callback_func resize, em_focus_callback_func focus,
                  em_visibilitychange_callback_func visibility) {
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, self, EM_TRUE, key);
    emscripten_set_keyup_callback(window, self, EM_TRUE, key);
    emscripten_set_resize_callback(window, self, EM_TRUE, resize);
    emscripten_set_blur_callback(window, self, EM_TRUE, focus);
    emscripten_set_focus_callback(window, self, EM_TRUE, focus);
    emscripten_set_visibilitychange_callback(self, EM_TRUE, visibility);
    emscripten_set_mousemove_callback(canvas, self, EM_TRUE, mouse);
    emscripten_set_mousedown_callback(canvas, self, EM_TRUE, mouse);
    emscripten_set_mouseup_callback(canvas, self, EM_TRUE, mouse);
}

} // namespace

void WebInput::listen(const std::string& canvasSelector) {
    canvas = canvasSelector;
    setCallbacks(canvas.c_str(), this, onKey, onMouse, onResize, onFocus, onVisibility);
    listening = true;
}

void WebInput::stopListening() {
    if (!listening) return;
    setCallbacks(canvas.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
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
    // Only the latest size counts: a window dragged larger sends many.
    if (message.kind == WebMessage::Resize && !queue.empty() && queue.back().kind == WebMessage::Resize) {
        queue.back() = message;
        return;
    }
    queue.push_back(message);
}

void WebInput::pushQuit() {
    WebMessage quit;
    quit.kind = WebMessage::Quit;
    queue.push_back(quit);
}

} // namespace lum
