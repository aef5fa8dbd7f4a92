// Support for the game tests on the headless platform: a fixture with the App
// sized 800 x 600 but not running, for the game objects used directly, and
// GameRun, the whole program run in-process, driven by a script of phases
// that are called at the start of every loop step until each reports done.
#pragma once

#include "framework/App.h"
#include "framework/headless/HeadlessAppImpl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class gameOver;
class gamePaused;
class gameState;
class mainMenu;

int timersInUse();
// Whether the App would hand a key event to the listener.
bool hears(lum::IKeyEvent* listener);
std::string readFile(const std::filesystem::path& path);

// An empty working directory for as long as it lives.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path before;
    std::filesystem::path path;
};

// Idle stand-ins are registered under the four state names, so that switch
// requests are accepted; requests() tells which were made.
class FieldTest : public ::testing::Test {
protected:
    struct Idle : lum::IAppState {
        bool onCreate() override { return true; }
        bool onDestroy() override { return true; }
        void onActivate() override {}
        void onDeactivate() override {}
        void onUpdate() override {}
        void onRender(lum::Screen&) override {}
    };

    void SetUp() override;
    void TearDown() override { app.reset(); }
    void key(unsigned int code, lum::ButtonState state = lum::PRESSED) { app.dispatchKey(code, state); }
    // The switches requested since the last call, from the log, comma separated.
    std::string requests();

    lum::HeadlessAppImpl& app = lum::HeadlessAppImpl::instance();
    Idle idle[4];
    std::size_t logSeen = 0;
};

class GameRun {
public:
    using Phase = std::function<bool(GameRun&)>;

    GameRun();
    ~GameRun();
    int run(); // vellorinMain's result

    GameRun& then(Phase phase);
    GameRun& until(const std::string& state);
    GameRun& keys(std::vector<unsigned int> codes, lum::ButtonState only = lum::ButtonState(0));
    // Frames presented from now on; with steer, the player's snake keeps going
    // clockwise round the field, turned by arrow keys.
    GameRun& frames(std::uint64_t count, bool steer = false);
    GameRun& act(std::function<void(GameRun&)> action);
    GameRun& startMatch(bool onePlayer);

    std::string state() const; // "menu", "main", "pause", "game_over"
    double seconds() const { return app.getClock() / 1e9; }
    void steerRound();

    lum::HeadlessAppImpl& app;
    mainMenu* menu = nullptr;
    gameState* play = nullptr;
    gamePaused* pause = nullptr;
    gameOver* over = nullptr;
    std::function<void(const lum::Screen&)> onFrame;
    double timeLimit = 900;
    std::size_t done = 0; // phases finished

private:
    void step();
    std::vector<Phase> phases;
};
