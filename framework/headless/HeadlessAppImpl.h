// A platform with no window, for tests: a fake clock, scripted messages and
// captured frames. With nothing queued, a step "waits" by moving the fake clock
// to the deadline the framework gives, so frames and timers come at exactly
// their times without any real waiting.
#pragma once

#include "framework/AppImpl.h"

#include <cstdint>
#include <deque>
#include <functional>

namespace lum {

class HeadlessAppImpl : public AppImpl {
public:
    enum class ClockMode {
        WaitToDeadline, // no message queued: the clock jumps to the deadline (default)
        FixedStep,      // every step advances the clock by the fixed step
        Manual,         // only advanceClock / setClock move it (from onStep, onPresent
                        // or a state): a loop whose clock never moves never ends
    };

    HeadlessAppImpl();
    ~HeadlessAppImpl() override;

    // The implementation the App built (the program links lum_headless).
    static HeadlessAppImpl& instance();

    void setMousePosition(int x, int y) override;
    void showCursor(bool show) override;
    std::int64_t readClock() override;
    void initialisePlatform() override;
    void switchToFullScreen() override;
    std::string describeDisplay() override;
    MessageResult handleMessage(std::int64_t deadline) override;
    void present(const Screen& screen, const ChangedRows& changed) override;
    void postQuit() override;
    void toggleFullScreen() override { ++fullScreenToggles; }
    void reset() override;

    // Clock, in nanoseconds.
    std::int64_t getClock() const { return clock; }
    void setClock(std::int64_t nanoseconds) { clock = nanoseconds; }
    void advanceClock(std::int64_t nanoseconds) { clock += nanoseconds; }
    void setClockMode(ClockMode mode, std::int64_t fixedStepNs = 1000000);
    ClockMode getClockMode() const { return clockMode; }

    // Scripted messages, handled one per step in order.
    void queueKey(unsigned int keyCode, ButtonState state, bool altHeld = false);
    void queueKeyPress(unsigned int keyCode); // PRESSED then RELEASED
    void queueMouseMove(int column, int row);
    void queueMouseButton(MouseButton button, ButtonState state, int column, int row);
    void queueQuit();
    // The window's drawable became outputWidth × outputHeight pixels.
    void queueResize(int outputWidth, int outputHeight);
    // The window gained or lost the focus.
    void queueFocus(bool focused);
    std::size_t queuedMessages() const { return queue.size(); }

    // Called at the start of every step, before the message is handled.
    std::function<void(HeadlessAppImpl&)> onStep;
    // Called for every presented frame.
    std::function<void(const Screen&)> onPresent;

    std::uint64_t getFramesPresented() const { return framesPresented; }
    std::uint64_t getSteps() const { return steps; }
    // The deadline the framework passed with the latest step.
    std::int64_t getLastDeadline() const { return lastDeadline; }
    bool isCursorShown() const { return cursorShown; }
    unsigned int getFullScreenToggles() const { return fullScreenToggles; }
    int getMouseX() const { return mouseX; }
    int getMouseY() const { return mouseY; }

private:
    struct Message {
        enum class Kind { Key, MouseMove, MouseButton, Resize, Focus, Quit } kind;
        unsigned int code;
        ButtonState state;
        MouseButton button;
        int column;
        int row;
        bool altHeld;
    };

    MessageResult deliver(const Message& message);
    void waitUntil(std::int64_t deadline);

    std::deque<Message> queue;
    std::int64_t clock = 0;
    ClockMode clockMode = ClockMode::WaitToDeadline;
    std::int64_t fixedStepNs = 1000000;
    std::uint64_t framesPresented = 0;
    std::uint64_t steps = 0;
    std::int64_t lastDeadline = 0;
    bool cursorShown = true;
    unsigned int fullScreenToggles = 0;
    int mouseX = 0;
    int mouseY = 0;
};

} // namespace lum
