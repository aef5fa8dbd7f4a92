// The single application object: a registry of named states, the frame loop,
// input listeners and the screen. A thin front over AppImpl, which holds the
// state and logic; the platform implementation the App creates comes from the
// platform library the program links (lum_headless, lum_sdl, ...).
#pragma once

#include "framework/IAppState.h"
#include "framework/IFocusEvent.h"
#include "framework/IKeyEvent.h"
#include "framework/IMouseEvent.h"
#include "framework/graphics/Colour.h"

#include <stdexcept>
#include <string>

namespace lum {

class AppImpl;

class App {
public:
    class AppException : public std::runtime_error {
    public:
        explicit AppException(const std::string& message) : std::runtime_error(message) {}
    };

    static App& instance();

    // Opens the window at 60 frames per second, runs the loop until exit or the
    // platform's quit message, shuts down; returns true, or false when a
    // replay differed from its recording. Throws std::runtime_error with the
    // reason when a recording asked for cannot be written or replayed.
    bool run(unsigned int width, unsigned int height, const std::string& name, const std::string& author);
    App& addState(const std::string& name, IAppState& state);
    bool setState(const std::string& name);
    void exit();
    bool isExiting() const;

    unsigned int getScreenWidth() const;
    unsigned int getScreenHeight() const;
    void setClearColour(const Colour& colour);
    void setFullScreen(bool fullScreen);
    void showCursor(bool show);
    void setMousePosition(int x, int y);
    float getTime();

    void addKeyListener(IKeyEvent& listener);
    void removeKeyListener(IKeyEvent& listener);
    void addMouseListener(IMouseEvent& listener);
    void removeMouseListener(IMouseEvent& listener);
    void addFocusListener(IFocusEvent& listener);
    void removeFocusListener(IFocusEvent& listener);

    // Before run: the run is recorded into the file, or replayed from one (in
    // the window at the recorded pace, or without a window as fast as it
    // goes, checking every frame). LUM_RECORD, LUM_REPLAY and
    // LUM_REPLAY_VERIFY in the environment ask the same of any program.
    void record(const std::string& path);
    void replay(const std::string& path);
    void verifyReplay(const std::string& path);
    bool isVerifyingReplay() const;
    // A seed for srand: the time in seconds, kept by a recording and given
    // back by its replay. A program seeds from this, never from time().
    unsigned int randomSeed();

    AppImpl& getImpl() { return *impl; }

    App(const App&) = delete;
    App& operator=(const App&) = delete;

private:
    App();
    ~App();

    AppImpl* impl;
};

extern App& application;

} // namespace lum
