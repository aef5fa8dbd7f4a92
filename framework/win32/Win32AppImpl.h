// The Windows platform: one window of the screen's client size with a WGL
// context, its messages pumped one per step (waiting for the next deadline
// when none is queued), the performance counter as the clock, and the screen
// presented with glDrawPixels, or through GDI where OpenGL is drawn by the
// processor. The window's size is in the desktop's units (the program is
// aware of each monitor's DPI): at 200 % it has twice the pixels each way.
// It can be resized, maximised and switched to borderless full screen
// (F11, Alt+Enter); the picture keeps its aspect in the middle of it.
#pragma once

#include "framework/AppImpl.h"
#include "framework/win32/Win32Gamepads.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lum {

class FrameTrace;
class Win32BorderlessFullScreen;
class Win32GdiPresenter;

class Win32AppImpl : public AppImpl {
public:
    // Throws std::runtime_error "Unable to determine high performance
    // frequency." without a performance counter.
    Win32AppImpl();
    ~Win32AppImpl() override;

    void setMousePosition(int x, int y) override;
    void showCursor(bool show) override;
    std::int64_t readClock() override;
    void initialisePlatform() override;
    void switchToFullScreen() override;
    std::string describeDisplay() override;
    MessageResult handleMessage(std::int64_t deadline) override;
    void present(const Screen& screen, const ChangedRows& changed) override;
    void postQuit() override;
    void toggleFullScreen() override;

    // The window procedure's work for one message to a window (an HWND);
    // true when it was handled.
    bool onMessage(void* target, unsigned int message, std::uintptr_t wParam, std::intptr_t lParam);

    // The window, once initialisePlatform made it (an HWND), else null.
    void* getWindow() const { return window; }
    // Whether frames go to the window through GDI rather than OpenGL.
    bool presentsThroughGdi() const { return presentThroughGdi; }

    // The class and caption the window is made with.
    static const char* const WINDOW_CLASS;

private:
    void registerWindowClass();
    void createWindow();
    void sizeForDpi();
    void createContext();
    void onKey(std::uintptr_t virtualKey, std::intptr_t flags, ButtonState state);
    void onResize(std::uintptr_t kind, int clientWidth, int clientHeight);
    // The smallest size the window may be dragged to (a MINMAXINFO).
    void limitSize(void* target, void* minMaxInfo) const;
    // The picture with the bars around it, for a window uncovered or resized.
    void repaint(void* target);
    void presentPicture(const Screen& screen);
    static bool choosesGdi(const char* glRenderer);
    // Sleeps until a message arrives or the deadline (a clock reading) passes.
    void waitForMessage(std::int64_t deadline);

    double ticksPerSecond = 0.0;
    long long startCount = 0;
    long long nowCount = 0;
    void* window = nullptr;      // HWND
    void* deviceContext = nullptr; // HDC
    void* glContext = nullptr;   // HGLRC
    bool timerPeriodSet = false;
    bool presentThroughGdi = false;
    // The picture's place changed since the last frame (or the window was
    // uncovered): bars to clear, the OpenGL viewport to set.
    bool fitChanged = true;
    std::unique_ptr<Win32GdiPresenter> gdiPresenter;
    std::unique_ptr<Win32BorderlessFullScreen> borderless;
    std::unique_ptr<FrameTrace> frameTrace;
    Win32Gamepads gamepads{*this}; // read once a step: XInput sends no messages
};

} // namespace lum
