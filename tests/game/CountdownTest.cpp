// A one-player match from the menu to the end of its 180-second countdown,
// with the player's snake kept going round the field: 181 seconds of frames.
#include "ScriptedRun.h"

#include "game/gameState.h"
#include "game/snake.h"
#include "shell/gameOver.h"
#include "shell/mainMenu.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(CountdownTest, AOnePlayerMatchRunsItsWholeCountdown) {
    ScriptedRun run;
    double startedAt = 0;
    unsigned int firstFrameSeconds = 0;
    bool matchFrameSeen = false;
    run.onFrame = [&](const lum::Screen&) {
        if (!matchFrameSeen && run.activeName() == "main") {
            matchFrameSeen = true;
            firstFrameSeconds = run.play->secondsLeft;
        }
    };
    run.then(ScriptedRun::until("menu"))
        .then(ScriptedRun::startMatch(true))
        .then(ScriptedRun::until("main"))
        .then(ScriptedRun::act([&](ScriptedRun& r) {
            std::srand(2024);
            startedAt = r.seconds();
            EXPECT_EQ(r.menu->menuItems[1], "Set Two Player");
            EXPECT_EQ(r.over->mode, 1);
        }))
        .then([](ScriptedRun& r) {
            r.steerRound();
            return r.activeName() == "game_over";
        })
        .then(ScriptedRun::act([&](ScriptedRun& r) {
            const double took = r.seconds() - startedAt;
            EXPECT_GE(took, 181.0);
            EXPECT_LT(took, 182.0);
            EXPECT_EQ(r.play->secondsLeft, 0u);
            EXPECT_EQ(r.over->resultLine(),
                      "Player 1 has won with " + std::to_string(r.play->playerSnake.length) + " points.");
            EXPECT_EQ(snake::collide(&r.play->playerSnake, nullptr), nullptr); // no crash: the time ran out
            EXPECT_FALSE(r.play->countdown->isRunning());
        }))
        .then(ScriptedRun::press({lum::KEY_SPACE}))
        .then(ScriptedRun::until("menu"))
        .then(ScriptedRun::act([](ScriptedRun& r) {
            EXPECT_EQ(r.menu->menuItems[1], "Set Two Player");
            EXPECT_EQ(r.menu->selectedItem, mainMenu::PLAY_GAME);
        }))
        .then(ScriptedRun::press({lum::KEY_ESCAPE}));
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(run.phasesDone(), 10u);
    EXPECT_EQ(firstFrameSeconds, 180u);
}

} // namespace
