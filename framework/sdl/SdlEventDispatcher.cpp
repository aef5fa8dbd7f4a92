// SDL events to framework input.
#include "framework/sdl/SdlEventDispatcher.h"

#include "framework/sdl/SdlKeyTranslator.h"

namespace lum {

AppImpl::MessageResult SdlEventDispatcher::dispatch(const SDL_Event& event, AppImpl& app, PixelsPerPoint scale) {
    switch (event.type) {
    case SDL_QUIT:
        return AppImpl::MessageResult::Quit;
    case SDL_WINDOWEVENT:
        // The close button; SDL also queues SDL_QUIT for the last window, which
        // then finds the loop already ended.
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) return AppImpl::MessageResult::Quit;
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) app.dispatchFocus(true);
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) app.dispatchFocus(false);
        break;
    case SDL_KEYDOWN:
        dispatchKey(event.key, PRESSED, app);
        break;
    case SDL_KEYUP:
        dispatchKey(event.key, RELEASED, app);
        break;
    case SDL_MOUSEMOTION:
        app.dispatchMouseMove(inPixels(event.motion.x, scale.x), inPixels(event.motion.y, scale.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
        dispatchButton(event.button, PRESSED, app, scale);
        break;
    case SDL_MOUSEBUTTONUP:
        dispatchButton(event.button, RELEASED, app, scale);
        break;
    default:
        break;
    }
    return AppImpl::MessageResult::Handled;
}

void SdlEventDispatcher::dispatchKey(const SDL_KeyboardEvent& key, ButtonState state, AppImpl& app) {
    app.dispatchKeyStroke(SdlKeyTranslator::translate(key.keysym.sym, key.keysym.mod), state,
                          (key.keysym.mod & KMOD_ALT) != 0, key.repeat != 0);
}

void SdlEventDispatcher::dispatchButton(const SDL_MouseButtonEvent& button, ButtonState state, AppImpl& app,
                                        PixelsPerPoint scale) {
    MouseButton which;
    switch (button.button) {
    case SDL_BUTTON_LEFT: which = LEFT; break;
    case SDL_BUTTON_MIDDLE: which = MIDDLE; break;
    case SDL_BUTTON_RIGHT: which = RIGHT; break;
    default: return; // side buttons have no framework meaning
    }
    app.dispatchMouseButton(which, state, inPixels(button.x, scale.x), inPixels(button.y, scale.y));
}

int SdlEventDispatcher::inPixels(int position, double pixelsPerPoint) {
    return static_cast<int>(position * pixelsPerPoint);
}

} // namespace lum
