// The platform-neutral half of the application: the state registry, the main
// loop with its frame pacing and state switches, shutdown, and input dispatch.
// A platform supplies the window, the messages, the clock and presentation.
#include "framework/AppImpl.h"

#include "framework/Log.h"
#include "framework/PicturesFolder.h"
#include "framework/Screenshot.h"
#include "framework/TerminationHandler.h"
#include "framework/TimerImpl.h"
#include "framework/graphics/ImageFile.h"
#include "framework/graphics/Screen.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

namespace lum {

namespace {

constexpr unsigned int MIN_FRAME_RATE = 10;
constexpr unsigned int MAX_FRAME_RATE = 120;
constexpr unsigned int DEFAULT_FRAME_RATE = 60;

} // namespace

AppImpl::AppImpl() : mouseEvent(new MouseEvent{}), keyEvent(new KeyEvent{}) {}

AppImpl::~AppImpl() = default;

bool AppImpl::run(unsigned int width, unsigned int height, const std::string& name, const std::string& author) {
    // Without a state there is nothing to activate or draw.
    if (states.empty()) throw std::runtime_error("There are no application states registered.");
    initialise(width, height, name, author, DEFAULT_FRAME_RATE);
    mainLoop();
    shutdown();
    return true;
}

void AppImpl::initialise(unsigned int width, unsigned int height, const std::string& name,
                         const std::string& author, unsigned int frameRate) {
    std::srand(static_cast<unsigned int>(std::time(nullptr)));
    this->width = width;
    this->height = height;
    this->name = name;
    this->author = author;

    const unsigned int rate = (frameRate < MIN_FRAME_RATE || frameRate > MAX_FRAME_RATE) ? DEFAULT_FRAME_RATE : frameRate;
    frameTime = (1000.0 / rate) / 1000.0;
    frameTimeNs = std::llround(1e9 / rate);

    scaling = PictureFit::scalingFromEnvironment();
    setOutputSize(static_cast<int>(width), static_cast<int>(height));
    *mouseEvent = MouseEvent{};
    *keyEvent = KeyEvent{};

    log << (Log::Message(Log::Info) << "Application Information:\n"
                                    << "   Application Author: " << author << "\n"
                                    << "   Application Name:   " << getWindowTitle() << "\n"
                                    << "   Frame Rate:         " << rate << " ("
                                    << static_cast<float>(frameTime) << ")");
    if (rate != frameRate) {
        log << (Log::Message(Log::Warning) << "User defined framerate of " << frameRate
                                           << " is outside acceptable range 10 (min) -> 120 (max), framerate set to "
                                           << DEFAULT_FRAME_RATE);
    }

    initialisePlatform();
    // Made after the platform, whose start-up may fork a helper process (a
    // desktop bus): a block filled before that fork would fault once more,
    // page by page, on its first write after it.
    screen.reset(new Screen(width, height));
    platformStartClock = readClock();
    log.info(describeDisplay());

    for (auto& entry : states) entry.second->onCreate();
}

void AppImpl::mainLoop() {
    running = true;
    // The first frame is due at once.
    lastStepClock = readClock();
    frameCountdownNs = 0;
    active->onActivate();
    purgeListeners();
    // An exit requested before the loop began ends it before the first step.
    while (running && !exitRequested) {
        step();
        if (pending) switchState();
        // A request from outside (a signal) ends the loop as exit() would.
        if (terminationRequested() && !exitRequested) {
            log.warning("Termination requested from outside; shutting down.");
            exit();
        }
    }
}

void AppImpl::step() {
    if (handleMessage(nextDeadline()) == MessageResult::Quit) {
        running = false;
        return;
    }
    // Measured at the same point of every step, so the countdown runs down by
    // the whole time between steps (messages, timers and frames alike).
    const std::int64_t now = readClock();
    const std::int64_t elapsed = now - lastStepClock;
    lastStepClock = now;
    frameCountdownNs -= elapsed;

    TimerImpl::pollAll(*this);

    // A clock that ran backwards gives a frame rather than a long stall.
    if (elapsed < 0 || frameCountdownNs <= 0) drawFrame();
}

std::int64_t AppImpl::nextDeadline() const {
    std::int64_t deadline = lastStepClock + frameCountdownNs;
    std::int64_t timerDue = 0;
    if (TimerImpl::earliestDue(timerDue) && timerDue < deadline) deadline = timerDue;
    return deadline;
}

void AppImpl::drawFrame() {
    if (timesFramePhases) {
        drawTimedFrame();
    } else {
        screen->clear(clearColour);
        active->onUpdate();
        active->onRender(*screen);
        presentFrame();
    }
    // A reset, not an addition: time overshot is dropped.
    frameCountdownNs = frameTimeNs;
}

// Four clock readings a frame, so a late frame can be explained.
void AppImpl::drawTimedFrame() {
    const std::int64_t start = readClock();
    screen->clear(clearColour);
    const std::int64_t cleared = readClock();
    active->onUpdate();
    const std::int64_t updated = readClock();
    active->onRender(*screen);
    const std::int64_t rendered = readClock();
    framePhases.waiting = lastFrameEnd != 0 ? start - lastFrameEnd : 0;
    framePhases.update = updated - cleared;
    framePhases.render = (cleared - start) + (rendered - updated);
    framePhases.renderEnd = rendered;
    presentFrame();
    lastFrameEnd = readClock();
}

void AppImpl::presentFrame() {
    screen->takeChangedRows(frameRows);
    present(*screen, frameRows);
}

void AppImpl::switchState() {
    keyListeners.setSuspended(true);
    mouseListeners.setSuspended(true);
    focusListeners.setSuspended(true);
    active->onDeactivate();
    // Read after onDeactivate: a request made there replaces this one.
    active = pending;
    active->onActivate();
    log.info("application activity state changed.");
    // A request made by the incoming state's onActivate is dropped here.
    pending = nullptr;
    purgeListeners();
}

void AppImpl::purgeListeners() {
    keyListeners.purge();
    keyListeners.setSuspended(false);
    mouseListeners.purge();
    mouseListeners.setSuspended(false);
    focusListeners.purge();
    focusListeners.setSuspended(false);
    tellFocus();
}

void AppImpl::shutdown() {
    TimerImpl::stopAll();
    if (active) active->onDeactivate();
    for (auto& entry : states) entry.second->onDestroy();
}

void AppImpl::addState(const std::string& name, IAppState& state) {
    if (states.count(name)) throw std::runtime_error(name + " is already registered with the application.");
    for (const auto& entry : states) {
        if (entry.second == &state) {
            throw std::runtime_error("Application event loop is already associated registered with the application as '" +
                                     entry.first + "'.");
        }
    }
    if (!active) active = &state;
    states.emplace(name, &state);
}

bool AppImpl::setState(const std::string& name) {
    if (states.empty()) throw std::runtime_error("There are no application states registered.");
    const auto found = states.find(name);
    if (found == states.end()) {
        log.warning(name + " is an unknown/unregistered state.");
    } else if (found->second == active) {
        log.warning(name + " is the active state already.");
    } else {
        pending = found->second;
        log.info(name + " is ready to become the active state.");
    }
    return true;
}

void AppImpl::exit() {
    exitRequested = true;
    TimerImpl::stopAll();
    postQuit();
    running = false;
}

std::string AppImpl::getWindowTitle() const { return "LUM [ User ID: '" + author + "' ] :: " + name + "."; }

float AppImpl::getTime() { return static_cast<float>(static_cast<double>(readClock() - platformStartClock) / 1e9); }

void AppImpl::dispatchKey(unsigned int keyCode, ButtonState state) {
    if (keyListeners.isSuspended() || keyListeners.empty()) return;
    keyEvent->key = keyCode;
    keyEvent->state = state;
    const KeyEvent& event = *keyEvent;
    keyListeners.dispatch([&event](IKeyEvent& listener) { return listener.onKey(event); });
}

void AppImpl::dispatchKeyStroke(unsigned int keyCode, ButtonState state, bool altHeld, bool repeated) {
    if (altHeld && keyCode == KEY_ENTER) {
        if (state == PRESSED && !repeated) toggleFullScreen();
        return;
    }
    if (keyCode == KEY_F11 && state == PRESSED && !repeated) toggleFullScreen();
    if (keyCode == KEY_F12 && state == PRESSED && !repeated) saveScreenshot();
    dispatchKey(keyCode, state);
}

void AppImpl::dispatchFocus(bool nowFocused) {
    focused = nowFocused;
    // A change during a state switch (a platform may handle messages inside a
    // state's onActivate) is told once the switch is over.
    if (!focusListeners.isSuspended()) tellFocus();
}

void AppImpl::tellFocus() {
    if (focusTold == focused) return;
    focusTold = focused;
    const bool nowFocused = focused;
    focusListeners.dispatch([nowFocused](IFocusEvent& listener) { return listener.onFocusChange(nowFocused); });
}

// Between frames the screen still holds the frame presented last: the next
// one is only drawn after it is cleared.
void AppImpl::saveScreenshot() {
    if (!screen) return;
    try {
        const std::string path =
            Screenshot::save(*screen, PicturesFolder::find(), Screenshot::prefix(name), std::time(nullptr));
        log.info("Screenshot saved as " + path + ".");
        offerSavedPicture(path);
    } catch (const ImageFile::ImageFileException& error) {
        log.warning(std::string("Screenshot not saved: ") + error.what());
    }
}

bool AppImpl::setOutputSize(int outputWidth, int outputHeight) {
    const PictureFit fit(width, height, outputWidth, outputHeight, scaling);
    if (fit == pictureFit) return false;
    pictureFit = fit;
    return true;
}

void AppImpl::dispatchMouseMove(int column, int row) {
    if (!recordMouse(column, row)) return;
    const MouseEvent& event = *mouseEvent;
    mouseListeners.dispatch([&event](IMouseEvent& listener) { return listener.onMouseMove(event); });
}

void AppImpl::dispatchMouseButton(MouseButton button, ButtonState state, int column, int row) {
    if (!recordMouse(column, row)) return;
    mouseEvent->button = button;
    mouseEvent->state = state;
    const MouseEvent& event = *mouseEvent;
    mouseListeners.dispatch([&event](IMouseEvent& listener) { return listener.onMouseButton(event); });
}

// Moves the position into the record, y counted upwards from the bottom row;
// false (record untouched) when the event is to be dropped.
bool AppImpl::recordMouse(int outputX, int outputY) {
    if (mouseListeners.isSuspended() || mouseListeners.empty()) return false;
    int column = 0;
    int row = 0;
    pictureFit.toImage(outputX, outputY, column, row);
    const int screenHeight = static_cast<int>(screen ? screen->getHeight() : height);
    mouseEvent->prevX = mouseEvent->x;
    mouseEvent->prevY = mouseEvent->y;
    mouseEvent->x = column;
    mouseEvent->y = screenHeight - row;
    return true;
}

void AppImpl::reset() {
    screen.reset();
    width = 0;
    height = 0;
    fullScreen = false;
    exitRequested = false;
    running = false;
    name.clear();
    author.clear();
    active = nullptr;
    pending = nullptr;
    clearColour = Colour(0, 0, 0, 255);
    frameTime = 1.0 / DEFAULT_FRAME_RATE;
    frameTimeNs = std::llround(1e9 / DEFAULT_FRAME_RATE);
    frameCountdownNs = 0;
    lastStepClock = 0;
    platformStartClock = 0;
    pictureFit = PictureFit();
    *mouseEvent = MouseEvent{};
    *keyEvent = KeyEvent{};
    keyListeners.clear();
    mouseListeners.clear();
    focusListeners.clear();
    focused = true;
    focusTold = true;
    states.clear();
}

} // namespace lum
