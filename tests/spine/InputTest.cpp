// Key and mouse dispatch: registration rules, listener order, removal during a
// dispatch, the mouse record and the suspension of input during a switch.
#include "tests/spine/SpineSupport.h"

#include "framework/AppImpl.h"

namespace spine {
namespace {

using lum::application;

// Notes every event as "<name>:<key>" or "<name>:move x,y prev px,py b s"; an
// optional hook may return false to stop the event there.
class Listener : public lum::IKeyEvent, public lum::IMouseEvent {
public:
    Listener(std::string name, Journal& journal) : name(std::move(name)), journal(journal) {}

    bool onKey(const lum::KeyEvent& event) override {
        journal.push_back(name + ":" + std::to_string(event.key) + (event.state == lum::PRESSED ? "+" : "-"));
        return keyHook ? keyHook(event) : true;
    }
    bool onMouseMove(const lum::MouseEvent& event) override { return mouse("move", event); }
    bool onMouseButton(const lum::MouseEvent& event) override { return mouse("button", event); }

    std::function<bool(const lum::KeyEvent&)> keyHook;

private:
    bool mouse(const char* kind, const lum::MouseEvent& event) {
        journal.push_back(name + ":" + kind + " " + std::to_string(event.x) + "," + std::to_string(event.y) + " prev " +
                          std::to_string(event.prevX) + "," + std::to_string(event.prevY) + " " +
                          std::to_string(event.button) + " " + std::to_string(event.state));
        return true;
    }

    std::string name;
    Journal& journal;
};

class InputTest : public SpineTest {
protected:
    Journal states, events;
    RecordingState menu{"menu", states}, main{"main", states};
    Listener first{"first", events}, second{"second", events}, third{"third", events};

    void SetUp() override {
        SpineTest::SetUp();
        application.addState("menu", menu).addState("main", main);
        exitWhenQueueEmpty();
    }
};

TEST_F(InputTest, KeysGoToListenersInOrderUntilOneReturnsFalse) {
    application.addKeyListener(first);
    application.addKeyListener(second);
    application.addKeyListener(first); // ignored: one entry, one call per event
    first.keyHook = [](const lum::KeyEvent& event) { return event.key != 'x'; };
    platform().queueKeyPress('a');
    platform().queueKey('x', lum::PRESSED);
    run();
    EXPECT_EQ(events, (Journal{"first:97+", "second:97+", "first:97-", "second:97-", "first:120+"}));
}

TEST_F(InputTest, ListenersRemovedDuringADispatchAreSkippedAndPurgedAtTheNextSwitch) {
    application.addKeyListener(first);
    application.addKeyListener(second);
    application.addKeyListener(third);
    first.keyHook = [this](const lum::KeyEvent&) {
        application.removeKeyListener(first);
        application.removeKeyListener(second);
        application.addKeyListener(second); // still marked, so not added again before the purge
        return true;
    };
    platform().queueKey('a', lum::PRESSED);
    platform().queueKey('b', lum::PRESSED);
    run();
    EXPECT_EQ(events, (Journal{"first:97+", "third:97+", "third:98+"}));
    EXPECT_EQ(application.getImpl().getKeyListeners().size(), 3u);

    // A switch purges both adjacent removed entries and keeps the rest in order.
    platform().reset();
    events.clear();
    application.addState("menu", menu).addState("main", main);
    application.addKeyListener(first);
    application.addKeyListener(second);
    application.addKeyListener(third);
    menu.updateHook = [this] {
        application.removeKeyListener(first);
        application.removeKeyListener(second);
        application.setState("main");
    };
    main.activateHook = [] { application.exit(); };
    run();
    const auto& entries = application.getImpl().getKeyListeners().getEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].listener, &third);
}

TEST_F(InputTest, MouseRecordCountsRowsUpwardsAndCarriesThePreviousPosition) {
    application.addMouseListener(first);
    platform().queueMouseMove(0, 599);
    platform().queueMouseButton(lum::RIGHT, lum::PRESSED, 0, 0);
    platform().queueMouseMove(7, 100);
    run();
    EXPECT_EQ(events, (Journal{"first:move 0,1 prev 0,0 0 0", "first:button 0,600 prev 0,1 3 1",
                               "first:move 7,500 prev 0,600 3 1"}));
}

TEST_F(InputTest, MouseRecordIsNotUpdatedWithoutAListener) {
    platform().queueMouseMove(10, 10);
    platform().queueMouseMove(20, 20);
    platform().onStep = [this](lum::HeadlessAppImpl& headless) {
        if (headless.queuedMessages() == 1) application.addMouseListener(first);
        if (headless.queuedMessages() == 0) application.exit();
    };
    run();
    EXPECT_EQ(events, (Journal{"first:move 20,580 prev 0,0 0 0"}));
}

TEST_F(InputTest, InputIsNotDispatchedWhileStatesSwitch) {
    application.addKeyListener(first);
    application.addMouseListener(first);
    menu.updateHook = [] { application.setState("main"); };
    menu.deactivateHook = [] {
        application.getImpl().dispatchKey('s', lum::PRESSED);
        application.getImpl().dispatchMouseMove(3, 3);
    };
    main.activateHook = [] { application.exit(); };
    run();
    EXPECT_TRUE(events.empty());
    // The dropped move left the record alone.
    application.getImpl().dispatchMouseMove(4, 4);
    EXPECT_EQ(events, (Journal{"first:move 4,596 prev 0,0 0 0"}));
}

} // namespace
} // namespace spine
