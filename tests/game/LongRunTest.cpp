// A long run of the whole program: whole matches with the computer on both
// snakes (F1 at the start of each, every tenth paused and resumed first),
// after which nothing may have piled up: heap, open file descriptors, sound
// systems, timers, key listeners. The last match is left by Escape from the
// game-over screen.
//
// The number of matches is built in; VELLORIN_SOAK_MATCHES asks for another
// (10000 for the long soak of a release build). The heap and descriptor
// figures are printed for the record.
#include "GameTest.h"

#include <malloc.h>

#include <cstdio>

namespace {

int soakMatches() {
    const char* asked = std::getenv("VELLORIN_SOAK_MATCHES");
    const int matches = asked ? std::atoi(asked) : 0;
    return matches >= 10 ? matches : SOAK_MATCHES;
}

std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

TEST(LongRunTest, MatchesOfComputerAgainstComputerLeaveNothingBehind) {
    const int total = soakMatches(), warmUp = total / 10;
    int matches = 0, problems = 0;
    bool started = false, pausedOnce = false;
    std::size_t heap[2] = {0, 0}, descriptors[2] = {0, 0};
    GameRun run;
    run.timeLimit = total * 60.0; // about 2 s a match is usual
    run.then([&](GameRun& r) {
        if (r.app.queuedMessages() != 0) return false;
        const std::string state = r.state();
        if (state == "menu") {
            problems += lum::SoundSystem::openSystems() != 1;
            started = pausedOnce = false;
            r.app.queueKeyPress(lum::KEY_SPACE);
        }
        if (state == "main" && !started) {
            // After the hand-over the keys of the match are not heard: Tab
            // pauses nothing.
            started = matches % 10 != 0 || pausedOnce;
            pausedOnce = true;
            if (started) r.app.queueKeyPress(lum::KEY_F1), r.app.queueKeyPress(lum::KEY_LEFT);
            r.app.queueKeyPress(lum::KEY_TAB);
        }
        if (state == "pause") {
            problems += started;
            r.app.queueKeyPress(lum::KEY_SPACE);
        }
        if (state == "game_over") {
            // The food's clock and the pause screen's snake; this screen's listener and M's.
            problems += timersInUse() != 2 || lum::SoundSystem::openSystems() != 0 ||
                        r.app.getKeyListeners().size() != 2 || r.play->playerSnake.name != "Computer";
            if (++matches == warmUp || matches == total)
                heap[matches == total] = mallinfo2().uordblks, descriptors[matches == total] = openDescriptors();
            // Escape, released, ends the program from this screen after the last match.
            if (matches == total) r.app.queueKey(lum::KEY_ESCAPE, lum::RELEASED);
            else r.app.queueKeyPress(lum::KEY_SPACE);
            return matches == total;
        }
        return false;
    });
    run.run();
    EXPECT_EQ(matches, total);
    EXPECT_EQ(problems, 0);
    std::printf("%d matches; after match %d and after the last: heap in use %zu and %zu bytes, "
                "open descriptors %zu and %zu\n",
                total, warmUp, heap[0], heap[1], descriptors[0], descriptors[1]);
    EXPECT_GT(descriptors[0], 2u);
    EXPECT_EQ(descriptors[1], descriptors[0]);
#ifndef __SANITIZE_ADDRESS__ // its own heap; the leak checker stands in
    EXPECT_GT(heap[0], 0u);
    EXPECT_LT(static_cast<long long>(heap[1]) - static_cast<long long>(heap[0]), 64 * 1024);
#endif
}

} // namespace
