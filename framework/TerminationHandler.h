// Termination requests from outside: SIGTERM and SIGINT (Ctrl+C in a
// terminal), and on Windows the console's Ctrl+C and close. The handler says
// so on standard error and raises a flag; the App's loop reads it after every
// step and ends as after exit(), so shutdown runs and the log gets its end
// marker. Only then does the process end, the way the request would have ended
// it. A second request ends the process at once. Each operating system has its
// own file.
#pragma once

namespace lum {

void installTerminationHandler();

// True once a request arrived. Safe to read at any time.
bool terminationRequested();

// Ends the process as the request asked (a terminated process's status) when
// one arrived; returns at once otherwise. Called as the very last thing, after
// the log has closed.
void endIfTerminationRequested();

} // namespace lum
