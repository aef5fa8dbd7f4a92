// Support for the game tests on the headless platform: a fixture with the App
// sized 800 x 600 but not running, for the game objects used directly, and
// GameRun, the whole program run in-process, driven by a script of phases
// that are called at the start of every loop step until each reports done.
#pragma once

#include "framework/App.h"
#include "framework/TimerImpl.h"
#include "framework/graphics/Screen.h"
#include "framework/headless/HeadlessAppImpl.h"
#include "framework/sound/SoundSystem.h"
#include "game/gameState.h"
#include "shell/gameOver.h"
#include "shell/gamePaused.h"
#include "shell/mainMenu.h"
#include "shell/vellorinMain.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

inline int timersInUse() {
    int count = 0;
    for (unsigned int slot = 0; slot < lum::TimerImpl::SLOTS; ++slot) count += lum::TimerImpl::inSlot(slot) != nullptr;
    return count;
}

// A stand-in state is registered, so that the App accepts switch requests (the
// loop never runs, so it never becomes active).
class FieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.reset();
        app.addState("menu", idle);
        app.initialise(800, 600, "Vellorin", "test", 60);
    }
    void key(unsigned int code, lum::ButtonState state = lum::PRESSED) { app.dispatchKey(code, state); }

    lum::HeadlessAppImpl& app = lum::HeadlessAppImpl::instance();
    gameOver idle;
};

class GameRun {
public:
    using Phase = std::function<bool(GameRun&)>;

    GameRun() { app.reset(); }
    ~GameRun() { app.reset(); }

    // Runs the program to its end, which must come after the whole script and
    // leave nothing behind: exit code 0, nothing on standard error, no timer,
    // no open sound system.
    void run() {
        app.onStep = [this](lum::HeadlessAppImpl&) { step(); };
        app.onPresent = [this](const lum::Screen& screen) { firstFrames.try_emplace(state(), screen); };
        testing::internal::CaptureStderr();
        EXPECT_EQ(vellorinMain(), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        // A script that stalls is given up after timeLimit seconds of play.
        EXPECT_TRUE(done == phases.size() && seconds() <= timeLimit) << "the script ended in phase " << done;
        EXPECT_EQ(timersInUse(), 0);
        EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
    }

    GameRun& then(Phase phase) { return phases.push_back(std::move(phase)), *this; }
    // With steer, as in frames().
    GameRun& until(const std::string& name, bool steer = false) {
        return then([name, steer](GameRun& run) {
            if (steer) run.steerRound();
            return run.state() == name;
        });
    }
    GameRun& keys(std::vector<unsigned int> codes, lum::ButtonState only = lum::ButtonState(0)) {
        return act([codes, only](GameRun& run) {
            for (unsigned int code : codes) only != 0 ? run.app.queueKey(code, only) : run.app.queueKeyPress(code);
        });
    }
    // Frames presented from now on; with steer, the player's snake keeps going
    // clockwise round the field, turned by arrow keys.
    GameRun& frames(std::uint64_t count, bool steer = false) {
        return then([count, steer, target = std::uint64_t(0)](GameRun& run) mutable {
            if (target == 0) target = run.app.getFramesPresented() + count;
            if (steer) run.steerRound();
            return run.app.getFramesPresented() >= target;
        });
    }
    GameRun& act(std::function<void(GameRun&)> action) {
        return then([action](GameRun& run) { return action(run), true; });
    }
    GameRun& startMatch(bool onePlayer) {
        if (onePlayer) until("menu").keys({lum::KEY_DOWN, lum::KEY_SPACE, lum::KEY_UP}); // the mode toggled
        return until("menu").keys({lum::KEY_SPACE}).until("main");
    }

    std::string state() const {
        lum::IAppState* active = app.getActiveState();
        if (dynamic_cast<mainMenu*>(active)) return "menu";
        if (dynamic_cast<gameState*>(active)) return "main";
        if (dynamic_cast<gamePaused*>(active)) return "pause";
        return dynamic_cast<gameOver*>(active) ? "game_over" : "";
    }
    double seconds() const { return app.getClock() / 1e9; }
    void steerRound() {
        if (state() != "main" || app.queuedMessages() != 0) return;
        const snake& s = play->playerSnake;
        const bool nearTheWallAhead[] = {s.head->y >= 500, s.head->x >= 700, s.head->y <= 100, s.head->x <= 100};
        const unsigned int turnRight[] = {lum::KEY_RIGHT, lum::KEY_DOWN, lum::KEY_LEFT, lum::KEY_UP};
        if (nearTheWallAhead[s.direction]) app.queueKeyPress(turnRight[s.direction]);
    }

    lum::HeadlessAppImpl& app = lum::HeadlessAppImpl::instance();
    mainMenu* menu = nullptr;
    gameState* play = nullptr;
    std::map<std::string, lum::Image> firstFrames; // the first frame each state drew
    std::size_t done = 0;   // phases finished
    double timeLimit = 900;

private:
    void step() {
        if (auto* found = dynamic_cast<mainMenu*>(app.getActiveState())) menu = found;
        if (menu != nullptr) play = menu->playState;
        if (seconds() > timeLimit) lum::application.exit();
        while (done < phases.size() && phases[done](*this)) ++done;
    }

    std::vector<Phase> phases;
};
