// The play state ("main"): one match, either the player against the computer
// until a snake crashes, or the player alone against a 180-second countdown.
// It owns both snakes and the food for the whole run, creates the controllers
// and the music of each match, and hands over to "game_over" when it ends.
#pragma once

#include "framework/IAppState.h"
#include "framework/ITimerEvent.h"
#include "framework/Timer.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Image.h"
#include "game/food.h"
#include "game/snake.h"

#include <string>

namespace lum {
class Sound;
class SoundChannel;
class SoundSystem;
} // namespace lum

class aiController;
class gameOver;
class playerController;

class gameState : public lum::IAppState, public lum::ITimerEvent {
public:
    enum { TWO_PLAYER = 0, ONE_PLAYER = 1 };
    static constexpr unsigned int MATCH_SECONDS = 180;
    static const lum::Colour scoreColour;

    // Reads the sprites, the font and "gameBackground.bmp"; starts the food's clock.
    gameState();
    ~gameState() override;

    bool onCreate() override;
    bool onDestroy() override;
    void onActivate() override;
    void onDeactivate() override;
    void onUpdate() override;
    void onRender(lum::Screen& screen) override;
    void onTimer(lum::Timer& timer) override;

    void drawCentredText(lum::Image& target, const std::string& text, int x, int y, bool small);

    snake playerSnake;
    snake computerSnake;
    food foodManager;
    lum::Font largeFont;
    lum::Font smallFont;
    int mode = TWO_PLAYER;             // written by the main menu
    bool paused = false;               // set by the pause state, cleared on resume
    unsigned int secondsLeft = 0;      // the one-player countdown
    lum::Timer* countdown = nullptr;   // made by the first one-player match, then reused
    gameOver* gameOverState = nullptr; // receives the mode and the result of each match
    lum::Image background;

    // The music of the match in progress; null between matches.
    lum::SoundSystem* soundSystem = nullptr;
    lum::Sound* music = nullptr;
    lum::SoundChannel* channel = nullptr;

    // The controllers made for the match in progress; null between matches.
    playerController* playerControl = nullptr;
    aiController* computerControl = nullptr;

private:
    void startMatch();
    void resumeMatch();
    void startMusic(const std::string& fileName);
    void releaseMusic();
    void disposeControllers();
    void updateTwoPlayer();
    void updateOnePlayer();
    void tuneFood();
    // Records the winner for the game-over screen and asks for it.
    void finishMatch(snake* winner);

    // Set once the match has asked for "game_over": the deactivation that
    // follows ends the match instead of pausing it.
    bool matchOver = false;
};
