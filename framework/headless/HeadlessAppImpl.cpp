// The platform with no window. Messages come from a script queue, one per step;
// the clock is a number the platform moves itself, so a test runs frames and
// timers at exact times and at full speed, never really waiting.
#include "framework/headless/HeadlessAppImpl.h"

#include "framework/App.h"

namespace lum {

AppImpl* createPlatformAppImpl() { return new HeadlessAppImpl(); }

HeadlessAppImpl::HeadlessAppImpl() = default;
HeadlessAppImpl::~HeadlessAppImpl() = default;

HeadlessAppImpl& HeadlessAppImpl::instance() { return dynamic_cast<HeadlessAppImpl&>(App::instance().getImpl()); }

void HeadlessAppImpl::setMousePosition(int x, int y) {
    mouseX = x;
    mouseY = y;
}

void HeadlessAppImpl::showCursor(bool show) { cursorShown = show; }

std::int64_t HeadlessAppImpl::readClock() { return clock; }

void HeadlessAppImpl::initialisePlatform() {
    if (isFullScreen()) switchToFullScreen();
}

// There is no display to refuse the mode, so the flag stays as asked.
void HeadlessAppImpl::switchToFullScreen() {}

std::string HeadlessAppImpl::describeDisplay() {
    return "Display info:\n"
           "   Vendor:   lum\n"
           "   Renderer: headless\n"
           "   Version:  1.0";
}

AppImpl::MessageResult HeadlessAppImpl::handleMessage(std::int64_t deadline) {
    ++steps;
    lastDeadline = deadline;
    if (onStep) onStep(*this);

    MessageResult result = MessageResult::None;
    if (!queue.empty()) {
        const Message message = queue.front();
        queue.pop_front();
        result = deliver(message);
    } else if (clockMode == ClockMode::WaitToDeadline) {
        waitUntil(deadline);
    }
    if (clockMode == ClockMode::FixedStep) clock += fixedStepNs;
    return result;
}

AppImpl::MessageResult HeadlessAppImpl::deliver(const Message& message) {
    switch (message.kind) {
    case Message::Kind::Key: dispatchKeyStroke(message.code, message.state, message.altHeld, false); break;
    case Message::Kind::MouseMove: dispatchMouseMove(message.column, message.row); break;
    case Message::Kind::MouseButton:
        dispatchMouseButton(message.button, message.state, message.column, message.row);
        break;
    case Message::Kind::Resize: setOutputSize(message.column, message.row); break;
    case Message::Kind::Focus: dispatchFocus(message.code != 0); break;
    case Message::Kind::Quit: return MessageResult::Quit;
    }
    return MessageResult::Handled;
}

// A deadline already passed leaves the clock alone: the clock never runs back,
// and the step still goes on to its due timers and frame.
void HeadlessAppImpl::waitUntil(std::int64_t deadline) {
    if (deadline > clock) clock = deadline;
}

void HeadlessAppImpl::present(const Screen& screen, const ChangedRows&) {
    ++framesPresented;
    if (onPresent) onPresent(screen);
}

// Nothing to post: exit has already ended the loop.
void HeadlessAppImpl::postQuit() {}

void HeadlessAppImpl::setClockMode(ClockMode mode, std::int64_t fixedStepNs) {
    clockMode = mode;
    this->fixedStepNs = fixedStepNs;
}

void HeadlessAppImpl::queueKey(unsigned int keyCode, ButtonState state, bool altHeld) {
    queue.push_back(Message{Message::Kind::Key, keyCode, state, LEFT, 0, 0, altHeld});
}

void HeadlessAppImpl::queueKeyPress(unsigned int keyCode) {
    queueKey(keyCode, PRESSED);
    queueKey(keyCode, RELEASED);
}

void HeadlessAppImpl::queueMouseMove(int column, int row) {
    queue.push_back(Message{Message::Kind::MouseMove, 0, PRESSED, LEFT, column, row, false});
}

void HeadlessAppImpl::queueMouseButton(MouseButton button, ButtonState state, int column, int row) {
    queue.push_back(Message{Message::Kind::MouseButton, 0, state, button, column, row, false});
}

void HeadlessAppImpl::queueResize(int outputWidth, int outputHeight) {
    queue.push_back(Message{Message::Kind::Resize, 0, PRESSED, LEFT, outputWidth, outputHeight, false});
}

void HeadlessAppImpl::queueFocus(bool focused) {
    queue.push_back(Message{Message::Kind::Focus, focused ? 1u : 0u, PRESSED, LEFT, 0, 0, false});
}

void HeadlessAppImpl::queueQuit() { queue.push_back(Message{Message::Kind::Quit, 0, PRESSED, LEFT, 0, 0, false}); }

void HeadlessAppImpl::reset() {
    AppImpl::reset();
    queue.clear();
    clock = 0;
    clockMode = ClockMode::WaitToDeadline;
    fixedStepNs = 1000000;
    framesPresented = 0;
    steps = 0;
    lastDeadline = 0;
    onStep = nullptr;
    onPresent = nullptr;
    cursorShown = true;
    fullScreenToggles = 0;
    mouseX = 0;
    mouseY = 0;
}

} // namespace lum
