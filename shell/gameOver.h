// The game-over screen ("game_over"): names the winner of the finished match
// and its points, and offers "Main Menu" or "Exit Game".
#pragma once

#include "framework/IAppState.h"
#include "framework/IKeyEvent.h"
#include "framework/ITimerEvent.h"
#include "framework/graphics/Font.h"

#include <string>
#include <vector>

class snake;

class gameOver : public lum::IAppState, public lum::ITimerEvent, public lum::IKeyEvent {
public:
    enum { MAIN_MENU = 0, EXIT_GAME = 1 };
    static const lum::Colour lineColour;
    static const std::vector<std::string> lines;

    gameOver();
    ~gameOver() override;

    bool onCreate() override;
    bool onDestroy() override;
    void onActivate() override;
    void onDeactivate() override;
    void onUpdate() override;
    void onRender(lum::Screen& screen) override;
    void onTimer(lum::Timer& timer) override;
    bool onKey(const lum::KeyEvent& event) override;

    // "<name> has won with <length> points.", or a line saying that nobody won.
    std::string resultLine() const;
    // The winner: the one the play state recorded, else worked out from the
    // snakes as they stand; null when neither names one.
    snake* findWinner() const;

    int selectedItem = MAIN_MENU; // kept between visits
    snake* playerSnake = nullptr;   // the play state's snakes, not owned
    snake* computerSnake = nullptr;
    int mode = 0;                   // of the last match: 0 two-player, else one-player
    lum::Font bigFont;
    lum::Font smallFont;
    // Recorded by the play state when it ends a match, before anyone eats in
    // that frame; null when a match has started and not yet ended.
    snake* winner = nullptr;
};
