// The whole program: builds the four states, runs the window and reports an
// escaping exception. main calls it; tests call it in-process on the headless
// platform.
#pragma once

// The options: --record FILE, --replay FILE, --replay-verify FILE. Returns 0
// after a normal end (exit, the window closed), 1 after a reported exception
// or a replay that differed from its recording, 2 for options it does not know.
int vellorinMain(int argc = 0, const char* const* argv = nullptr);
