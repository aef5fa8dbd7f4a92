// The application front: builds the platform implementation and forwards every
// operation to it. The App opens the log before itself, so the log outlives the
// App whichever global is bound first and its end marker follows all output.
#include "framework/App.h"

#include "framework/AppImpl.h"
#include "framework/Log.h"
#include "framework/TerminationHandler.h"

#include <cstdlib>

namespace lum {

App& application = App::instance();

App& App::instance() {
    Log::instance();
    static App theApp;
    return theApp;
}

App::App() : impl(createPlatformAppImpl()) {
    if (!impl) throw AppException("API does not support the current platform");
    installTerminationHandler();
    // Any program can be recorded or replayed without code of its own.
    if (const char* path = std::getenv("LUM_RECORD")) record(path);
    if (const char* path = std::getenv("LUM_REPLAY")) replay(path);
    if (const char* path = std::getenv("LUM_REPLAY_VERIFY")) verifyReplay(path);
}

App::~App() { delete impl; }

bool App::run(unsigned int width, unsigned int height, const std::string& name, const std::string& author) {
    return impl->run(width, height, name, author);
}

App& App::addState(const std::string& name, IAppState& state) {
    impl->addState(name, state);
    return *this;
}

bool App::setState(const std::string& name) { return impl->setState(name); }
void App::exit() { impl->exit(); }
bool App::isExiting() const { return impl->isExiting(); }
unsigned int App::getScreenWidth() const { return impl->getWidth(); }
unsigned int App::getScreenHeight() const { return impl->getHeight(); }
void App::setClearColour(const Colour& colour) { impl->setClearColour(colour); }
void App::setFullScreen(bool fullScreen) { impl->setFullScreen(fullScreen); }
void App::showCursor(bool show) { impl->setCursorShown(show); }
void App::setMousePosition(int x, int y) { impl->placeMouse(x, y); }
void App::record(const std::string& path) { impl->startRecording(path); }
void App::replay(const std::string& path) { impl->startReplay(path, Replay::Pace::Recorded); }
void App::verifyReplay(const std::string& path) { impl->startReplay(path, Replay::Pace::Unpaced); }
bool App::isVerifyingReplay() const { return impl->isReplayingUnpaced(); }
unsigned int App::randomSeed() { return impl->takeSeed(); }
float App::getTime() { return impl->getTime(); }

void App::addKeyListener(IKeyEvent& listener) { impl->getKeyListeners().add(listener); }
void App::removeKeyListener(IKeyEvent& listener) { impl->getKeyListeners().remove(listener); }
void App::addMouseListener(IMouseEvent& listener) { impl->getMouseListeners().add(listener); }
void App::removeMouseListener(IMouseEvent& listener) { impl->getMouseListeners().remove(listener); }
void App::addFocusListener(IFocusEvent& listener) { impl->getFocusListeners().add(listener); }
void App::removeFocusListener(IFocusEvent& listener) { impl->getFocusListeners().remove(listener); }

} // namespace lum
