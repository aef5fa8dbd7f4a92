// The Windows platform; see the header.
#include "framework/win32/Win32AppImpl.h"

#include "framework/App.h"
#include "framework/FrameTrace.h"
#include "framework/Log.h"
#include "framework/graphics/Screen.h"
#include "framework/win32/Win32BorderlessFullScreen.h"
#include "framework/win32/Win32Counter.h"
#include "framework/win32/Win32Dpi.h"
#include "framework/win32/Win32GdiPresenter.h"
#include "framework/win32/Win32GlPresenter.h"
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
const DWORD WINDOWED_STYLE = WS_OVERLAPPEDWINDOW;
const DWORD WINDOWED_EXTENDED_STYLE = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;

// The implementation the window procedure works on, set by WM_CREATE.
Win32AppImpl* windowOwner = nullptr;

HWND asWindow(void* window) { return static_cast<HWND>(window); }

// The flags of a key message.
bool altHeld(std::intptr_t flags) { return (flags & (1 << 29)) != 0; }
bool wasDown(std::intptr_t flags) { return (flags & (1 << 30)) != 0; }

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        windowOwner = static_cast<Win32AppImpl*>(creation->lpCreateParams);
        return 0;
    }
    if (windowOwner != nullptr && windowOwner->onMessage(window, message, wParam, lParam)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

// The program's own icon (its icon resource 1) at a size, where it has one.
HICON programIcon(int size) {
    HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR);
    return icon != nullptr ? static_cast<HICON>(icon) : LoadIconA(nullptr, IDI_APPLICATION);
}

std::string glText(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "unknown";
}

} // namespace

Win32AppImpl::Win32AppImpl()
    : gdiPresenter(new Win32GdiPresenter()), borderless(new Win32BorderlessFullScreen()) {
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
    fitChanged = true;
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
    windowClass.hIcon = programIcon(GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = programIcon(GetSystemMetrics(SM_CXSMICON));
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

    DWORD style = WINDOWED_STYLE;
    DWORD extendedStyle = WINDOWED_EXTENDED_STYLE;
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
    if (!isFullScreen()) sizeForDpi();
    ShowWindow(created, SW_SHOW);
    UpdateWindow(created);

    RECT client{};
    GetClientRect(created, &client);
    ClipCursor(&client);
    createContext();
}

// The client area is width × height in the desktop's units: at 200 % it has
// twice the pixels each way, and the picture is drawn at twice its size.
void Win32AppImpl::sizeForDpi() {
    const unsigned int dpi = Win32Dpi::ofWindow(window);
    if (dpi == Win32Dpi::STANDARD) return;
    int frameWidth = 0;
    int frameHeight = 0;
    Win32Dpi::frameSize(Win32Dpi::toPixels(width, dpi), Win32Dpi::toPixels(height, dpi), WINDOWED_STYLE,
                        WINDOWED_EXTENDED_STYLE, dpi, frameWidth, frameHeight);
    SetWindowPos(asWindow(window), nullptr, 0, 0, frameWidth, frameHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

// The whole picture every frame, so a resize shows all of it at once.
void Win32AppImpl::present(const Screen& screen, const ChangedRows&) {
    presentPicture(screen);
    if (frameTrace != nullptr) frameTrace->record(readClock(), getFramePhases());
}

void Win32AppImpl::presentPicture(const Screen& screen) {
    const PictureFit& fit = getPictureFit();
    if (presentThroughGdi) {
        if (fitChanged) Win32GdiPresenter::clearBars(deviceContext, fit);
        gdiPresenter->present(deviceContext, screen, fit);
    } else {
        // The back buffer is cleared every frame: the bars come with it.
        if (fitChanged) Win32GlPresenter::place(fit);
        Win32GlPresenter::present(deviceContext, screen);
    }
    fitChanged = false;
}

void Win32AppImpl::repaint(void* target) {
    const HWND handle = asWindow(target);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(handle, &paint);
    const Screen* shown = getScreen();
    if (target == window && deviceContext != nullptr && shown != nullptr) {
        fitChanged = true;
        presentPicture(*shown);
    } else {
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    EndPaint(handle, &paint);
}

void Win32AppImpl::postQuit() { PostQuitMessage(0); }

// A program started full screen has the display mode to itself and stays so.
void Win32AppImpl::toggleFullScreen() {
    if (window == nullptr || isFullScreen()) return;
    borderless->toggle(window);
}

// Whole microseconds, as on the other desktop: a recording keeps them in fewer bytes.
std::int64_t Win32AppImpl::readClock() {
    nowCount = Win32Counter::read();
    return Win32Counter::toNanoseconds(nowCount, static_cast<long long>(ticksPerSecond)) / 1000 * 1000;
}

void Win32AppImpl::showCursor(bool show) { ShowCursor(show ? TRUE : FALSE); }

// (x, y) counts y upwards from the screen's bottom row; the cursor is placed
// on the desktop where the window shows that pixel.
void Win32AppImpl::setMousePosition(int x, int y) {
    int outputX = 0;
    int outputY = 0;
    getPictureFit().toOutput(x, static_cast<int>(height) - y, outputX, outputY);
    POINT point{outputX, outputY};
    if (window != nullptr) ClientToScreen(asWindow(window), &point);
    SetCursorPos(point.x, point.y);
}

bool Win32AppImpl::onMessage(void* target, unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) {
    const int column = LOWORD(lParam);
    const int row = HIWORD(lParam);
    switch (message) {
    case WM_DESTROY:
    case WM_DISPLAYCHANGE:
    case WM_CHAR:
        return true;
    case WM_ERASEBKGND:
        // WM_PAINT draws every pixel, bars and picture; erasing first would flicker.
        return true;
    case WM_PAINT: repaint(target); return true;
    case WM_SIZE: onResize(wParam, column, row); return true;
    case WM_GETMINMAXINFO: limitSize(target, reinterpret_cast<void*>(lParam)); return true;
    case WM_DPICHANGED: {
        // Full screen covers its monitor whatever the DPI.
        if (borderless->isOn()) return true;
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(asWindow(target), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }
    case WM_CLOSE:
        // The window stays; the quit message ends the main loop.
        PostQuitMessage(0);
        return true;
    case WM_WINDOWPOSCHANGED: {
        RECT area{};
        if (GetWindowRect(asWindow(target), &area)) ClipCursor(&area);
        // DefWindowProcA goes on to send WM_SIZE.
        return false;
    }
    case WM_KEYDOWN: onKey(wParam, lParam, PRESSED); return true;
    case WM_KEYUP: onKey(wParam, lParam, RELEASED); return true;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        // Alt+Enter toggles full screen; the other system keys stay the system's.
        if (wParam != VK_RETURN || !altHeld(lParam)) return false;
        dispatchKeyStroke(KEY_ENTER, message == WM_SYSKEYDOWN ? PRESSED : RELEASED, true,
                          message == WM_SYSKEYDOWN && wasDown(lParam));
        return true;
    case WM_SYSCHAR:
        // Alt+Enter's character, which DefWindowProcA would answer with a beep.
        return wParam == '\r' && altHeld(lParam);
    case WM_MOUSEMOVE:
        dispatchMouseMove(column, row);
        return true;
    case WM_SETFOCUS: dispatchFocus(true); return true;
    case WM_KILLFOCUS: dispatchFocus(false); return true;
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

void Win32AppImpl::onKey(std::uintptr_t virtualKey, std::intptr_t flags, ButtonState state) {
    dispatchKeyStroke(Win32KeyTranslator::translate(static_cast<unsigned int>(virtualKey)), state, altHeld(flags),
                      state == PRESSED && wasDown(flags));
}

// A minimised window keeps the picture's place for its return.
void Win32AppImpl::onResize(std::uintptr_t kind, int clientWidth, int clientHeight) {
    if (kind == SIZE_MINIMIZED) return;
    if (setOutputSize(clientWidth, clientHeight)) fitChanged = true;
}

// Half the screen's size each way, at the window's DPI: smaller, its text
// could no longer be read.
void Win32AppImpl::limitSize(void* target, void* minMaxInfo) const {
    const unsigned int dpi = Win32Dpi::ofWindow(target);
    const auto style = static_cast<DWORD>(GetWindowLongA(asWindow(target), GWL_STYLE));
    const auto extendedStyle = static_cast<DWORD>(GetWindowLongA(asWindow(target), GWL_EXSTYLE));
    int frameWidth = 0;
    int frameHeight = 0;
    Win32Dpi::frameSize(Win32Dpi::toPixels(width / 2, dpi), Win32Dpi::toPixels(height / 2, dpi), style, extendedStyle,
                        dpi, frameWidth, frameHeight);
    auto* limits = static_cast<MINMAXINFO*>(minMaxInfo);
    limits->ptMinTrackSize.x = frameWidth;
    limits->ptMinTrackSize.y = frameHeight;
}

} // namespace lum
