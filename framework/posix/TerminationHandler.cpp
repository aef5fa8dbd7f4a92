// The termination handler on POSIX systems: SIGTERM and SIGINT.
#include "framework/TerminationHandler.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace lum {

namespace {

// The signal that asked the program to end; 0 while none has.
volatile std::sig_atomic_t requestedSignal = 0;

// Only async-signal-safe calls here. The first request is noted and left to
// the loop; a second one (the user insisting, or a program stuck before its
// loop) gets the default action at once.
extern "C" void onTerminate(int signal) {
    if (requestedSignal != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    requestedSignal = signal;
    static const char message[] = "Abnormal termination detected.\n";
    const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
    (void)written;
}

void handle(int signal) {
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a blocking wait returns, so the loop sees the flag soon.
    action.sa_flags = 0;
    sigaction(signal, &action, nullptr);
}

} // namespace

void installTerminationHandler() {
    handle(SIGTERM);
    handle(SIGINT);
}

bool terminationRequested() { return requestedSignal != 0; }

void endIfTerminationRequested() {
    const int signal = requestedSignal;
    if (signal == 0)
        return;
    // Buffered output would be lost with the process.
    std::cout.flush();
    std::fflush(nullptr);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace lum
