// Silences the process's standard error for the life of one object. Audio
// drivers and the MP3 decoder print their own diagnostics straight to file
// descriptor 2 while a device or a file is being opened; the sound layer says
// what went wrong in one log line instead.
#pragma once

namespace lum {

class QuietStderr {
public:
    QuietStderr();
    ~QuietStderr(); // puts the original standard error back
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved = -1; // a duplicate of the original descriptor 2, or -1
};

} // namespace lum
