// The termination handler on POSIX systems.
#include "framework/TerminationHandler.h"

#include <csignal>
#include <unistd.h>

namespace lum {

namespace {

// Only async-signal-safe calls here. The message is written, then the default
// action ends the process as the sender asked.
extern "C" void onTerminate(int) {
    static const char message[] = "Abnormal termination detected.\n";
    const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
    (void)written;
    std::signal(SIGTERM, SIG_DFL);
    std::raise(SIGTERM);
}

} // namespace

void installTerminationHandler() { std::signal(SIGTERM, onTerminate); }

} // namespace lum
