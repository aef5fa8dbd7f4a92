// The termination handler on Windows. The console's Ctrl+C, Ctrl+Break and
// close arrive on a thread of their own through SetConsoleCtrlHandler; SIGTERM
// only from the program's own raise(). The message goes straight to the
// descriptor.
#include "framework/TerminationHandler.h"

#include <windows.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <io.h>
#include <iostream>

namespace lum {

namespace {

// What asked the program to end: 0 for nothing yet, SIGTERM, or CONSOLE_EVENT.
constexpr int CONSOLE_EVENT = -1;
std::atomic<int> request{0};

// True for the first request; writes the message for it.
bool noteRequest(int what) {
    int none = 0;
    if (!request.compare_exchange_strong(none, what))
        return false;
    static const char message[] = "Abnormal termination detected.\n";
    const int written = ::_write(2, message, sizeof message - 1);
    (void)written;
    return true;
}

extern "C" void onTerminate(int) {
    if (!noteRequest(SIGTERM)) {
        std::signal(SIGTERM, SIG_DFL);
        std::raise(SIGTERM);
    }
}

BOOL WINAPI onConsoleEvent(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT)
        return FALSE;
    // A second request goes on to the default handler, which ends the process.
    if (!noteRequest(CONSOLE_EVENT))
        return FALSE;
    // The process ends when this returns from a close; the main thread ends it
    // first, once it has shut down (the system allows a few seconds).
    if (type == CTRL_CLOSE_EVENT)
        Sleep(INFINITE);
    return TRUE;
}

} // namespace

void installTerminationHandler() {
    std::signal(SIGTERM, onTerminate);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool terminationRequested() { return request.load() != 0; }

void endIfTerminationRequested() {
    const int what = request.load();
    if (what == 0)
        return;
    std::cout.flush();
    std::fflush(nullptr);
    if (what == SIGTERM) {
        std::signal(SIGTERM, SIG_DFL);
        std::raise(SIGTERM);
    }
    // The status of a process ended from its console.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

} // namespace lum
