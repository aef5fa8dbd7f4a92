// Driving the real program through its loop with scripted keys and a fake clock.
#include "ScriptedRun.h"

#include "game/gameState.h"
#include "game/snake.h"
#include "shell/gameOver.h"
#include "shell/gamePaused.h"
#include "shell/mainMenu.h"
#include "shell/vellorinMain.h"

#include <gtest/gtest.h>

ScriptedRun::ScriptedRun() : app(lum::HeadlessAppImpl::instance()) {
    app.reset();
}

ScriptedRun::~ScriptedRun() {
    app.reset();
}

ScriptedRun& ScriptedRun::then(Phase phase) {
    phases.push_back(std::move(phase));
    return *this;
}

int ScriptedRun::run() {
    app.onStep = [this](lum::HeadlessAppImpl&) { step(); };
    app.onPresent = [this](const lum::Screen& screen) {
        if (onFrame) onFrame(screen);
    };
    const int result = vellorinMain();
    app.onStep = nullptr;
    app.onPresent = nullptr;
    return result;
}

void ScriptedRun::step() {
    findStates();
    if (seconds() > timeLimitSeconds) {
        ADD_FAILURE() << "the run was still going after " << timeLimitSeconds << " s in phase " << next;
        lum::application.exit();
        return;
    }
    while (next < phases.size() && phases[next](*this)) ++next;
}

void ScriptedRun::findStates() {
    lum::IAppState* active = app.getActiveState();
    if (auto* found = dynamic_cast<mainMenu*>(active)) menu = found;
    if (auto* found = dynamic_cast<gamePaused*>(active)) pause = found;
    if (menu != nullptr && play == nullptr) play = menu->playState;
    if (play != nullptr && over == nullptr) over = play->gameOverState;
}

std::string ScriptedRun::activeName() const {
    lum::IAppState* active = app.getActiveState();
    if (active == nullptr) return "";
    if (dynamic_cast<mainMenu*>(active)) return "menu";
    if (dynamic_cast<gameState*>(active)) return "main";
    if (dynamic_cast<gamePaused*>(active)) return "pause";
    if (dynamic_cast<gameOver*>(active)) return "game_over";
    return "";
}

double ScriptedRun::seconds() const {
    return static_cast<double>(app.getClock()) / 1e9;
}

ScriptedRun::Phase ScriptedRun::until(const std::string& stateName) {
    return [stateName](ScriptedRun& run) { return run.activeName() == stateName; };
}

ScriptedRun::Phase ScriptedRun::press(std::vector<unsigned int> keys) {
    return [keys](ScriptedRun& run) {
        for (unsigned int key : keys) run.app.queueKeyPress(key);
        return true;
    };
}

ScriptedRun::Phase ScriptedRun::pressOnly(unsigned int key) {
    return [key](ScriptedRun& run) {
        run.app.queueKey(key, lum::PRESSED);
        return true;
    };
}

ScriptedRun::Phase ScriptedRun::releaseOnly(unsigned int key) {
    return [key](ScriptedRun& run) {
        run.app.queueKey(key, lum::RELEASED);
        return true;
    };
}

ScriptedRun::Phase ScriptedRun::frames(std::uint64_t count) {
    std::uint64_t target = 0;
    bool started = false;
    return [count, target, started](ScriptedRun& run) mutable {
        if (!started) {
            target = run.app.getFramesPresented() + count;
            started = true;
        }
        return run.app.getFramesPresented() >= target;
    };
}

ScriptedRun::Phase ScriptedRun::act(std::function<void(ScriptedRun&)> action) {
    return [action](ScriptedRun& run) {
        action(run);
        return true;
    };
}

ScriptedRun::Phase ScriptedRun::startMatch(bool onePlayer) {
    return [onePlayer](ScriptedRun& run) {
        if (onePlayer) {
            for (unsigned int key : {lum::KEY_DOWN, lum::KEY_SPACE, lum::KEY_UP}) run.app.queueKeyPress(key);
        }
        run.app.queueKeyPress(lum::KEY_SPACE);
        return true;
    };
}

ScriptedRun::Phase ScriptedRun::playFrames(std::uint64_t count) {
    Phase wait = frames(count);
    return [wait](ScriptedRun& run) mutable {
        run.steerRound();
        return wait(run);
    };
}

void ScriptedRun::steerRound() {
    if (activeName() != "main" || app.queuedMessages() != 0) return;
    const snake& s = play->playerSnake;
    const int x = s.head->x;
    const int y = s.head->y;
    if (s.direction == snake::UP && y >= 500) app.queueKeyPress(lum::KEY_RIGHT);
    if (s.direction == snake::RIGHT && x >= 700) app.queueKeyPress(lum::KEY_DOWN);
    if (s.direction == snake::DOWN && y <= 100) app.queueKeyPress(lum::KEY_LEFT);
    if (s.direction == snake::LEFT && x <= 100) app.queueKeyPress(lum::KEY_UP);
}
