// The host's shell is the test program's own.
#include "tests/imagefile/HostCommand.h"

#include <sys/wait.h>

#include <cstdlib>

namespace lum::test {

int runHostCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace lum::test
