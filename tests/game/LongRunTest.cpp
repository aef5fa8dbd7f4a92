// Long runs of the whole program: a one-player match to the end of its
// countdown (181 seconds of frames), and whole matches with the computer on
// both snakes (F1 at the start of each, every tenth paused and resumed first),
// after which nothing may have piled up: heap, sound systems, timers,
// key listeners.
#include "GameTest.h"

#include "framework/sound/SoundSystem.h"
#include "game/gameState.h"
#include "shell/gameOver.h"
#include "shell/mainMenu.h"

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool HEAP_MEASURED = false; // its own heap; the leak checker stands in
#else
constexpr bool HEAP_MEASURED = true;
#endif

#ifndef SHORT_SOAK_ONLY
TEST(LongRunTest, AOnePlayerMatchRunsItsWholeCountdown) {
    GameRun run;
    double startedAt = 0;
    unsigned int firstFrameSeconds = 0;
    run.onFrame = [&](const lum::Screen&) {
        if (firstFrameSeconds == 0 && run.state() == "main") firstFrameSeconds = run.play->secondsLeft;
    };
    run.startMatch(true)
        .act([&startedAt](GameRun& r) {
            std::srand(2024);
            startedAt = r.seconds();
        })
        .then([](GameRun& r) {
            r.steerRound();
            return r.state() == "game_over";
        })
        .act([&startedAt](GameRun& r) {
            EXPECT_GE(r.seconds() - startedAt, 181.0); // 0 is shown, and the next tick ends it
            EXPECT_LT(r.seconds() - startedAt, 182.0);
            EXPECT_EQ(r.over->resultLine(),
                      "Player 1 has won with " + std::to_string(r.play->playerSnake.length) + " points.");
            EXPECT_GT(r.play->playerSnake.length, 0);
        })
        .keys({lum::KEY_SPACE})
        .until("menu")
        .act([](GameRun& r) {
            EXPECT_EQ(r.menu->menuItems[1], "Set Two Player");
            EXPECT_EQ(r.menu->selectedItem, mainMenu::PLAY_GAME);
        })
        .keys({lum::KEY_ESCAPE});
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(run.done, 11u);
    EXPECT_EQ(firstFrameSeconds, 180u);
}
#endif

TEST(LongRunTest, MatchesOfComputerAgainstComputerLeaveNothingBehind) {
    const int warmUp = SOAK_MATCHES / 10;
    int matches = 0, problems = 0;
    bool started = false, pausedOnce = false;
    std::size_t heap[2] = {0, 0};
    GameRun run;
    run.timeLimit = SOAK_MATCHES * 600.0;
    run.then([&](GameRun& r) {
        if (r.app.queuedMessages() != 0) return false;
        const std::string state = r.state();
        if (state == "menu") {
            problems += lum::SoundSystem::openSystems() != 1;
            started = pausedOnce = false;
            r.app.queueKeyPress(matches == SOAK_MATCHES ? lum::KEY_ESCAPE : lum::KEY_SPACE);
            return matches == SOAK_MATCHES;
        }
        if (state == "main" && !started) {
            const bool pauseFirst = matches % 10 == 0 && !pausedOnce;
            pausedOnce = true;
            started = !pauseFirst;
            r.app.queueKeyPress(pauseFirst ? lum::KEY_TAB : lum::KEY_F1);
        }
        if (state == "pause") r.app.queueKeyPress(lum::KEY_SPACE);
        if (state == "game_over") {
            // The food's clock and the pause screen's snake; this screen's listener.
            problems += timersInUse() != 2 || lum::SoundSystem::openSystems() != 0 ||
                        r.app.getKeyListeners().size() != 1;
            if (++matches == warmUp || matches == SOAK_MATCHES) heap[matches == warmUp ? 0 : 1] = mallinfo2().uordblks;
            r.app.queueKeyPress(lum::KEY_SPACE);
        }
        return false;
    });
    const auto began = std::chrono::steady_clock::now();
    EXPECT_EQ(run.run(), 0);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("soak: %d matches, %llu frames, %.0f s of play in %.1f s; heap in use %zu -> %zu bytes\n", matches,
                static_cast<unsigned long long>(run.app.getFramesPresented()), run.seconds(), took, heap[0], heap[1]);
    EXPECT_EQ(matches, SOAK_MATCHES);
    EXPECT_EQ(problems, 0);
    EXPECT_EQ(timersInUse(), 0);
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
    if (HEAP_MEASURED) {
        EXPECT_GT(heap[0], 0u);
        EXPECT_LT(static_cast<long long>(heap[1]) - static_cast<long long>(heap[0]), 64 * 1024);
    }
}

} // namespace
