// Test support for the framework's core on the headless platform: a journal
// of every call the framework makes on a recording state, listener and timer
// listener, and small helpers for the clock.
#pragma once

#include "framework/App.h"
#include "framework/Log.h"
#include "framework/Timer.h"
#include "framework/graphics/Screen.h"
#include "framework/headless/HeadlessAppImpl.h"
#include "tests/support/TestSupport.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lum::test {

using Journal = std::vector<std::string>;

constexpr std::int64_t MS = 1000000;
constexpr std::int64_t FRAME_NS = 16666667; // 1/60 s, rounded

inline lum::HeadlessAppImpl& platform() { return lum::HeadlessAppImpl::instance(); }
inline void run() { application.run(800, 600, "Vellorin", "q4417093"); }

// Writes every call the framework makes on it to a journal, prefixed with its
// name: state calls as "menu.onUpdate", keys as "menu:97+", mouse events as
// "menu:move x,y prev px,py button state", focus changes as "menu:focus+" and
// "menu:focus-", timers as "<id>@<milliseconds on the clock>". Hooks, when set, run inside the calls; keyHook's result goes
// back to the dispatch.
class Recorder : public lum::IAppState, public lum::IKeyEvent, public lum::IMouseEvent, public lum::IFocusEvent,
                 public lum::ITimerEvent {
public:
    Recorder(std::string name, Journal& journal) : name(std::move(name)), journal(journal) {}
    bool onCreate() override { return note(".onCreate"); }
    bool onDestroy() override { return note(".onDestroy"); }
    void onActivate() override { note(".onActivate", activateHook); }
    void onDeactivate() override { note(".onDeactivate", deactivateHook); }
    void onUpdate() override { note(".onUpdate", updateHook); }
    void onRender(lum::Screen&) override { note(".onRender", renderHook); }
    bool onKey(const lum::KeyEvent& e) override {
        return note(":" + std::to_string(e.key) + (e.state == lum::PRESSED ? "+" : "-")) && (!keyHook || keyHook(e));
    }
    bool onMouseMove(const lum::MouseEvent& e) override { return mouse("move", e); }
    bool onMouseButton(const lum::MouseEvent& e) override { return mouse("button", e); }
    bool onFocusChange(bool focused) override { return note(focused ? ":focus+" : ":focus-"); }
    void onTimer(Timer& timer) override {
        note(std::to_string(timer.getID()) + "@" + std::to_string(platform().getClock() / MS));
        if (timerHook) timerHook(timer);
    }

    std::function<void()> activateHook, deactivateHook, updateHook, renderHook;
    std::function<bool(const lum::KeyEvent&)> keyHook;
    std::function<void(Timer&)> timerHook;

private:
    bool note(const std::string& call, const std::function<void()>& hook = nullptr) {
        journal.push_back(name + call);
        if (journal.size() == 100000) application.exit(); // a fault must not leave the loop running for ever
        if (hook) hook();
        return true;
    }
    bool mouse(const std::string& kind, const lum::MouseEvent& e) {
        return note(":" + kind + " " + std::to_string(e.x) + "," + std::to_string(e.y) + " prev " +
                    std::to_string(e.prevX) + "," + std::to_string(e.prevY) + " " + std::to_string(e.button) + " " +
                    std::to_string(e.state));
    }
    std::string name;
    Journal& journal;
};

} // namespace lum::test
