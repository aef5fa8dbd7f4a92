// A fixture for the game objects used directly: the headless App set up for an
// 800 x 600 screen without running its loop, fixed random seeds, and a count
// of the timers in use. Two stand-in states are registered under "pause" and
// "game_over" so that switch requests are accepted and can be seen.
#pragma once

#include "framework/App.h"
#include "framework/IAppState.h"
#include "framework/headless/HeadlessAppImpl.h"

#include <gtest/gtest.h>

#include <string>

class FieldFixture : public ::testing::Test {
protected:
    // A state that does nothing; only its registration matters.
    class IdleState : public lum::IAppState {
    public:
        bool onCreate() override { return true; }
        bool onDestroy() override { return true; }
        void onActivate() override {}
        void onDeactivate() override {}
        void onUpdate() override {}
        void onRender(lum::Screen&) override {}
    };

    void SetUp() override;
    void TearDown() override;

    // Timers that exist (running or not) in the whole program.
    static int timersInUse();
    // The switches requested since the last call, as logged, joined by commas;
    // "" when none.
    std::string requestedState();
    // Sends a key event through the App's listeners.
    void key(unsigned int code, lum::ButtonState state = lum::PRESSED);

    lum::HeadlessAppImpl& app = lum::HeadlessAppImpl::instance();
    IdleState idle;
    IdleState pauseStandIn;
    IdleState gameOverStandIn;

private:
    std::size_t logSeen = 0;
};
