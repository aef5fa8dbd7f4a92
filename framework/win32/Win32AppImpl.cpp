// The Windows platform; see the header.
#include "framework/win32/Win32AppImpl.h"

#include "framework/App.h"
#include "framework/FrameTrace.h"
#include "framework/Log.h"
#include "framework/graphics/Screen.h"
#include "framework/win32/Win32Counter.h"
#include "framework/win32/Win32GdiPresenter.h"
#include "framework/win32/Win32KeyTranslator.h"

#include <windows.h>
#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <stdexcept>

namespace lum {

AppImpl* createPlatformAppImpl() { return new Win32AppImpl(); }

const char* const Win32AppImpl::WINDOW_CLASS = "lum_WinClass";

namespace {

const char* const NO_COUNTER = "Unable to determine high performance frequency.";

// The implementation the window procedure works on, set by WM_CREATE.
Win32AppImpl* windowOwner = nullptr;

HWND asWindow(void* window) { return static_cast<HWND>(window); }

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        windowOwner = static_cast<Win32AppImpl*>(creation->lpCreateParams);
        return 0;
    }
    if (windowOwner != nullptr && windowOwner->onMessage(message, wParam, lParam)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string glText(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "unknown";
}

} // namespace

Win32AppImpl::Win32AppImpl() {
    const long long frequency = Win32Counter::frequency();
    if (frequency == 0) throw std::runtime_error(NO_COUNTER);
    ticksPerSecond = static_cast<double>(frequency);
}

// The window and its contexts live until the process ends; only the timer
// resolution asked for is given back.
Win32AppImpl::~Win32AppImpl() {
    if (timerPeriodSet) timeEndPeriod(1);
    if (windowOwner == this) windowOwner = nullptr;
}

void Win32AppImpl::initialisePlatform() {
    createWindow();
    if (Win32Counter::frequency() == 0) throw std::runtime_error(NO_COUNTER);
    startCount = Win32Counter::read();
    // Waits for the next deadline are rounded to the scheduler's tick; 1 ms
    // keeps frames within a millisecond of their time.
    if (!timerPeriodSet) timerPeriodSet = timeBeginPeriod(1) == TIMERR_NOERROR;
    frameTrace = FrameTrace::fromEnvironment();
    timesFramePhases = frameTrace != nullptr;
}

void Win32AppImpl::registerWindowClass() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = WINDOW_CLASS;
    // A class left registered by an earlier run in this process serves again.
    if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw App::AppException("Failed to create application window.");
    }
}

void Win32AppImpl::createWindow() {
    registerWindowClass();
    if (isFullScreen()) switchToFullScreen();

    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD extendedStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    if (isFullScreen()) {
        style = WS_POPUP;
        extendedStyle = WS_EX_APPWINDOW;
    }
    // The frame is worked out without the flags that do not change it.
    RECT frame{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    if (!isFullScreen()) style |= WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

    const HWND created = CreateWindowExA(extendedStyle, WINDOW_CLASS, getWindowTitle().c_str(), style, 0, 0,
                                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                         GetModuleHandleA(nullptr), this);
    window = created;
    ShowWindow(created, SW_SHOW);
    UpdateWindow(created);

    RECT client{};
    GetClientRect(created, &client);
    ClipCursor(&client);
    createContext();
}

void Win32AppImpl::createContext() {
    const HDC dc = GetDC(asWindow(window));
    deviceContext = dc;
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_GENERIC_ACCELERATED;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.cDepthBits = 16;
    format.cStencilBits = 8;
    format.iLayerType = PFD_MAIN_PLANE;
    SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format);
    const HGLRC context = wglCreateContext(dc);
    glContext = context;
    wglMakeCurrent(dc, context);
    presentThroughGdi = choosesGdi(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}

// OpenGL presents unless it is drawn by the processor; LUM_PRESENTER
// ("opengl" or "gdi") overrides the choice.
bool Win32AppImpl::choosesGdi(const char* glRenderer) {
    const char* asked = std::getenv("LUM_PRESENTER");
    if (asked != nullptr && std::strcmp(asked, "opengl") == 0) return false;
    if (asked != nullptr && std::strcmp(asked, "gdi") == 0) return true;
    return Win32GdiPresenter::rasterisesOnTheProcessor(glRenderer);
}

void Win32AppImpl::switchToFullScreen() {
    if (!isFullScreen()) return;
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmBitsPerPel = 32;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
        setFullScreen(false);
        std::cerr << "Unable to switch to full screen" << std::endl;
    }
    ShowCursor(FALSE);
}

std::string Win32AppImpl::describeDisplay() {
    const std::string block = "OpenGL info:\n   Vendor:   " + glText(GL_VENDOR) + "\n   Renderer: " +
                              glText(GL_RENDERER) + "\n   Version:  " + glText(GL_VERSION);
    glShadeModel(GL_FLAT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    return block;
}

AppImpl::MessageResult Win32AppImpl::handleMessage(std::int64_t deadline) {
    gamepads.poll(readClock());
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        waitForMessage(deadline < gamepads.nextRepeat() ? deadline : gamepads.nextRepeat());
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) return MessageResult::None;
    }
    if (GetMessageA(&message, nullptr, 0, 0) == 0) return MessageResult::Quit;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return MessageResult::Handled;
}

void Win32AppImpl::waitForMessage(std::int64_t deadline) {
    const std::int64_t remaining = deadline - readClock();
    if (remaining <= 0) return;
    // Rounded down, so a frame is never late by the rounding: what is left
    // under a millisecond is waited out by the next steps without sleeping.
    const DWORD milliseconds = static_cast<DWORD>(remaining / 1000000);
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32AppImpl::present(const Screen& screen, const ChangedRows&) {
    if (presentThroughGdi) {
        Win32GdiPresenter::present(deviceContext, screen);
    } else {
        glClear(GL_COLOR_BUFFER_BIT);
        glDrawPixels(static_cast<GLsizei>(screen.getWidth()), static_cast<GLsizei>(screen.getHeight()), GL_RGBA,
                     GL_UNSIGNED_BYTE, screen.getPixels());
        SwapBuffers(static_cast<HDC>(deviceContext));
    }
    if (frameTrace != nullptr) frameTrace->record(readClock(), getFramePhases());
}

void Win32AppImpl::postQuit() { PostQuitMessage(0); }

std::int64_t Win32AppImpl::readClock() {
    nowCount = Win32Counter::read();
    return Win32Counter::toNanoseconds(nowCount, static_cast<long long>(ticksPerSecond));
}

void Win32AppImpl::showCursor(bool show) { ShowCursor(show ? TRUE : FALSE); }

// (x, y) counts y upwards from the client area's bottom row; the cursor is
// placed on the desktop at that point of the client area.
void Win32AppImpl::setMousePosition(int x, int y) {
    POINT point{x, static_cast<LONG>(height) - y};
    if (window != nullptr) ClientToScreen(asWindow(window), &point);
    SetCursorPos(point.x, point.y);
}

bool Win32AppImpl::onMessage(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) {
    const int column = LOWORD(lParam);
    const int row = HIWORD(lParam);
    switch (message) {
    case WM_DESTROY:
    case WM_SIZE:
    case WM_DISPLAYCHANGE:
    case WM_CHAR:
        return true;
    case WM_CLOSE:
        // The window stays; the quit message ends the main loop.
        PostQuitMessage(0);
        return true;
    case WM_WINDOWPOSCHANGED: {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
        const RECT area{position->x, position->y, position->x + position->cx, position->y + position->cy};
        ClipCursor(&area);
        return true;
    }
    case WM_KEYDOWN:
        dispatchKey(Win32KeyTranslator::translate(static_cast<unsigned int>(wParam)), PRESSED);
        return true;
    case WM_KEYUP:
        dispatchKey(Win32KeyTranslator::translate(static_cast<unsigned int>(wParam)), RELEASED);
        return true;
    case WM_MOUSEMOVE:
        dispatchMouseMove(column, row);
        return true;
    case WM_LBUTTONDOWN: dispatchMouseButton(LEFT, PRESSED, column, row); return true;
    case WM_LBUTTONUP: dispatchMouseButton(LEFT, RELEASED, column, row); return true;
    case WM_MBUTTONDOWN: dispatchMouseButton(MIDDLE, PRESSED, column, row); return true;
    case WM_MBUTTONUP: dispatchMouseButton(MIDDLE, RELEASED, column, row); return true;
    case WM_RBUTTONDOWN: dispatchMouseButton(RIGHT, PRESSED, column, row); return true;
    case WM_RBUTTONUP: dispatchMouseButton(RIGHT, RELEASED, column, row); return true;
    default:
        return false;
    }
}

} // namespace lum
