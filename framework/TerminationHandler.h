// The handler of a termination request from outside (SIGTERM): it says so on
// standard error and ends the process. Each operating system has its own file.
#pragma once

namespace lum {

void installTerminationHandler();

} // namespace lum
