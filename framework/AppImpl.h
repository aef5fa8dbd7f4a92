// The application's state and its platform-neutral logic: state registry, main
// loop and frame pacing, listener registries, the screen. A platform derives
// from it and supplies only the pure virtual operations below.
#pragma once

#include "framework/FrameHash.h"
#include "framework/IAppState.h"
#include "framework/IFocusEvent.h"
#include "framework/IKeyEvent.h"
#include "framework/IMouseEvent.h"
#include "framework/ListenerRegistry.h"
#include "framework/PictureFit.h"
#include "framework/RecordedItem.h"
#include "framework/Replay.h"
#include "framework/graphics/ChangedRows.h"
#include "framework/graphics/Colour.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lum {

class RecordingWriter;
class Screen;

class AppImpl {
public:
    // What one call of handleMessage did.
    enum class MessageResult { None, Handled, Quit };

    AppImpl();
    virtual ~AppImpl();
    AppImpl(const AppImpl&) = delete;
    AppImpl& operator=(const AppImpl&) = delete;

    // ---- platform operations -------------------------------------------------
    virtual void setMousePosition(int x, int y) = 0;
    virtual void showCursor(bool show) = 0;
    // Monotonic clock in nanoseconds, from any origin; usable before the window exists.
    virtual std::int64_t readClock() = 0;
    // Opens the window of width × height (full screen when isFullScreen()).
    virtual void initialisePlatform() = 0;
    // Called from initialisePlatform when full screen was asked for; clears the
    // flag with setFullScreen(false) when the platform refuses.
    virtual void switchToFullScreen() = 0;
    // The start-up block logged after the window exists ("OpenGL info:\n   Vendor: ...").
    virtual std::string describeDisplay() = 0;
    // Handles at most one pending message, turning input into dispatch* calls.
    // With none pending it may wait for one, but never past `deadline` (a
    // readClock value: the next frame or timer due). Quit ends the loop.
    virtual MessageResult handleMessage(std::int64_t deadline) = 0;
    // Shows the screen: RGBA, bottom row first. `changed` names the rows drawn
    // on since the last frame; a presenter that keeps what it showed need
    // look at no others.
    virtual void present(const Screen& screen, const ChangedRows& changed) = 0;
    // Asked to end (App::exit): a platform may post its quit message here.
    virtual void postQuit() = 0;
    // F11 or Alt+Enter: between the window, at its former size and place, and
    // borderless full screen over its monitor, the display mode unchanged.
    virtual void toggleFullScreen() = 0;
    // A screenshot was saved at `path`: a platform without a folder the user
    // can open (a browser) hands the file over here.
    virtual void offerSavedPicture(const std::string& path) { (void)path; }

    // ---- the framework ---------------------------------------------------------
    // Throws std::runtime_error "There are no application states registered."
    // when there is no state to activate, and with the reason when a recording
    // asked for cannot be written or replayed. False when a replay differed
    // from its recording.
    bool run(unsigned int width, unsigned int height, const std::string& name, const std::string& author);
    // Frame rates outside 10..120 are logged and replaced by 60.
    void initialise(unsigned int width, unsigned int height, const std::string& name,
                    const std::string& author, unsigned int frameRate);
    void mainLoop();
    // One step: at most one message, the timers, and the frame when it is due.
    void step();
    void shutdown();

    // Asked for before run: the run is recorded into the file, or replayed
    // from it. A file that cannot be replayed here is reported by run.
    void startRecording(const std::string& path);
    void startReplay(const std::string& path, Replay::Pace pace);
    // Replaying without a window: no platform operation is called at all.
    bool isReplayingUnpaced() const { return replay && replay->getPace() == Replay::Pace::Unpaced; }
    // A seed for srand: the time in seconds, kept by a recording and given
    // back by its replay.
    unsigned int takeSeed();
    // The clock as the program sees it: the reading the current step took
    // (the loop's start before the first). Timers and getTime count on it, so
    // a replay gives them exactly the recorded times.
    std::int64_t getStepClock() const { return lastStepClock; }

    void addState(const std::string& name, IAppState& state);
    bool setState(const std::string& name);
    void exit();
    bool isExiting() const { return exitRequested; }
    bool isRunning() const { return running; }

    unsigned int getWidth() const { return width; }
    unsigned int getHeight() const { return height; }
    bool isFullScreen() const { return fullScreen; }
    void setFullScreen(bool value) { fullScreen = value; }
    void setClearColour(const Colour& colour) { clearColour = colour; }
    const std::string& getName() const { return name; }
    const std::string& getAuthor() const { return author; }
    // "LUM [ User ID: '<author>' ] :: <name>."
    std::string getWindowTitle() const;
    // Seconds from initialisePlatform to the current step.
    float getTime();
    double getFrameTime() const { return frameTime; }
    Screen* getScreen() { return screen.get(); }

    // The size in its own pixels of what the screen is shown in, from the
    // platform when the window opens and whenever it changes; the picture's
    // place in it follows. Returns whether the place changed.
    bool setOutputSize(int outputWidth, int outputHeight);
    const PictureFit& getPictureFit() const { return pictureFit; }
    IAppState* getActiveState() const { return active; }

    ListenerRegistry<IKeyEvent>& getKeyListeners() { return keyListeners; }
    ListenerRegistry<IMouseEvent>& getMouseListeners() { return mouseListeners; }
    ListenerRegistry<IFocusEvent>& getFocusListeners() { return focusListeners; }

    // Input from the platform. Key codes are already translated; mouse positions
    // are the output's pixels counted from its top left, mapped here to image
    // pixels through the picture's fit.
    void dispatchKey(unsigned int keyCode, ButtonState state);
    // A key as a keyboard gives it: the first press of F11 also toggles full
    // screen, that of F12 also saves a screenshot, and Enter with Alt held only
    // toggles full screen (Alt combinations are the system's keys, never the
    // program's).
    void dispatchKeyStroke(unsigned int keyCode, ButtonState state, bool altHeld, bool repeated);
    // The window gained or lost the focus; a platform may tell the same twice,
    // listeners hear only changes, and a change during a state switch once
    // the switch is over. The program starts focused.
    void dispatchFocus(bool focused);
    // Saves the screen as last presented into the pictures folder and logs
    // its name; a failure is logged as a warning.
    void saveScreenshot();
    void dispatchMouseMove(int column, int row);
    void dispatchMouseButton(MouseButton button, ButtonState state, int column, int row);
    // Platform operations the program asks for, skipped when there is no window.
    void placeMouse(int x, int y);
    void setCursorShown(bool show);

    // Back to the state just after construction (states, listeners, screen,
    // flags), so tests can run the loop again in one process. Timers belong to
    // their owners and are left alone.
    virtual void reset();

    // Where the time of the frame being presented went, in nanoseconds, for
    // the frame trace: waiting since the last frame (messages, timers, idle),
    // the state's update, and the clearing and rendering; renderEnd is the
    // clock reading when rendering ended and presenting began.
    struct FramePhases {
        std::int64_t waiting = 0;
        std::int64_t update = 0;
        std::int64_t render = 0;
        std::int64_t renderEnd = 0;
    };
    const FramePhases& getFramePhases() const { return framePhases; }

protected:
    // Input from the platform goes nowhere while a replay runs, or while the
    // listeners who would hear it are being switched; arriving outside a
    // step's message handling it waits for the next step, where a replay can
    // give it back at the same point.
    enum class Route { Drop, Hold, Deliver };
    Route route(bool suspended) const;
    void deliver(const RecordedItem& input);
    void deliverKey(const RecordedItem& input);
    void deliverMouse(const RecordedItem& input);
    void deliverFocus(bool focused);
    void deliverHeldInput();
    void record(const RecordedItem& item);
    // The step's clock reading taken: the countdown, the timers and the frame.
    enum class StepOutcome { Idle, Timers, Frame };
    StepOutcome advance(std::int64_t now);
    void replayStep(std::int64_t deadline);
    // Lets the window live (its input ignored) until the recorded moment;
    // false when it was closed meanwhile.
    bool waitForRecordedTime(std::int64_t recordedClock);
    // A clock reading outside the steps, recorded or replayed.
    std::int64_t takeClockReading();
    void seedAndStartRecording();
    void endRecordingOrReplay();
    void checkTermination();

    // The clock reading by which the step must be over: the next frame or the
    // earliest running timer, whichever comes first.
    std::int64_t nextDeadline() const;
    void drawFrame();
    void drawTimedFrame();
    // Hands the screen and the rows drawn on since the last frame to present.
    void presentFrame();
    void switchState();
    // Purges and resumes the listeners, then tells a focus change they missed.
    void purgeListeners();
    void tellFocus();
    void dispatchMouse(RecordedItem::Kind kind, MouseButton button, ButtonState state, int outputX, int outputY);

    std::unique_ptr<Screen> screen;
    ChangedRows frameRows;
    unsigned int width = 0;
    unsigned int height = 0;
    bool fullScreen = false;
    PictureFit::Scaling scaling = PictureFit::Scaling::Smooth;
    PictureFit pictureFit;
    bool exitRequested = false;
    bool running = false;
    std::string name;
    std::string author;
    IAppState* active = nullptr;
    IAppState* pending = nullptr;
    Colour clearColour{0, 0, 0, 255};
    double frameTime = 1.0 / 60.0;
    std::int64_t frameTimeNs = 16666667;
    std::int64_t frameCountdownNs = 0;
    std::int64_t lastStepClock = 0;
    std::int64_t platformStartClock = 0;
    std::int64_t lastFrameEnd = 0;
    // Set by a platform that writes a frame trace: only then are the phases
    // timed, since a clock reading can cost a system call (several on Windows).
    bool timesFramePhases = false;
    FramePhases framePhases;
    std::unique_ptr<MouseEvent> mouseEvent;
    std::unique_ptr<KeyEvent> keyEvent;
    ListenerRegistry<IKeyEvent> keyListeners;
    ListenerRegistry<IMouseEvent> mouseListeners;
    ListenerRegistry<IFocusEvent> focusListeners;
    bool focused = true;
    bool focusTold = true; // what the focus listeners heard last
    std::map<std::string, IAppState*> states;

    bool inLoop = false;
    bool handlingMessage = false;
    std::vector<RecordedItem> heldInput;
    std::string recordingPath;
    std::vector<unsigned int> seedsBeforeRecording;
    std::unique_ptr<RecordingWriter> recording;
    std::unique_ptr<Replay> replay;
    std::string replayRefusal;
    bool replayStopped = false; // by the player: the window closed
    std::int64_t replayClockOffset = 0; // the platform's clock minus the recorded one
    FrameHash frameHash;
    std::uint64_t lastFrameHash = 0;
    bool frameDrawn = false;
};

// Defined by the platform library a program links: the implementation the App
// creates. Returns null when the platform cannot be used.
AppImpl* createPlatformAppImpl();

} // namespace lum
