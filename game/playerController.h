// The player's controller: arrow keys steer the snake, Tab pauses the match and
// F1 hands the snake over to the computer for the rest of the match. The
// window losing the focus pauses the match as Tab does, while the player steers.
#pragma once

#include "framework/IFocusEvent.h"
#include "framework/IKeyEvent.h"
#include "game/controller.h"

class aiController;
class food;

class playerController : public controller, public lum::IKeyEvent, public lum::IFocusEvent {
public:
    // Starts listening to the keys and the focus at once.
    playerController(snake* controlledSnake, food* foodManager);
    // Stops listening and disposes of the computer's controller it handed over to.
    ~playerController() override;

    // Acts on pressed and released keys alike; always lets the event go on.
    bool onKey(const lum::KeyEvent& event) override;
    // A lost focus pauses; a regained one leaves the pause to the player.
    bool onFocusChange(bool focused) override;

    // While the match is paused nothing steers the snake: the keys and the
    // focus are not heard and a computer that took over stops its clock. resume undoes that.
    void suspend();
    void resume();

    food* foodManager; // not owned; what the computer steers toward after a hand-over
    aiController* successor = nullptr; // the computer's controller after F1; owned

private:
    void handOver();
    void listen(bool on);

    bool listening = false;
};
