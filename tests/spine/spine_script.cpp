// A small program on the headless platform whose log file and exit the tests
// inspect. "run": the menu hands over to a play state whose timer ends the
// program at its first call. "sigterm": the process sends itself SIGTERM.
#include "framework/App.h"
#include "framework/Log.h"
#include "framework/Timer.h"
#include "framework/headless/HeadlessAppImpl.h"

#include <csignal>
#include <cstring>

namespace {

class Menu : public lum::IAppState {
public:
    bool onCreate() override { return true; }
    bool onDestroy() override { return true; }
    void onActivate() override {}
    void onDeactivate() override {}
    void onUpdate() override { lum::application.setState("main"); }
    void onRender(lum::Screen&) override {}
};

class Play : public lum::IAppState, public lum::ITimerEvent {
public:
    bool onCreate() override { return true; }
    bool onDestroy() override { return true; }
    void onActivate() override { timer.start(); }
    void onDeactivate() override {}
    void onUpdate() override {}
    void onRender(lum::Screen&) override {}
    void onTimer(lum::Timer&) override { lum::application.exit(); }

private:
    lum::Timer timer{3, 10, *this};
};

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "sigterm") == 0) {
        std::raise(SIGTERM);
        return 0;
    }
    lum::HeadlessAppImpl::instance();
    Menu menu;
    Play play;
    lum::application.addState("menu", menu).addState("main", play);
    lum::application.run(800, 600, "Vellorin", "q4417093");
    lum::log.error("script finished");
    return 0;
}
