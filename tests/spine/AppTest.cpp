// The application's state machine, start-up and shutdown, and frame pacing,
// driven through the App on the headless platform.
#include "tests/spine/SpineSupport.h"

#include "framework/AppImpl.h"
#include "framework/Timer.h"
#include "framework/graphics/Screen.h"

#include <cmath>

namespace spine {
namespace {

using lum::application;

constexpr std::int64_t MS = 1000000;
const std::int64_t FRAME_NS = std::llround(1e9 / 60);

class AppTest : public SpineTest {
protected:
    Journal journal;
    RecordingState menu{"menu", journal}, main{"main", journal}, pause{"pause", journal},
        gameOver{"game_over", journal};

    void registerGameStates() {
        application.addState("menu", menu).addState("main", main).addState("pause", pause).addState("game_over", gameOver);
    }
};

TEST_F(AppTest, LifecycleRunsInNameOrderAndTheFirstRegisteredStateDrawsFirst) {
    registerGameStates();
    menu.updateHook = [] { application.exit(); };
    run();
    // exit from onUpdate still lets the step finish its frame; no step follows.
    const Journal expected{"game_over.onCreate", "main.onCreate",   "menu.onCreate",     "pause.onCreate",
                           "menu.onActivate",    "menu.onUpdate",   "menu.onRender",     "menu.onDeactivate",
                           "game_over.onDestroy", "main.onDestroy", "menu.onDestroy",    "pause.onDestroy"};
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(platform().getFramesPresented(), 1u);
    EXPECT_EQ(platform().getSteps(), 1u);
}

TEST_F(AppTest, RunAndSetStateWithoutStatesAreRefused) {
    expectRuntimeError([] { run(); }, "There are no application states registered.");
    expectRuntimeError([] { application.setState("menu"); }, "There are no application states registered.");
    EXPECT_EQ(platform().getSteps(), 0u);
}

TEST_F(AppTest, AddStateRejectsTakenNamesAndRegisteredObjects) {
    application.addState("menu", menu);
    expectRuntimeError([this] { application.addState("menu", main); },
                       "menu is already registered with the application.");
    expectRuntimeError([this] { application.addState("free", menu); },
                       "Application event loop is already associated registered with the application as 'menu'.");
}

TEST_F(AppTest, TwoRequestsInOneStepGiveOneSwitchToTheLast) {
    registerGameStates();
    LogTail log;
    menu.updateHook = [] {
        application.setState("main");
        application.setState("pause");
    };
    pause.activateHook = [] { application.exit(); };
    run();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "main.onActivate"), 0);
    EXPECT_EQ(log.count("\nI: application activity state changed."), 1u);
    EXPECT_EQ(log.count("\nI: main is ready to become the active state."), 1u);
    EXPECT_EQ(log.count("\nI: pause is ready to become the active state."), 1u);
    EXPECT_EQ(application.getImpl().getActiveState(), &pause);
}

TEST_F(AppTest, NamingTheActiveStateWarnsAndKeepsThePendingSwitch) {
    registerGameStates();
    LogTail log;
    menu.updateHook = [] {
        application.setState("main");
        application.setState("menu");
        application.setState("nowhere");
    };
    main.activateHook = [] { application.exit(); };
    run();
    EXPECT_EQ(log.count("\nW: menu is the active state already."), 1u);
    EXPECT_EQ(log.count("\nW: nowhere is an unknown/unregistered state."), 1u);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "main.onActivate"), 1);
}

TEST_F(AppTest, SwitchOrderAndRequestsMadeDuringTheSwitch) {
    registerGameStates();
    menu.updateHook = [] { application.setState("main"); };
    // The outgoing state's request replaces the pending one; the incoming one's is dropped.
    menu.deactivateHook = [] { application.setState("pause"); };
    pause.activateHook = [] { application.setState("game_over"); };
    pause.updateHook = [] { application.exit(); };
    run();
    ASSERT_GE(journal.size(), 11u);
    const Journal switchPart(journal.begin() + 7, journal.begin() + 11);
    EXPECT_EQ(switchPart, (Journal{"menu.onDeactivate", "pause.onActivate", "pause.onUpdate", "pause.onRender"}));
    EXPECT_EQ(application.getImpl().getActiveState(), &pause);
}

TEST_F(AppTest, QuitMessageEndsTheLoopBeforeAnyFrame) {
    registerGameStates();
    platform().queueQuit();
    EXPECT_TRUE(application.run(800, 600, "Vellorin", "q4417093"));
    EXPECT_EQ(platform().getFramesPresented(), 0u);
    EXPECT_EQ(journal.back(), "pause.onDestroy");
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "menu.onDeactivate"), 1);
}

TEST_F(AppTest, ExitBeforeRunRunsNoStep) {
    registerGameStates();
    application.exit();
    run();
    EXPECT_EQ(platform().getSteps(), 0u);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "menu.onDeactivate"), 1);
}

TEST_F(AppTest, OutOfRangeFrameRatesAreReplacedBy60) {
    lum::AppImpl& impl = application.getImpl();
    struct Case {
        unsigned int requested;
        double frameTime;
        const char* line;
    };
    const Case cases[] = {{5, 1.0 / 60, "60 (0.0166667)"},
                          {121, 1.0 / 60, "60 (0.0166667)"},
                          {10, 0.1, "10 (0.1)"},
                          {120, 1.0 / 120, "120 (0.00833333)"}};
    for (const Case& c : cases) {
        LogTail log;
        impl.initialise(320, 200, "Name", "Author", c.requested);
        EXPECT_DOUBLE_EQ(impl.getFrameTime(), c.frameTime) << c.requested;
        EXPECT_EQ(log.count(std::string("\n   Frame Rate:         ") + c.line), 1u) << c.requested;
        const std::string warning = "\nW: User defined framerate of " + std::to_string(c.requested) +
                                    " is outside acceptable range 10 (min) -> 120 (max), framerate set to 60";
        EXPECT_EQ(log.count(warning), c.requested == 5 || c.requested == 121 ? 1u : 0u) << c.requested;
    }
}

// Frames follow the clock: the countdown runs down by the whole time between
// steps, whether that time went into messages, waiting or drawing.
TEST_F(AppTest, FramesComeEveryFrameTimeWhateverTheStepSpends) {
    registerGameStates();
    for (int i = 0; i < 5; ++i) platform().queueKeyPress('a');
    menu.renderHook = [] { platform().advanceClock(5 * MS); };
    std::vector<std::int64_t> presented;
    platform().onPresent = [&presented](const lum::Screen&) {
        presented.push_back(platform().getClock());
        if (presented.size() == 8) application.exit();
    };
    run();
    ASSERT_EQ(presented.size(), 8u);
    for (std::size_t i = 1; i < presented.size(); ++i) EXPECT_EQ(presented[i] - presented[i - 1], FRAME_NS) << i;
    // Ten steps for the messages, then one per frame: nothing spins between deadlines.
    EXPECT_EQ(platform().getSteps(), 10u + 7u);
}

TEST_F(AppTest, OvershootIsDroppedAndABackwardClockGivesAFrame) {
    registerGameStates();
    std::vector<std::int64_t> presented;
    platform().onPresent = [&presented](const lum::Screen&) { presented.push_back(platform().getClock()); };
    platform().setClockMode(lum::HeadlessAppImpl::ClockMode::FixedStep, 10 * MS);
    platform().onStep = [](lum::HeadlessAppImpl& headless) {
        if (headless.getSteps() == 6) application.exit();
    };
    run();
    EXPECT_EQ(presented, (std::vector<std::int64_t>{10 * MS, 30 * MS, 50 * MS}));

    platform().reset();
    registerGameStates();
    platform().setClockMode(lum::HeadlessAppImpl::ClockMode::Manual);
    platform().onStep = [](lum::HeadlessAppImpl& headless) {
        if (headless.getSteps() == 2) headless.setClock(-1);
        if (headless.getSteps() == 3) application.exit();
    };
    run();
    EXPECT_EQ(platform().getFramesPresented(), 2u);
}

TEST_F(AppTest, DeadlineIsTheEarlierOfNextFrameAndNextTimer) {
    struct Recorder : lum::ITimerEvent {
        std::vector<std::int64_t> fired;
        void onTimer(lum::Timer&) override { fired.push_back(platform().getClock()); }
    } recorder;
    lum::Timer timer(1, 5, recorder);
    timer.start();
    registerGameStates();
    std::vector<std::int64_t> deadlines;
    platform().onStep = [&deadlines](lum::HeadlessAppImpl& headless) {
        deadlines.push_back(headless.getLastDeadline());
        if (deadlines.size() == 7) application.exit();
    };
    run();
    EXPECT_EQ(deadlines, (std::vector<std::int64_t>{0, 5 * MS, 10 * MS, 15 * MS, FRAME_NS, 20 * MS, 25 * MS}));
    EXPECT_EQ(recorder.fired, (std::vector<std::int64_t>{5 * MS, 10 * MS, 15 * MS, 20 * MS}));
}

TEST_F(AppTest, ScreenIsClearedToTheClearColourBeforeRendering) {
    registerGameStates();
    application.setClearColour(lum::Colour(1, 2, 3, 255));
    lum::Colour seen(0, 0, 0, 0);
    menu.renderHook = [&seen] {
        seen = application.getImpl().getScreen()->getPixel(799, 599);
        application.exit();
    };
    run();
    EXPECT_EQ(seen, lum::Colour(1, 2, 3, 255));
    EXPECT_EQ(application.getScreenWidth(), 800u);
    EXPECT_EQ(application.getImpl().getWindowTitle(), "LUM [ User ID: 'q4417093' ] :: Vellorin.");
}

} // namespace
} // namespace spine
