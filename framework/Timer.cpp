// The timer handle: owns its implementation, and with it a slot of the table.
// A timer starts on the clock of the App's platform, the clock it is polled on.
#include "framework/Timer.h"

#include "framework/App.h"
#include "framework/TimerImpl.h"

#include <algorithm>

namespace lum {

Timer::Timer(unsigned short id, unsigned int intervalMs, ITimerEvent& listener)
    : id(id), listener(&listener),
      impl(new TimerImpl(*this, std::max(intervalMs, TimerImpl::MINIMUM_INTERVAL_MS))) {}

Timer::~Timer() { delete impl; }

void Timer::start() { impl->start(App::instance().getImpl()); }

void Timer::stop() { impl->stop(); }

bool Timer::isRunning() const { return impl->isRunning(); }

unsigned char Timer::getSlot() const { return static_cast<unsigned char>(impl->getSlot()); }

} // namespace lum
