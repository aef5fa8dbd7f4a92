// The eight-slot timer table, the log lines of starting and stopping, and
// polling in the main loop on the headless clock.
#include "tests/spine/SpineSupport.h"

#include "framework/Timer.h"
#include "framework/TimerImpl.h"

#include <memory>

namespace spine {
namespace {

using lum::application;
using lum::Timer;
using lum::TimerImpl;

constexpr std::int64_t MS = 1000000;

// Notes the clock at every call; an optional hook runs inside the call.
struct Recorder : lum::ITimerEvent {
    std::vector<std::int64_t> fired;
    std::function<void(Timer&)> hook;
    void onTimer(Timer& timer) override {
        fired.push_back(platform().getClock());
        if (hook) hook(timer);
    }
    static lum::HeadlessAppImpl& platform() { return lum::HeadlessAppImpl::instance(); }
};

class TimerTest : public SpineTest {
protected:
    Journal journal;
    RecordingState menu{"menu", journal};
    Recorder recorder;

    void SetUp() override {
        SpineTest::SetUp();
        application.addState("menu", menu);
    }
    // Ends the run at the first step that begins at or after `end`.
    static void exitAt(std::int64_t end) {
        platform().onStep = [end](lum::HeadlessAppImpl& headless) {
            if (headless.getClock() >= end) application.exit();
        };
    }
};

TEST_F(TimerTest, NinthTimerIsRefusedAndAFreedSlotIsReusedLowestFirst) {
    std::vector<std::unique_ptr<Timer>> timers;
    for (unsigned short id = 0; id < 8; ++id) timers.emplace_back(new Timer(id, 10, recorder));
    for (unsigned int slot = 0; slot < 8; ++slot) EXPECT_EQ(timers[slot]->getSlot(), slot);

    expectRuntimeError([this] { Timer ninth(8, 10, recorder); }, "all timers in use");

    timers[5].reset();
    timers[2].reset();
    EXPECT_EQ(TimerImpl::inSlot(2), nullptr);
    Timer again(9, 10, recorder), andAgain(10, 10, recorder);
    EXPECT_EQ(again.getSlot(), 2u);
    EXPECT_EQ(andAgain.getSlot(), 5u);
    expectRuntimeError([this] { Timer ninth(11, 10, recorder); }, "all timers in use");
}

TEST_F(TimerTest, IntervalsBelowFiveMillisecondsAreRaised) {
    const unsigned int asked[] = {0, 1, 4, 5, 6};
    const unsigned int used[] = {5, 5, 5, 5, 6};
    for (int i = 0; i < 5; ++i) {
        Timer timer(1, asked[i], recorder);
        EXPECT_EQ(TimerImpl::inSlot(timer.getSlot())->getIntervalMs(), used[i]) << asked[i];
    }
}

TEST_F(TimerTest, StartingAndStoppingLogOnceEach) {
    LogTail log;
    Timer timer(7, 100, recorder);
    timer.start();
    timer.start();
    timer.stop();
    timer.stop();
    EXPECT_EQ(log.text(), "\nI: Timer 7 has started.\nI: Timer 7 has stopped");
}

TEST_F(TimerTest, LateFiringIsNotMadeUp) {
    platform().setClockMode(lum::HeadlessAppImpl::ClockMode::FixedStep, 300 * MS);
    Timer timer(1, 1000, recorder);
    timer.start();
    exitAt(5000 * MS);
    run();
    EXPECT_EQ(recorder.fired, (std::vector<std::int64_t>{1200 * MS, 2400 * MS, 3600 * MS, 4800 * MS}));
}

TEST_F(TimerTest, LowerSlotsFireFirstAndNothingFiresOnceExitIsRequested) {
    Recorder later;
    Timer first(1, 10, recorder), second(2, 10, later);
    first.start();
    second.start();
    platform().setClockMode(lum::HeadlessAppImpl::ClockMode::FixedStep, 10 * MS);
    // The first timer ends the program at its second call; the second timer,
    // due in the same step, must not fire.
    recorder.hook = [this, &later](Timer&) {
        later.fired.push_back(-1);
        if (recorder.fired.size() == 2) application.exit();
    };
    LogTail log;
    run();
    EXPECT_EQ(recorder.fired, (std::vector<std::int64_t>{10 * MS, 20 * MS}));
    EXPECT_EQ(later.fired, (std::vector<std::int64_t>{-1, 10 * MS, -1}));
    // exit stopped both; shutdown found nothing left to stop.
    EXPECT_EQ(log.count("has stopped"), 2u);

    // The handles still say running: start does nothing until stop resets them.
    EXPECT_TRUE(first.isRunning());
    first.start();
    EXPECT_FALSE(TimerImpl::inSlot(first.getSlot())->isRunning());
    first.stop();
    first.start();
    EXPECT_TRUE(TimerImpl::inSlot(first.getSlot())->isRunning());
}

// Even a timer started after the request, and due by the step's end, stays quiet.
TEST_F(TimerTest, NoTimerFiresInTheStepThatRequestedExit) {
    Recorder afterwards;
    Timer timer(1, 10, recorder), late(2, 5, afterwards);
    timer.start();
    platform().setClockMode(lum::HeadlessAppImpl::ClockMode::FixedStep, 10 * MS);
    platform().onStep = [&late](lum::HeadlessAppImpl& headless) {
        if (headless.getSteps() != 3) return;
        application.exit();
        late.start();
    };
    run();
    EXPECT_EQ(recorder.fired, (std::vector<std::int64_t>{10 * MS, 20 * MS}));
    EXPECT_TRUE(afterwards.fired.empty());
}

// A listener that destroys its own timer, and makes a new one that lands in the
// same slot (and may reuse the same memory), inside the call.
TEST_F(TimerTest, ATimerMayBeDestroyedInsideItsOwnCall) {
    std::unique_ptr<Timer> own(new Timer(1, 10, recorder));
    Recorder other;
    Timer steady(2, 10, other);
    own->start();
    steady.start();
    recorder.hook = [this, &own](Timer& timer) {
        EXPECT_EQ(&timer, own.get());
        own.reset();
        own.reset(new Timer(3, 50, recorder));
        EXPECT_EQ(own->getSlot(), 0u);
        own->start();
        if (recorder.fired.size() == 2) own.reset();
    };
    exitAt(100 * MS);
    run();
    EXPECT_EQ(recorder.fired, (std::vector<std::int64_t>{10 * MS, 60 * MS}));
    EXPECT_EQ(other.fired.size(), 10u);
    EXPECT_EQ(own.get(), nullptr);
}

} // namespace
} // namespace spine
