// The timer handle: owns its implementation, and with it a slot of the table.
#include "framework/Timer.h"

#include "framework/TimerImpl.h"

#include <algorithm>

namespace lum {

Timer::Timer(unsigned short id, unsigned int intervalMs, ITimerEvent& listener)
    : id(id), listener(&listener),
      impl(new TimerImpl(*this, std::max(intervalMs, TimerImpl::MINIMUM_INTERVAL_MS))) {}

Timer::~Timer() { delete impl; }

void Timer::start() {
    if (running) return;
    running = true;
    impl->start();
}

void Timer::stop() {
    if (!running) return;
    impl->stop();
    running = false;
}

} // namespace lum
