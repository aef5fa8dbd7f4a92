// The timer table and polling. Times are integer nanoseconds of the platform
// clock, so a period is exact and lateness is never made up.
#include "framework/TimerImpl.h"

#include "framework/AppImpl.h"
#include "framework/Log.h"
#include "framework/Timer.h"

#include <stdexcept>

namespace lum {

namespace {

TimerImpl* table[TimerImpl::SLOTS] = {};

unsigned int freeSlot() {
    for (unsigned int slot = 0; slot < TimerImpl::SLOTS; ++slot) {
        if (!table[slot]) return slot;
    }
    throw std::runtime_error("all timers in use");
}

} // namespace

TimerImpl::TimerImpl(Timer& owner, unsigned int intervalMs)
    : owner(&owner), slot(freeSlot()), intervalMs(intervalMs),
      intervalNs(static_cast<std::int64_t>(intervalMs) * 1000000) {
    table[slot] = this;
}

TimerImpl::~TimerImpl() {
    stop();
    table[slot] = nullptr;
}

void TimerImpl::start(AppImpl& app) {
    if (running) return;
    Log::instance() << (Log::Message(Log::Info) << "Timer " << owner->getID() << " has started.");
    lastFire = app.getStepClock();
    running = true;
}

void TimerImpl::stop() {
    if (!running) return;
    Log::instance() << (Log::Message(Log::Info) << "Timer " << owner->getID() << " has stopped");
    running = false;
}

unsigned int TimerImpl::pollAll(AppImpl& app) {
    unsigned int firings = 0;
    for (unsigned int slot = 0; slot < SLOTS; ++slot) {
        if (app.isExiting()) break;
        TimerImpl* timer = table[slot];
        if (!timer || !timer->running) continue;
        const std::int64_t now = app.getStepClock();
        if (now - timer->lastFire < timer->intervalNs) continue;
        // Recorded before the call: the listener may destroy this timer (or its
        // owner) or restart it, and the next period counts from this reading.
        timer->lastFire = now;
        Timer& owner = *timer->owner;
        ++firings;
        owner.getListener().onTimer(owner);
    }
    return firings;
}

void TimerImpl::stopAll() {
    for (TimerImpl* timer : table) {
        if (timer) timer->stop();
    }
}

bool TimerImpl::earliestDue(std::int64_t& due) {
    bool found = false;
    for (const TimerImpl* timer : table) {
        if (!timer || !timer->running) continue;
        const std::int64_t next = timer->lastFire + timer->intervalNs;
        if (!found || next < due) due = next;
        found = true;
    }
    return found;
}

TimerImpl* TimerImpl::inSlot(unsigned int slot) { return slot < SLOTS ? table[slot] : nullptr; }

} // namespace lum
