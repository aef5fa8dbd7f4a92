// The computer's controller: every 30 ms it turns its snake toward the newest
// piece of food or, with no food object, clockwise around the field's corners.
#pragma once

#include "framework/ITimerEvent.h"
#include "framework/Timer.h"
#include "game/controller.h"

class food;

class aiController : public controller, public lum::ITimerEvent {
public:
    static constexpr unsigned int INTERVAL_MS = 30;

    // foodManager null: corner mode. Takes a timer and starts it at once;
    // throws "all timers in use" when none is free.
    aiController(snake* controlledSnake, food* foodManager);
    ~aiController() override;

    void onTimer(lum::Timer& timer) override;

    // Stops and restarts the steering clock while a match is paused.
    void suspend();
    void resume();

    int lastY; // the head's y after the last tick that steered toward food
    lum::Timer* timer = nullptr;
    food* foodManager; // not owned; null in corner mode

private:
    void steerToFood();
    void steerAroundCorners();
};
