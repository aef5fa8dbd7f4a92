// The framework's core on the headless platform: the state machine, start-up
// and shutdown, frame pacing, input dispatch, the timer table and its polling,
// and the log's messages.
#include "tests/spine/SpineSupport.h"

#include "framework/AppImpl.h"
#include "framework/TimerImpl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace lum::test {
namespace {

// Puts the headless App back to its just-built state, with the game's four
// states registered, around every test.
class Spine : public ::testing::Test {
protected:
    int mainFrames = 0;
    Journal journal, fired, events;
    std::vector<std::int64_t> presented; // the clock at every presented frame
    Recorder menu{"menu", journal}, main{"main", journal}, pause{"pause", journal}, gameOver{"game_over", journal};
    Recorder timers{"", fired}, first{"first", events}, second{"second", events}, third{"third", events};

    void SetUp() override {
        platform().reset();
        platform().onPresent = [this](const lum::Screen&) { presented.push_back(platform().getClock()); };
        application.addState("menu", menu).addState("main", main).addState("pause", pause);
        application.addState("game_over", gameOver);
    }
    void TearDown() override { platform().reset(); }
    long seen(const std::string& entry) const { return std::count(journal.begin(), journal.end(), entry); }
    // Every step takes `stepMs`; the run ends at the first step that begins at or after `endMs`.
    static void runInSteps(std::int64_t stepMs, std::int64_t endMs) {
        platform().setClockMode(lum::HeadlessAppImpl::ClockMode::FixedStep, stepMs * MS);
        platform().onStep = [endMs](lum::HeadlessAppImpl& headless) {
            if (headless.getClock() >= endMs * MS) application.exit();
        };
        run();
    }
    // Runs until every queued message has been handled.
    static void runMessages() {
        platform().onStep = [](lum::HeadlessAppImpl& headless) {
            if (headless.queuedMessages() == 0) application.exit();
        };
        run();
    }
};

// ---- States, start-up and shutdown, frame pacing

TEST_F(Spine, LifecycleRunsInNameOrderAndTheFirstRegisteredStateDrawsFirst) {
    application.setClearColour(lum::Colour(1, 2, 3, 255));
    lum::Colour cleared(0, 0, 0, 0);
    menu.renderHook = [&cleared] {
        cleared = application.getImpl().getScreen()->getPixel(799, 599);
        application.exit();
    };
    run();
    // exit from onRender still lets the step finish its frame; no step follows.
    EXPECT_EQ(journal, (Journal{"game_over.onCreate", "main.onCreate", "menu.onCreate", "pause.onCreate",
                                "menu.onActivate", "menu.onUpdate", "menu.onRender", "menu.onDeactivate",
                                "game_over.onDestroy", "main.onDestroy", "menu.onDestroy", "pause.onDestroy"}));
    EXPECT_EQ(presented.size(), 1u);
    EXPECT_EQ(platform().getSteps(), 1u);
    EXPECT_EQ(cleared, lum::Colour(1, 2, 3, 255));
}

TEST_F(Spine, RegistrationMistakesAreRefused) {
    platform().reset();
    EXPECT_EQ(thrown([] { run(); }), "There are no application states registered.");
    EXPECT_EQ(thrown([] { application.setState("menu"); }), "There are no application states registered.");
    application.addState("menu", menu);
    EXPECT_EQ(thrown([this] { application.addState("menu", main); }),
              "menu is already registered with the application.");
    EXPECT_EQ(thrown([this] { application.addState("free", menu); }),
              "Application event loop is already associated registered with the application as 'menu'.");
}

// Within a step the last request wins, and naming the active state or an
// unknown one changes nothing. Inside a switch the outgoing state's request
// replaces the pending one and the incoming state's is dropped. A quit message
// ends the loop before its step's frame.
TEST_F(Spine, OneSwitchPerStepToTheLastRequest) {
    LogTail log;
    menu.updateHook = [] {
        application.setState("pause");
        application.setState("main");
        application.setState("menu");
        application.setState("nowhere");
    };
    main.updateHook = [] { application.setState("pause"); };
    main.deactivateHook = [] { application.setState("game_over"); };
    gameOver.activateHook = [] { application.setState("menu"); };
    gameOver.updateHook = [] { platform().queueQuit(); };
    run();
    EXPECT_EQ(seen("menu.onActivate") + seen("main.onActivate") + seen("game_over.onActivate"), 3);
    EXPECT_EQ(seen("pause.onActivate"), 0);
    EXPECT_EQ(log.count("\nI: application activity state changed."), 2u);
    EXPECT_EQ(log.count("\nW: menu is the active state already."), 1u);
    EXPECT_EQ(log.count("\nW: nowhere is an unknown/unregistered state."), 1u);
    EXPECT_EQ(seen("game_over.onUpdate"), 1);
    EXPECT_EQ(journal.back(), "pause.onDestroy");
}

TEST_F(Spine, OutOfRangeFrameRatesAreReplacedBy60) {
    const std::pair<unsigned int, const char*> cases[] = {
        {5, "60 (0.0166667)"}, {121, "60 (0.0166667)"}, {10, "10 (0.1)"}, {120, "120 (0.00833333)"}};
    for (const auto& [requested, line] : cases) {
        LogTail log;
        application.getImpl().initialise(320, 200, "Name", "Author", requested);
        EXPECT_EQ(log.count(std::string("\n   Frame Rate:         ") + line), 1u) << requested;
        EXPECT_EQ(log.count("\nW: User defined framerate of " + std::to_string(requested) +
                            " is outside acceptable range 10 (min) -> 120 (max), framerate set to 60"),
                  requested == 5 || requested == 121 ? 1u : 0u);
    }
}

// Frames follow the clock: the countdown runs down by the whole time between
// steps, whether that time went into messages, waiting or drawing.
TEST_F(Spine, FramesComeEveryFrameTimeWhateverTheStepSpends) {
    for (int i = 0; i < 5; ++i) platform().queueKeyPress('a');
    menu.renderHook = [this] {
        platform().advanceClock(5 * MS);
        if (seen("menu.onRender") == 8) application.exit();
    };
    run();
    ASSERT_EQ(presented.size(), 8u);
    for (std::size_t i = 1; i < presented.size(); ++i) EXPECT_EQ(presented[i] - presented[i - 1], FRAME_NS) << i;
    // Ten steps for the messages, then one per frame: nothing spins between deadlines.
    EXPECT_EQ(platform().getSteps(), 10u + 7u);
}

// The frame countdown and a timer's wait are reset, not added to, so time
// overshot is dropped and late firing is not made up.
TEST_F(Spine, OvershootIsDroppedAndLateFiringIsNotMadeUp) {
    Timer timer(1, 25, timers);
    timer.start();
    runInSteps(10, 90);
    EXPECT_EQ(presented, (std::vector<std::int64_t>{10 * MS, 30 * MS, 50 * MS, 70 * MS, 90 * MS}));
    EXPECT_EQ(fired, (Journal{"1@30", "1@60", "1@90"}));
}

// ---- Input

TEST_F(Spine, KeysGoToListenersInOrderUntilOneReturnsFalse) {
    // The second first is ignored: one entry, one call per event.
    for (Recorder* listener : {&first, &second, &first}) application.addKeyListener(*listener);
    first.keyHook = [](const lum::KeyEvent& event) { return event.key != 'x'; };
    platform().queueKeyPress('a');
    platform().queueKey('x', lum::PRESSED);
    runMessages();
    EXPECT_EQ(events, (Journal{"first:97+", "second:97+", "first:97-", "second:97-", "first:120+"}));
}

// Removed listeners are skipped at once and cannot be added back until the
// purge after the next switch; input arriving during the switch is dropped.
TEST_F(Spine, ListenersRemovedDuringADispatchAreSkippedAndPurgedAtTheNextSwitch) {
    for (Recorder* listener : {&first, &second, &third}) application.addKeyListener(*listener);
    first.keyHook = [this](const lum::KeyEvent&) {
        application.removeKeyListener(first);
        application.removeKeyListener(second);
        application.addKeyListener(second);
        application.setState("main");
        return true;
    };
    main.activateHook = [] { application.getImpl().dispatchKey('s', lum::PRESSED); };
    platform().queueKey('a', lum::PRESSED);
    platform().queueKey('b', lum::PRESSED);
    runMessages();
    EXPECT_EQ(events, (Journal{"first:97+", "third:97+", "third:98+"}));
    const auto& registry = application.getImpl().getKeyListeners();
    ASSERT_EQ(registry.getEntries().size(), 1u);
    EXPECT_EQ(registry.getEntries()[0].listener, &third);
    EXPECT_FALSE(registry.isDirty()); // the purge left nothing to do
}

// Rows count upwards from 1 at the bottom; a move carries the last button; an
// event seen with no listener registered leaves the record alone.
TEST_F(Spine, MouseRecordCountsRowsUpwardsAndCarriesThePreviousPosition) {
    platform().queueMouseMove(10, 10);
    platform().queueMouseMove(0, 599);
    platform().queueMouseButton(lum::RIGHT, lum::PRESSED, 5, 0);
    platform().queueMouseMove(7, 100);
    // The first step's frame comes after its message.
    menu.updateHook = [this] { application.addMouseListener(first); };
    runMessages();
    EXPECT_EQ(events, (Journal{"first:move 0,1 prev 0,0 0 0", "first:button 5,600 prev 0,1 3 1",
                               "first:move 7,500 prev 5,600 3 1"}));
}

// F11 toggles full screen on its first press and still reaches the listeners;
// Enter with Alt held only toggles; Enter alone is a key like any other.
TEST_F(Spine, FullScreenKeysToggleAndOnlyF11IsDelivered) {
    platform().queueResize(800, 600); // handled before the listener is added
    platform().queueKeyPress(lum::KEY_F11);
    platform().queueKey(lum::KEY_ENTER, lum::PRESSED, true);
    platform().queueKey(lum::KEY_ENTER, lum::RELEASED, true);
    platform().queueKeyPress(lum::KEY_ENTER);
    menu.updateHook = [this] { application.addKeyListener(first); };
    runMessages();
    application.getImpl().dispatchKeyStroke(lum::KEY_F11, lum::PRESSED, false, true);
    EXPECT_EQ(platform().getFullScreenToggles(), 2u);
    EXPECT_EQ(events, (Journal{"first:138+", "first:138-", "first:13+", "first:13-", "first:138+"}));
}

// The program starts focused and listeners hear only changes. A platform may
// handle messages inside a state's onActivate: a change then is told once the
// switch is over, to the listeners registered by then.
TEST_F(Spine, OnlyChangesOfTheFocusAreToldAndNeverDuringAStateSwitch) {
    application.addFocusListener(first);
    for (bool focused : {true, false, false, true}) platform().queueFocus(focused);
    menu.updateHook = [] {
        if (platform().queuedMessages() == 0) application.setState("main");
    };
    main.activateHook = [this] {
        application.getImpl().dispatchFocus(false);
        application.addFocusListener(second);
        EXPECT_EQ(events.size(), 2u);
    };
    main.updateHook = [] { application.exit(); };
    run();
    EXPECT_EQ(events, (Journal{"first:focus-", "first:focus+", "first:focus-", "second:focus-"}));
}

// ---- Recording and replaying

// A run recorded and then replayed in its window's place makes the same calls
// at the same clock readings and presents the same frames: input from a
// message, input arriving outside a step's message handling (held for the
// next step), a focus change during a switch, timers, getTime and rand. The
// replay's own messages and dispatches are ignored.
TEST_F(Spine, ARecordedRunReplaysTheSameCallsAtTheSameTimes) {
    std::vector<std::vector<std::string>> journals;
    std::vector<std::vector<std::int64_t>> frames;
    for (const bool replaying : {false, true}) {
        SetUp();
        replaying ? application.replay("spine.rec") : application.record("spine.rec");
        Timer timer(7, 25, timers);
        // Keys and timers noted in order with the frames' draws.
        timers.timerHook = [this](Timer&) {
            journal.push_back("timer");
            application.getImpl().dispatchKey('t', lum::PRESSED);
        };
        first.keyHook = [this](const lum::KeyEvent& event) { return journal.push_back(std::to_string(event.key)), true; };
        for (Recorder* listener : {&first}) {
            application.addKeyListener(*listener);
            application.addMouseListener(*listener);
            application.addFocusListener(*listener);
        }
        platform().queueKeyPress('a');
        platform().queueMouseMove(30, 40);
        menu.activateHook = [&timer] { timer.start(); };
        menu.updateHook = [this] {
            journal.push_back(std::to_string(std::rand() % 1000) + " at " + std::to_string(application.getTime()));
            if (platform().queuedMessages() == 0 && fired.size() == 2) application.setState("main");
        };
        main.activateHook = [&timer] {
            timer.stop();
            application.getImpl().dispatchFocus(false);
        };
        main.updateHook = [this] {
            if (++mainFrames == 3) application.exit();
        };
        mainFrames = 0;
        EXPECT_TRUE(application.run(800, 600, "Vellorin", "q4417093"));
        journals.push_back(journal);
        journals.back().insert(journals.back().end(), events.begin(), events.end());
        journals.back().insert(journals.back().end(), fired.begin(), fired.end());
        frames.push_back(presented);
        for (Journal* kept : {&journal, &events, &fired}) kept->clear();
        presented.clear();
    }
    EXPECT_EQ(journals[1], journals[0]);
    EXPECT_EQ(frames[1], frames[0]);
    EXPECT_GT(frames[0].size(), 4u);
    // Every key a timer sent (outside the step's message handling) arrived once, in a later step.
    const auto count = [&journals](const std::string& prefix) {
        return std::count_if(journals[0].begin(), journals[0].end(),
                             [&prefix](const std::string& entry) { return entry.rfind(prefix, 0) == 0; });
    };
    EXPECT_GE(count("7@"), 2);
    EXPECT_EQ(count("first:116+"), count("7@"));
    EXPECT_EQ(count("first:focus-"), 1);
}

// ---- Timers

// Timer i asks for an interval of i ms; below 5 ms it gets 5.
TEST_F(Spine, EightSlotsLowestFreeFirst) {
    std::vector<std::unique_ptr<Timer>> table;
    for (unsigned short id = 0; id < 8; ++id) table.emplace_back(new Timer(id, id, timers));
    const unsigned int intervals[] = {5, 5, 5, 5, 5, 5, 6, 7};
    for (unsigned int slot = 0; slot < 8; ++slot) EXPECT_EQ(TimerImpl::inSlot(slot)->getIntervalMs(), intervals[slot]);
    EXPECT_EQ(thrown([this] { Timer ninth(8, 10, timers); }), "all timers in use");

    table[5].reset();
    table[2].reset();
    Timer again(9, 10, timers), andAgain(10, 10, timers);
    EXPECT_EQ(again.getSlot(), 2u);
    EXPECT_EQ(andAgain.getSlot(), 5u);
    EXPECT_EQ(thrown([this] { Timer ninth(11, 10, timers); }), "all timers in use");
}

// Lower slots fire first. Once exit is requested nothing fires, not even a
// timer started after the request and due by the end of that step. Starting a
// running timer or stopping a stopped one logs nothing.
TEST_F(Spine, LowerSlotsFireFirstAndNothingFiresOnceExitIsRequested) {
    Timer low(1, 10, timers), high(2, 10, timers), late(3, 5, timers);
    LogTail log;
    high.start();
    low.start();
    low.start();
    platform().setClockMode(lum::HeadlessAppImpl::ClockMode::FixedStep, 10 * MS);
    platform().onStep = [&late](lum::HeadlessAppImpl& headless) {
        if (headless.getSteps() != 2) return;
        application.exit();
        late.start();
    };
    run();
    EXPECT_EQ(fired, (Journal{"1@10", "2@10"}));
    EXPECT_EQ(log.count("has started."), 3u);

    // exit stopped the first two, shutdown the late one; their handles say so
    // and start them again.
    EXPECT_EQ(log.count("has stopped"), 3u);
    EXPECT_FALSE(low.isRunning());
    low.start();
    EXPECT_TRUE(low.isRunning());
    EXPECT_EQ(log.count("has started."), 4u);
}

// Timers and getTime see the clock as the step read it, however long the
// step then takes: a replay can give them exactly the recorded times.
TEST_F(Spine, TimersAndTheTimeCountOnTheStepsReading) {
    Timer timer(1, 10, timers);
    std::vector<float> times;
    menu.updateHook = [&] {
        platform().advanceClock(3 * MS); // a slow frame: not seen until the next step
        times.push_back(application.getTime());
        if (!timer.isRunning()) timer.start();
        if (times.size() == 3) application.exit();
    };
    platform().setClockMode(lum::HeadlessAppImpl::ClockMode::FixedStep, 5 * MS);
    run();
    // Frames at the steps reading 5, 23 and 41 ms; the timer, started at 5,
    // fires at the first steps 10 ms on from its last firing: 18, 31 and 41.
    EXPECT_EQ(times, (std::vector<float>{0.005f, 0.023f, 0.041f}));
    EXPECT_EQ(fired, (Journal{"1@18", "1@31", "1@41"}));
}

// The listener destroys its own timer and makes a new one, which lands in the
// same slot (and may reuse the same memory), inside the call.
TEST_F(Spine, ATimerMayBeDestroyedInsideItsOwnCall) {
    std::unique_ptr<Timer> own(new Timer(1, 10, timers));
    Timer steady(2, 10, timers);
    own->start();
    steady.start();
    timers.timerHook = [this, &own](Timer& timer) {
        if (&timer != own.get()) return;
        const bool replaceAndStart = timer.getID() == 1;
        own.reset();
        own.reset(new Timer(3, 40, timers));
        EXPECT_EQ(own->getSlot(), 0u);
        if (replaceAndStart) own->start();
    };
    runInSteps(10, 100);
    EXPECT_EQ(fired, (Journal{"1@10", "2@10", "2@20", "2@30", "2@40", "3@50", "2@50", "2@60", "2@70", "2@80",
                              "2@90", "2@100"}));
}

TEST_F(Spine, TheDeadlineIsTheEarlierOfNextFrameAndNextTimer) {
    Timer timer(1, 5, timers);
    timer.start();
    std::vector<std::int64_t> deadlines;
    platform().onStep = [&deadlines](lum::HeadlessAppImpl& headless) {
        deadlines.push_back(headless.getLastDeadline());
        if (deadlines.size() == 7) application.exit();
    };
    run();
    EXPECT_EQ(deadlines, (std::vector<std::int64_t>{0, 5 * MS, 10 * MS, 15 * MS, FRAME_NS, 20 * MS, 25 * MS}));
    EXPECT_EQ(fired, (Journal{"1@5", "1@10", "1@15", "1@20"}));
}

// ---- The log

TEST(Log, MessagesWriteNumbersInTheStreamsDefaultForm) {
    lum::Log::Message message(lum::Log::Warning);
    message << static_cast<unsigned short>(7) << " " << 0.016666668f << " " << 1.0 / 3 << " " << 1e20 << " "
            << static_cast<short>(-3) << " " << -12 << " " << 4000000000u << " " << -9000000000LL << " "
            << 18000000000000000000ULL << " " << 'c' << static_cast<unsigned char>(7) << " " << std::string("s") << "!";
    EXPECT_EQ(message.getText(), "W: 7 0.0166667 0.333333 1e+20 -3 -12 4000000000 -9000000000 18000000000000000000 c7 s!");
}

} // namespace
} // namespace lum::test
