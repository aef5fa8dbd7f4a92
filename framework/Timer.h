// A timer handle. At most eight timers exist at once (a fixed table of slots);
// the main loop polls the running ones once per step and calls the listener of
// each one whose interval has passed. Whether a timer runs, and its slot, are
// the implementation's to know: the handle only asks.
#pragma once

#include "framework/ITimerEvent.h"

namespace lum {

class TimerImpl;

class Timer {
public:
    // Intervals below 5 ms are raised to 5 ms. Throws std::runtime_error
    // "all timers in use" when the eight slots are taken.
    Timer(unsigned short id, unsigned int intervalMs, ITimerEvent& listener);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void start();
    void stop();
    unsigned short getID() const { return id; }
    bool isRunning() const;
    unsigned char getSlot() const;
    ITimerEvent& getListener() const { return *listener; }

private:
    unsigned short id;
    ITimerEvent* listener;
    TimerImpl* impl;
};

} // namespace lum
