// Whole matches, one after another, with the computer steering both snakes
// (the player hands over with F1 at the start of each match; every tenth match
// is paused and resumed first). Nothing may pile up from match to match: heap
// in use, open sound systems, timers, key listeners.
#include "ScriptedRun.h"

#include "framework/TimerImpl.h"
#include "framework/sound/SoundSystem.h"
#include "game/gameState.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#ifndef SOAK_MATCHES
#define SOAK_MATCHES 20
#endif

// Under AddressSanitizer the heap is its own and keeps freed blocks aside for
// a while; there the leak checker at exit stands in for the heap figures.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool HEAP_MEASURED = false;
#else
constexpr bool HEAP_MEASURED = true;
#endif

namespace {

constexpr int MATCHES = SOAK_MATCHES;
// Matches played before the heap is first measured: caches, the log's buffers
// and the listener lists have reached their working sizes by then.
constexpr int WARM_UP = MATCHES / 10;

int timersInUse() {
    int count = 0;
    for (unsigned int slot = 0; slot < lum::TimerImpl::SLOTS; ++slot) {
        if (lum::TimerImpl::inSlot(slot) != nullptr) ++count;
    }
    return count;
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

long residentPages() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident;
}

// One match per pass through the menu, the play state and the game-over screen.
class Soak {
public:
    bool step(ScriptedRun& run) {
        if (run.app.queuedMessages() != 0) return false;
        const std::string state = run.activeName();
        if (state == "menu") return atMenu(run);
        if (state == "main") atPlay(run);
        if (state == "pause") run.app.queueKeyPress(lum::KEY_SPACE);
        if (state == "game_over") atGameOver(run);
        return false;
    }

    int matches = 0;
    int frames = 0;
    std::size_t heapAfterWarmUp = 0;
    std::size_t heapAtEnd = 0;
    long residentAfterWarmUp = 0;
    long residentAtEnd = 0;
    int soundProblems = 0;
    int timerProblems = 0;
    int listenerProblems = 0;

private:
    bool atMenu(ScriptedRun& run) {
        if (lum::SoundSystem::openSystems() != 1) ++soundProblems;
        if (matches == MATCHES) {
            run.app.queueKeyPress(lum::KEY_ESCAPE);
            return true;
        }
        handedOver = false;
        pausedOnce = false;
        run.app.queueKeyPress(lum::KEY_SPACE);
        return false;
    }

    void atPlay(ScriptedRun& run) {
        if (handedOver) return;
        if (matches % 10 == 0 && !pausedOnce) {
            pausedOnce = true;
            run.app.queueKeyPress(lum::KEY_TAB);
            return;
        }
        handedOver = true;
        run.app.queueKeyPress(lum::KEY_F1);
    }

    void atGameOver(ScriptedRun& run) {
        ++matches;
        // Only the food's clock and the pause screen's snake are left; the
        // game-over screen's own listener is the only one.
        if (timersInUse() != 2) ++timerProblems;
        if (lum::SoundSystem::openSystems() != 0) ++soundProblems;
        if (lum::application.getImpl().getKeyListeners().size() != 1) ++listenerProblems;
        if (matches == WARM_UP) {
            heapAfterWarmUp = heapInUse();
            residentAfterWarmUp = residentPages();
        }
        if (matches == MATCHES) {
            heapAtEnd = heapInUse();
            residentAtEnd = residentPages();
            frames = static_cast<int>(run.app.getFramesPresented());
        }
        run.app.queueKeyPress(lum::KEY_SPACE);
    }

    bool handedOver = false;
    bool pausedOnce = false;
};

TEST(SoakTest, MatchesOfComputerAgainstComputerLeaveNothingBehind) {
    ScriptedRun run;
    run.timeLimitSeconds = MATCHES * 600.0;
    Soak soak;
    run.then([&soak](ScriptedRun& r) { return soak.step(r); });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(run.run(), 0);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    EXPECT_EQ(soak.matches, MATCHES);
    EXPECT_EQ(soak.soundProblems, 0);
    EXPECT_EQ(soak.timerProblems, 0);
    EXPECT_EQ(soak.listenerProblems, 0);
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
    EXPECT_EQ(timersInUse(), 0);
    const long long heapGrowth =
        static_cast<long long>(soak.heapAtEnd) - static_cast<long long>(soak.heapAfterWarmUp);
    const long pageGrowth = soak.residentAtEnd - soak.residentAfterWarmUp;
    std::printf("soak: %d matches, %d frames, %.1f s of play in %.1f s; heap in use %zu -> %zu bytes (%+lld), "
                "resident %ld -> %ld pages\n",
                soak.matches, soak.frames, run.seconds(), took, soak.heapAfterWarmUp, soak.heapAtEnd, heapGrowth,
                soak.residentAfterWarmUp, soak.residentAtEnd);
    if (HEAP_MEASURED) {
        // The heap may wander a little with the food left on the field, never
        // grow with the number of matches.
        EXPECT_GT(soak.heapAfterWarmUp, 0u);
        EXPECT_LT(heapGrowth, 64 * 1024);
        EXPECT_LT(pageGrowth, 256); // 1 MB of 4 KB pages
    }
}

} // namespace
