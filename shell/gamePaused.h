// The pause screen ("pause"): "Resume Game" or "Exit Game" over a snake that
// the computer steers around the edges of the screen. Showing it marks the
// play state as paused, so that going back to "main" resumes the match.
#pragma once

#include "framework/IAppState.h"
#include "framework/IKeyEvent.h"
#include "framework/ITimerEvent.h"
#include "framework/graphics/Font.h"
#include "game/snake.h"

#include <string>
#include <vector>

class gameState;

class gamePaused : public lum::IAppState, public lum::ITimerEvent, public lum::IKeyEvent {
public:
    enum { RESUME_GAME = 0, EXIT_GAME = 1 };
    static const lum::Colour lineColour;
    static const std::vector<std::string> lines;

    // Builds the backdrop snake with its corner-running controller, whose
    // clock runs for the life of this state.
    gamePaused();
    ~gamePaused() override;

    bool onCreate() override;
    bool onDestroy() override;
    void onActivate() override;
    void onDeactivate() override;
    void onUpdate() override;
    void onRender(lum::Screen& screen) override;
    void onTimer(lum::Timer& timer) override;
    bool onKey(const lum::KeyEvent& event) override;

    int selectedItem = RESUME_GAME; // kept between pauses
    snake backdropSnake;
    gameState* playState = nullptr; // whose paused flag this state sets
    lum::Font bigFont;
    lum::Font smallFont;
};
