// The termination handler on Windows, where the C runtime raises SIGTERM only
// for the program's own raise(); the message goes straight to the descriptor.
#include "framework/TerminationHandler.h"

#include <csignal>
#include <io.h>

namespace lum {

namespace {

extern "C" void onTerminate(int) {
    static const char message[] = "Abnormal termination detected.\n";
    const int written = ::_write(2, message, sizeof message - 1);
    (void)written;
    std::signal(SIGTERM, SIG_DFL);
    std::raise(SIGTERM);
}

} // namespace

void installTerminationHandler() { std::signal(SIGTERM, onTerminate); }

} // namespace lum
