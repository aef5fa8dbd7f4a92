// Turns one SDL event into framework input: key presses and releases (held
// keys repeat presses), mouse motion and the three mouse buttons go to the
// App's dispatch operations; the quit request ends the loop. Everything else
// (window, text and wheel events) is consumed without effect.
#pragma once

#include "framework/AppImpl.h"

#include <SDL_events.h>

namespace lum {

class SdlEventDispatcher {
public:
    static AppImpl::MessageResult dispatch(const SDL_Event& event, AppImpl& app);

private:
    static void dispatchKey(const SDL_KeyboardEvent& key, ButtonState state, AppImpl& app);
    static void dispatchButton(const SDL_MouseButtonEvent& button, ButtonState state, AppImpl& app);
};

} // namespace lum
