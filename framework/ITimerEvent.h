// Listener of a Timer: called on the main loop's thread when the timer is due.
#pragma once

namespace lum {

class Timer;

class ITimerEvent {
public:
    virtual ~ITimerEvent() {}
    virtual void onTimer(Timer& timer) = 0;
};

} // namespace lum
