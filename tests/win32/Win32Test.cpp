// The Windows platform under a real window system (Wine on a virtual display
// in CI): key translation, the window's class, the messages
// that give key events and those that do not, the close message ending the
// run, and both ways of presenting the screen. (The end-to-end run under Wine
// closes the game's window and reads its log.)
#include "framework/App.h"
#include "framework/AppImpl.h"
#include "framework/IAppState.h"
#include "framework/IKeyEvent.h"
#include "framework/graphics/Screen.h"
#include "framework/win32/Win32AppImpl.h"
#include "framework/win32/Win32KeyTranslator.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <GL/gl.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using lum::Win32KeyTranslator;

HWND theWindow() {
    return static_cast<HWND>(dynamic_cast<lum::Win32AppImpl&>(lum::application.getImpl()).getWindow());
}

TEST(Win32Keys, SpecialKeysHaveFixedCodesAndCharactersComeFromTheLayout) {
    const std::pair<unsigned int, unsigned int> special[] = {
        {VK_ESCAPE, 27}, {VK_LEFT, 140}, {VK_UP, 141}, {VK_RIGHT, 142}, {VK_DOWN, 143}, {VK_DELETE, 8},
        {VK_F1, 128},    {VK_F2, 129},   {VK_F10, 137}, {VK_F12, 139},  {VK_SHIFT, 0},   {VK_F13, 0}};
    for (const auto& [key, code] : special) EXPECT_EQ(Win32KeyTranslator::special(key), code) << key;
    // Through the keyboard layout, with no modifier held.
    const std::pair<unsigned int, unsigned int> translated[] = {
        {VK_ESCAPE, 27}, {'A', 'a'}, {'Q', 'q'}, {'7', '7'}, {VK_SPACE, ' '}, {VK_TAB, '\t'},
        {VK_UP, 141},    {VK_F1, 128}, {VK_DELETE, 8}};
    for (const auto& [key, code] : translated) EXPECT_EQ(Win32KeyTranslator::translate(key), code) << key;
}

// Records every key event; on its second frame looks at the window and sends
// it messages through the window procedure, then asks it to close.
class WindowProbe : public lum::IAppState, public lum::IKeyEvent {
public:
    std::vector<std::pair<unsigned int, unsigned int>> keys;
    std::string className;
    RECT fullScreen{};
    RECT restored{};
    RECT clips[2]{}; // the cursor's, full screen and restored
    RECT restoredWindow{};
    int frames = 0;

    bool onCreate() override { return true; }
    bool onDestroy() override { return true; }
    void onActivate() override { lum::application.addKeyListener(*this); }
    void onDeactivate() override { lum::application.removeKeyListener(*this); }
    void onRender(lum::Screen&) override {}
    bool onKey(const lum::KeyEvent& event) override {
        keys.emplace_back(event.key, event.state);
        return true;
    }
    void onUpdate() override {
        if (++frames != 2) return;
        const HWND window = theWindow();
        char text[256] = "";
        GetClassNameA(window, text, sizeof text);
        className = text;
        SendMessageA(window, WM_SYSKEYDOWN, VK_F10, 0);
        SendMessageA(window, WM_SYSKEYUP, VK_F10, 0);
        SendMessageA(window, WM_SYSKEYDOWN, 'X', 1 << 29); // Alt+X
        SendMessageA(window, WM_KEYDOWN, VK_LEFT, 0);
        SendMessageA(window, WM_KEYDOWN, VK_LEFT, 1 << 30); // held: the repeat
        SendMessageA(window, WM_KEYUP, VK_LEFT, 0);
        SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageA(window, WM_CHAR, 'x', 0);
        SendMessageA(window, WM_SYSKEYDOWN, VK_RETURN, 1 << 29); // Alt+Enter
        SendMessageA(window, WM_SYSKEYDOWN, VK_RETURN, 1 << 29 | 1 << 30);
        GetClientRect(window, &fullScreen);
        GetClipCursor(&clips[0]);
        SendMessageA(window, WM_SYSKEYUP, VK_RETURN, 1 << 29 | 1 << 30);
        SendMessageA(window, WM_KEYDOWN, VK_F11, 0);
        SendMessageA(window, WM_KEYDOWN, VK_F11, 1 << 30);
        GetClientRect(window, &restored);
        GetClipCursor(&clips[1]);
        GetWindowRect(window, &restoredWindow);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
};

// (The end-to-end run under Wine checks the caption and the client area's size.)
TEST(Win32Window, ClassKeyMessagesAndTheCloseMessage) {
    WindowProbe probe;
    lum::application.addState("probe", probe);
    EXPECT_TRUE(lum::application.run(320, 200, "Probe", "tester"));

    EXPECT_EQ(probe.className, "lum_WinClass");
    // System keys give nothing, the held key repeats, characters are not used;
    // Alt+Enter only switches to full screen, F11 switches back and is a key.
    const std::vector<std::pair<unsigned int, unsigned int>> expected = {
        {lum::KEY_LEFT, lum::PRESSED},   {lum::KEY_LEFT, lum::PRESSED}, {lum::KEY_LEFT, lum::RELEASED},
        {lum::KEY_ESCAPE, lum::PRESSED}, {lum::KEY_F11, lum::PRESSED},  {lum::KEY_F11, lum::PRESSED}};
    EXPECT_EQ(probe.keys, expected);
    EXPECT_EQ(probe.fullScreen.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(probe.fullScreen.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(probe.restored.right, 320);
    EXPECT_EQ(probe.restored.bottom, 200);
    // The cursor is kept to the window as it is.
    EXPECT_TRUE(EqualRect(&probe.clips[0], &probe.fullScreen));
    EXPECT_TRUE(EqualRect(&probe.clips[1], &probe.restoredWindow));
    EXPECT_GE(probe.frames, 2);
}

// Draws the screen's corners in four colours and, from its third frame on,
// reads the four corners of what it drew before: through GDI from the window's
// device context, through OpenGL from the context's buffer.
class PresentProbe : public lum::IAppState {
public:
    static constexpr int WIDTH = 320, HEIGHT = 200;
    std::array<COLORREF, 4> seen{}; // bottom-left, bottom-right, top-left, top-right
    bool throughGdi = false;

    bool onCreate() override { return true; }
    bool onDestroy() override { return true; }
    void onActivate() override {}
    void onDeactivate() override {}
    void onUpdate() override {}
    void onRender(lum::Screen& screen) override {
        screen.plot(0, 0, lum::Colour::RED).plot(WIDTH - 1, 0, lum::Colour::GREEN);
        screen.plot(0, HEIGHT - 1, lum::Colour::BLUE).plot(WIDTH - 1, HEIGHT - 1, lum::Colour::WHITE);
        if (++frames < 3) return;
        throughGdi = dynamic_cast<lum::Win32AppImpl&>(lum::application.getImpl()).presentsThroughGdi();
        throughGdi ? readWindow() : readLastFrameDrawn();
        lum::application.exit();
    }

private:
    void readWindow() {
        const HDC dc = GetDC(theWindow());
        // GDI counts rows downwards.
        seen = {GetPixel(dc, 0, HEIGHT - 1), GetPixel(dc, WIDTH - 1, HEIGHT - 1), GetPixel(dc, 0, 0),
                GetPixel(dc, WIDTH - 1, 0)};
        ReleaseDC(theWindow(), dc);
    }
    // The back buffer still holds the frame before: Wine's swap copies it to
    // the window and keeps it, and the window's own pixels cannot be read.
    void readLastFrameDrawn() {
        std::vector<unsigned char> pixels(WIDTH * HEIGHT * 4);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        auto at = [&](int x, int y) {
            const unsigned char* p = &pixels[(y * WIDTH + x) * 4];
            return RGB(p[0], p[1], p[2]);
        };
        seen = {at(0, 0), at(WIDTH - 1, 0), at(0, HEIGHT - 1), at(WIDTH - 1, HEIGHT - 1)};
    }
    int frames = 0;
};

TEST(Win32Window, BothWaysOfPresentingShowTheScreenTheRightWayUp) {
    const std::array<COLORREF, 4> corners = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)};
    for (const char* presenter : {"opengl", "gdi"}) {
        _putenv_s("LUM_PRESENTER", presenter);
        lum::application.getImpl().reset();
        PresentProbe probe;
        lum::application.addState("present", probe);
        EXPECT_TRUE(lum::application.run(PresentProbe::WIDTH, PresentProbe::HEIGHT, "Present", "tester"));
        EXPECT_EQ(probe.throughGdi, std::strcmp(presenter, "gdi") == 0);
        EXPECT_EQ(probe.seen, corners) << presenter;
        // The quit message of the exit is still queued; the next run must not see it.
        MSG left;
        while (PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE)) {}
    }
    _putenv_s("LUM_PRESENTER", "");
    lum::application.getImpl().reset();
}

} // namespace
