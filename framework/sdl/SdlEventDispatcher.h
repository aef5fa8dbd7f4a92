// Turns one SDL event into framework input: key presses and releases (held
// keys repeat presses; F11 and Alt+Enter toggle full screen), mouse motion and
// the three mouse buttons, their positions turned from the window's units into
// its drawable's pixels, go to the App's dispatch operations; the quit request
// ends the loop. Everything else
// (window, text and wheel events) is consumed without effect.
#pragma once

#include "framework/AppImpl.h"

#include <SDL_events.h>

namespace lum {

class SdlEventDispatcher {
public:
    // Drawable pixels per window unit (2 on a display scaled 2×).
    struct PixelsPerPoint {
        double x = 1.0;
        double y = 1.0;
    };

    static AppImpl::MessageResult dispatch(const SDL_Event& event, AppImpl& app, PixelsPerPoint scale);

private:
    static void dispatchKey(const SDL_KeyboardEvent& key, ButtonState state, AppImpl& app);
    static void dispatchButton(const SDL_MouseButtonEvent& button, ButtonState state, AppImpl& app,
                               PixelsPerPoint scale);
    static int inPixels(int position, double pixelsPerPoint);
};

} // namespace lum
