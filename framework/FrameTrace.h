// An optional record of when each frame was presented, for measuring the frame
// rate and its steadiness, and of where its time went: one line per frame of
// five numbers in nanoseconds, the clock reading after presenting, then the
// waiting since the last frame, the update, the rendering and the presenting.
// The platform creates one only when LUM_FRAME_TRACE names a file, so an
// ordinary run pays nothing but a null test per frame.
#pragma once

#include "framework/AppImpl.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace lum {

class FrameTrace {
public:
    // Null when the variable is unset or empty, or (with a warning in the log)
    // when the file cannot be created.
    static std::unique_ptr<FrameTrace> fromEnvironment(const char* variable = "LUM_FRAME_TRACE");

    // Throws std::runtime_error when the file cannot be created.
    explicit FrameTrace(const std::string& path);
    ~FrameTrace();
    FrameTrace(const FrameTrace&) = delete;
    FrameTrace& operator=(const FrameTrace&) = delete;

    // Buffered by the stream; flushed when full and when the trace is destroyed.
    // `presented` is a clock reading taken after presenting.
    void record(std::int64_t presented, const AppImpl::FramePhases& phases);
    void flush();

private:
    std::FILE* file;
};

} // namespace lum
