// The implementation behind a Timer handle and the one table of eight slots that
// holds every existing timer. A timer reads the clock of the platform its caller
// hands it, when started and when polled, so it needs no platform code of its
// own; the main loop polls the table once per step and asks it for the
// earliest due time so that it can wait until then.
#pragma once

#include <cstdint>

namespace lum {

class AppImpl;
class Timer;

class TimerImpl {
public:
    static constexpr unsigned int SLOTS = 8;
    static constexpr unsigned int MINIMUM_INTERVAL_MS = 5;

    // Takes the lowest free slot; throws std::runtime_error "all timers in use"
    // when none is free, before anything is allocated or recorded.
    TimerImpl(Timer& owner, unsigned int intervalMs);
    // Stops the timer and frees its slot.
    ~TimerImpl();
    TimerImpl(const TimerImpl&) = delete;
    TimerImpl& operator=(const TimerImpl&) = delete;

    // Counts the first period from `app`'s clock now.
    void start(AppImpl& app);
    void stop();
    bool isRunning() const { return running; }
    unsigned int getSlot() const { return slot; }
    unsigned int getIntervalMs() const { return intervalMs; }
    std::int64_t getLastFire() const { return lastFire; }

    // Fires every running timer whose interval has passed, lowest slot first,
    // unless the App is exiting. Returns how many fired.
    static unsigned int pollAll(AppImpl& app);
    // Stops every running timer in slot order; each can be started again.
    static void stopAll();
    // The earliest clock reading at which a running timer is due; false when
    // no timer runs.
    static bool earliestDue(std::int64_t& due);
    // The implementation in a slot, or null.
    static TimerImpl* inSlot(unsigned int slot);

private:
    Timer* owner;
    unsigned int slot;
    unsigned int intervalMs;
    std::int64_t intervalNs;
    bool running = false;
    std::int64_t lastFire = 0;
};

} // namespace lum
