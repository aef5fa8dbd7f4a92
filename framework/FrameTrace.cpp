// The frame-time trace written when LUM_FRAME_TRACE is set.
#include "framework/FrameTrace.h"

#include "framework/Log.h"

#include <cinttypes>
#include <cstdlib>
#include <stdexcept>

namespace lum {

std::unique_ptr<FrameTrace> FrameTrace::fromEnvironment(const char* variable) {
    const char* path = std::getenv(variable);
    if (path == nullptr || *path == '\0') return nullptr;
    try {
        return std::make_unique<FrameTrace>(path);
    } catch (const std::runtime_error& error) {
        // A measuring aid must not stop the program.
        log.warning(error.what());
        return nullptr;
    }
}

FrameTrace::FrameTrace(const std::string& path) : file(std::fopen(path.c_str(), "w")) {
    if (file == nullptr) throw std::runtime_error("Unable to create the frame trace " + path);
}

FrameTrace::~FrameTrace() { std::fclose(file); }

void FrameTrace::record(std::int64_t presented, const AppImpl::FramePhases& phases) {
    std::fprintf(file, "%" PRId64 " %" PRId64 " %" PRId64 " %" PRId64 " %" PRId64 "\n", presented, phases.waiting,
                 phases.update, phases.render, phases.renderEnd != 0 ? presented - phases.renderEnd : 0);
}

void FrameTrace::flush() { std::fflush(file); }

} // namespace lum
