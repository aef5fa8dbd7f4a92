// The fixture for game objects used without the loop.
#include "FieldFixture.h"

#include "framework/TimerImpl.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string readLog() {
    std::ifstream file("log.txt", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

} // namespace

void FieldFixture::SetUp() {
    app.reset();
    app.addState("idle", idle);
    app.addState("pause", pauseStandIn);
    app.addState("game_over", gameOverStandIn);
    app.initialise(800, 600, "Vellorin", "test", 60);
    std::srand(1234);
    logSeen = readLog().size();
}

void FieldFixture::TearDown() {
    app.reset();
}

int FieldFixture::timersInUse() {
    int count = 0;
    for (unsigned int slot = 0; slot < lum::TimerImpl::SLOTS; ++slot) {
        if (lum::TimerImpl::inSlot(slot) != nullptr) ++count;
    }
    return count;
}

std::string FieldFixture::requestedState() {
    const std::string log = readLog();
    const std::string marker = " is ready to become the active state.";
    std::string requested;
    for (std::size_t at = log.find(marker, logSeen); at != std::string::npos; at = log.find(marker, at + 1)) {
        const std::size_t lineStart = log.rfind("I: ", at);
        if (!requested.empty()) requested += ",";
        requested += log.substr(lineStart + 3, at - lineStart - 3);
    }
    logSeen = log.size();
    return requested;
}

void FieldFixture::key(unsigned int code, lum::ButtonState state) {
    app.dispatchKey(code, state);
}
