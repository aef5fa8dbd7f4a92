// The whole program: builds the four states, runs the window and reports an
// escaping exception. main calls it; tests call it in-process on the headless
// platform.
#pragma once

// Returns 0 after a normal end (exit, the window closed), 1 after a reported
// exception.
int vellorinMain();
