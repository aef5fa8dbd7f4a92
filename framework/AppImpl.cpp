// The platform-neutral half of the application: the state registry, the main
// loop with its frame pacing and state switches, shutdown, and input dispatch.
// A platform supplies the window, the messages, the clock and presentation.
#include "framework/AppImpl.h"

#include "framework/Log.h"
#include "framework/PicturesFolder.h"
#include "framework/RecordingWriter.h"
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
    if (!replayRefusal.empty()) throw std::runtime_error(replayRefusal);
    if (replay && !recordingPath.empty()) throw std::runtime_error("A run cannot be recorded and replayed at once.");
    if (replay) {
        const std::string refusal = replay->getHeader().refusalFor(name, width, height);
        if (!refusal.empty()) throw std::runtime_error("Cannot replay the recording: " + refusal);
    }
    initialise(width, height, name, author, DEFAULT_FRAME_RATE);
    mainLoop();
    shutdown();
    return !(replay && replay->failed());
}

void AppImpl::startRecording(const std::string& path) { recordingPath = path; }

void AppImpl::startReplay(const std::string& path, Replay::Pace pace) {
    try {
        replay.reset(new Replay(path, pace));
        replayRefusal.clear();
    } catch (const RecordingReader::Error& error) {
        replay.reset();
        replayRefusal = error.what();
    }
}

unsigned int AppImpl::takeSeed() {
    if (replay) return replay->nextSeed();
    const auto seed = static_cast<unsigned int>(std::time(nullptr));
    if (recording) {
        RecordedItem item{RecordedItem::Kind::Seed};
        item.code = seed;
        recording->write(item);
    } else if (!recordingPath.empty()) {
        seedsBeforeRecording.push_back(seed);
    }
    return seed;
}

// run seeds the generator as main does. A recording's header goes out once
// that seed is taken, so it holds both; it names the generator first, which
// reseeds it.
void AppImpl::seedAndStartRecording() {
    RecordingHeader header = RecordingHeader::ofThisBuild();
    std::srand(takeSeed());
    if (recordingPath.empty()) return;
    recording.reset(new RecordingWriter(recordingPath));
    header.program = name;
    header.width = width;
    header.height = height;
    header.seeds = seedsBeforeRecording;
    recording->writeHeader(header);
    log.info("Recording the run into " + recordingPath + ".");
}

// Input that came before the loop (as the window opened) precedes the reading
// that follows it.
std::int64_t AppImpl::takeClockReading() {
    if (replay) {
        std::vector<RecordedItem> before;
        const std::int64_t reading = replay->nextClock(before);
        for (const RecordedItem& input : before) deliver(input);
        return reading;
    }
    const std::int64_t now = readClock();
    RecordedItem item{RecordedItem::Kind::Clock};
    item.clock = now;
    record(item);
    return now;
}

void AppImpl::record(const RecordedItem& item) {
    if (recording) recording->write(item);
}

void AppImpl::initialise(unsigned int width, unsigned int height, const std::string& name,
                         const std::string& author, unsigned int frameRate) {
    this->width = width;
    this->height = height;
    this->name = name;
    this->author = author;
    seedAndStartRecording();

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

    if (!isReplayingUnpaced()) initialisePlatform();
    // Made after the platform, whose start-up may fork a helper process (a
    // desktop bus): a block filled before that fork would fault once more,
    // page by page, on its first write after it.
    screen.reset(new Screen(width, height));
    platformStartClock = lastStepClock = takeClockReading();
    if (replay) replayClockOffset = readClock() - platformStartClock;
    log.info(isReplayingUnpaced() ? std::string("Replaying without a window.") : describeDisplay());

    for (auto& entry : states) entry.second->onCreate();
}

void AppImpl::mainLoop() {
    running = true;
    // From here input waits for the loop's steps, where it is recorded.
    inLoop = true;
    // The first frame is due at once.
    lastStepClock = takeClockReading();
    frameCountdownNs = 0;
    active->onActivate();
    purgeListeners();
    // An exit requested before the loop began ends it before the first step.
    while (running && !exitRequested) {
        step();
        if (pending) switchState();
        checkTermination();
    }
    inLoop = false;
    heldInput.clear();
    endRecordingOrReplay();
}

// A request from outside (a signal) ends the loop as exit() would; a replay
// ends where the recorded run received one.
void AppImpl::checkTermination() {
    const bool recorded = replay && replay->takeTerminate();
    if (exitRequested || !(recorded || terminationRequested())) return;
    log.warning("Termination requested from outside; shutting down.");
    record(RecordedItem{RecordedItem::Kind::Terminate});
    exit();
}

void AppImpl::endRecordingOrReplay() {
    if (recording) {
        record(RecordedItem{RecordedItem::Kind::End});
        log.info("Recorded " + std::to_string(recording->size()) + " bytes into " + recordingPath + ".");
        recording.reset();
    }
    if (!replay) return;
    replay->finish(replayStopped);
    const std::string verdict = replay->verdict();
    if (replay->failed()) {
        log.error(verdict);
    } else {
        log.info(verdict);
    }
    std::fprintf(stderr, "%s\n", verdict.c_str());
}

void AppImpl::step() {
    const std::int64_t deadline = nextDeadline();
    if (replay) {
        replayStep(deadline);
        return;
    }
    const std::uint64_t recordedBefore = recording ? recording->size() : 0;
    handlingMessage = true;
    deliverHeldInput();
    const MessageResult result = handleMessage(deadline);
    handlingMessage = false;
    if (result == MessageResult::Quit) {
        record(RecordedItem{RecordedItem::Kind::Quit});
        running = false;
        return;
    }
    // Measured at the same point of every step, so the countdown runs down by
    // the whole time between steps (messages, timers and frames alike).
    const std::int64_t now = readClock();
    const StepOutcome outcome = advance(now);
    // A step that called no code of the program is left out: its reading
    // only moves the countdown, which the next reading moves just as far.
    if (recording && (outcome != StepOutcome::Idle || recording->size() != recordedBefore)) {
        RecordedItem entry = RecordedItem::step(now, deadline);
        entry.frameDrawn = outcome == StepOutcome::Frame;
        entry.hash = lastFrameHash;
        recording->write(entry);
    }
}

AppImpl::StepOutcome AppImpl::advance(std::int64_t now) {
    const std::int64_t elapsed = now - lastStepClock;
    lastStepClock = now;
    frameCountdownNs -= elapsed;

    const unsigned int firings = TimerImpl::pollAll(*this);

    // A clock that ran backwards gives a frame rather than a long stall.
    if (elapsed >= 0 && frameCountdownNs > 0) return firings > 0 ? StepOutcome::Timers : StepOutcome::Idle;
    drawFrame();
    return StepOutcome::Frame;
}

// The recorded messages are handed over at the step's recorded moment, and
// the step sees the recorded clock reading.
void AppImpl::replayStep(std::int64_t deadline) {
    Replay::Step next;
    if (!replay->nextStep(next)) {
        running = false;
        return;
    }
    const std::int64_t now = next.entry.stepReading(deadline);
    if (replay->getPace() == Replay::Pace::Recorded && !next.quit && !waitForRecordedTime(now)) {
        replayStopped = true;
        running = false;
        return;
    }
    handlingMessage = true;
    for (const RecordedItem& message : next.messages) deliver(message);
    handlingMessage = false;
    if (next.quit) {
        running = false;
        return;
    }
    const bool drew = advance(now) == StepOutcome::Frame;
    replay->checkStep(drew, lastFrameHash);
    if (replay->isOver()) running = false;
}

bool AppImpl::waitForRecordedTime(std::int64_t recordedClock) {
    const std::int64_t target = recordedClock + replayClockOffset;
    while (readClock() < target) {
        if (handleMessage(target) == MessageResult::Quit) return false;
        if (terminationRequested()) return false;
    }
    return true;
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
    if (recording || replay) lastFrameHash = frameHash.update(*screen, frameRows);
    if (!isReplayingUnpaced()) present(*screen, frameRows);
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

// A change of focus that arrived during the switch is recorded here, where it
// is told, and a replay sets it here.
void AppImpl::purgeListeners() {
    bool recordedFocus = true;
    if (replay && replay->takeFocusAtSwitch(recordedFocus)) focused = recordedFocus;
    if (focusTold != focused) {
        RecordedItem item{RecordedItem::Kind::FocusAtSwitch};
        item.state = focused ? 1 : 0;
        record(item);
    }
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
    if (!isReplayingUnpaced()) postQuit();
    running = false;
}

void AppImpl::placeMouse(int x, int y) {
    if (!isReplayingUnpaced()) setMousePosition(x, y);
}

void AppImpl::setCursorShown(bool show) {
    if (!isReplayingUnpaced()) showCursor(show);
}

std::string AppImpl::getWindowTitle() const { return "LUM [ User ID: '" + author + "' ] :: " + name + "."; }

float AppImpl::getTime() { return static_cast<float>(static_cast<double>(lastStepClock - platformStartClock) / 1e9); }

AppImpl::Route AppImpl::route(bool suspended) const {
    if (replay || suspended) return Route::Drop;
    return inLoop && !handlingMessage ? Route::Hold : Route::Deliver;
}

void AppImpl::deliver(const RecordedItem& input) {
    switch (input.kind) {
    case RecordedItem::Kind::Key: deliverKey(input); break;
    case RecordedItem::Kind::MouseMove:
    case RecordedItem::Kind::MouseButton: deliverMouse(input); break;
    case RecordedItem::Kind::Focus: deliverFocus(input.state != 0); break;
    default: break;
    }
}

void AppImpl::deliverHeldInput() {
    if (heldInput.empty()) return;
    std::vector<RecordedItem> input;
    input.swap(heldInput);
    for (const RecordedItem& item : input) deliver(item);
}

void AppImpl::dispatchKey(unsigned int keyCode, ButtonState state) {
    RecordedItem input{RecordedItem::Kind::Key};
    input.code = keyCode;
    input.state = state;
    switch (route(keyListeners.isSuspended())) {
    case Route::Drop: return;
    case Route::Hold: heldInput.push_back(input); return;
    case Route::Deliver: deliverKey(input); return;
    }
}

void AppImpl::deliverKey(const RecordedItem& input) {
    if (keyListeners.isSuspended() || keyListeners.empty()) return;
    record(input);
    keyEvent->key = input.code;
    keyEvent->state = input.state;
    const KeyEvent& event = *keyEvent;
    keyListeners.dispatch([&event](IKeyEvent& listener) { return listener.onKey(event); });
}

void AppImpl::dispatchKeyStroke(unsigned int keyCode, ButtonState state, bool altHeld, bool repeated) {
    if (replay) return;
    if (altHeld && keyCode == KEY_ENTER) {
        if (state == PRESSED && !repeated) toggleFullScreen();
        return;
    }
    if (keyCode == KEY_F11 && state == PRESSED && !repeated) toggleFullScreen();
    if (keyCode == KEY_F12 && state == PRESSED && !repeated) saveScreenshot();
    dispatchKey(keyCode, state);
}

// A change during a state switch (a platform may handle messages inside a
// state's onActivate) is told once the switch is over.
void AppImpl::dispatchFocus(bool nowFocused) {
    if (replay) return;
    if (focusListeners.isSuspended()) {
        focused = nowFocused;
        return;
    }
    RecordedItem input{RecordedItem::Kind::Focus};
    input.state = nowFocused ? 1 : 0;
    if (route(false) == Route::Hold) {
        heldInput.push_back(input);
    } else {
        deliverFocus(nowFocused);
    }
}

void AppImpl::deliverFocus(bool nowFocused) {
    if (nowFocused != focused) {
        RecordedItem input{RecordedItem::Kind::Focus};
        input.state = nowFocused ? 1 : 0;
        record(input);
    }
    focused = nowFocused;
    tellFocus();
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
    dispatchMouse(RecordedItem::Kind::MouseMove, MouseButton{}, ButtonState{}, column, row);
}

void AppImpl::dispatchMouseButton(MouseButton button, ButtonState state, int column, int row) {
    dispatchMouse(RecordedItem::Kind::MouseButton, button, state, column, row);
}

// Positions are mapped to picture pixels as they arrive: the picture's place
// may have changed by the time a held event is delivered.
void AppImpl::dispatchMouse(RecordedItem::Kind kind, MouseButton button, ButtonState state, int outputX, int outputY) {
    RecordedItem input{kind};
    input.code = button;
    input.state = state;
    pictureFit.toImage(outputX, outputY, input.column, input.row);
    switch (route(mouseListeners.isSuspended())) {
    case Route::Drop: return;
    case Route::Hold: heldInput.push_back(input); return;
    case Route::Deliver: deliverMouse(input); return;
    }
}

// Moves the position into the record, y counted upwards from the bottom row,
// and tells the listeners; with none, the record is left untouched.
void AppImpl::deliverMouse(const RecordedItem& input) {
    if (mouseListeners.isSuspended() || mouseListeners.empty()) return;
    record(input);
    const int screenHeight = static_cast<int>(screen ? screen->getHeight() : height);
    mouseEvent->prevX = mouseEvent->x;
    mouseEvent->prevY = mouseEvent->y;
    mouseEvent->x = input.column;
    mouseEvent->y = screenHeight - input.row;
    if (input.kind == RecordedItem::Kind::MouseMove) {
        const MouseEvent& event = *mouseEvent;
        mouseListeners.dispatch([&event](IMouseEvent& listener) { return listener.onMouseMove(event); });
        return;
    }
    mouseEvent->button = static_cast<MouseButton>(input.code);
    mouseEvent->state = input.state;
    const MouseEvent& event = *mouseEvent;
    mouseListeners.dispatch([&event](IMouseEvent& listener) { return listener.onMouseButton(event); });
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
    inLoop = false;
    handlingMessage = false;
    heldInput.clear();
    recordingPath.clear();
    seedsBeforeRecording.clear();
    recording.reset();
    replay.reset();
    replayRefusal.clear();
    replayStopped = false;
    replayClockOffset = 0;
    frameHash = FrameHash();
    lastFrameHash = 0;
}

} // namespace lum
