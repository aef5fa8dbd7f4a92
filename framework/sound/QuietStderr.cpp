// Standard error redirected to /dev/null and restored, at the descriptor level,
// so that C libraries writing with fprintf(stderr) are silenced too.
#include "framework/sound/QuietStderr.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace lum {

QuietStderr::QuietStderr() {
    std::fflush(stderr);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0) return;
    saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (saved >= 0 && dup2(null, STDERR_FILENO) < 0) {
        close(saved);
        saved = -1;
    }
    close(null);
}

QuietStderr::~QuietStderr() {
    if (saved < 0) return;
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
}

} // namespace lum
