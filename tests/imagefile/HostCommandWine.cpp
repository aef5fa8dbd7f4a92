// Under Wine a Windows program can start the host's programs by their Unix
// path, but Wine neither waits for them nor reports their exit status. The
// host's shell therefore runs the command and writes its status to a file,
// which is waited for.
#include "tests/imagefile/HostCommand.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace lum::test {

namespace {

std::string quotedForCommandLine(const std::string& text) {
    // The command line is split into the shell's arguments by Windows rules;
    // the picture commands need neither double quotes nor backslashes.
    if (text.find_first_of("\"\\") != std::string::npos)
        throw std::invalid_argument("host command with a double quote or backslash: " + text);
    return "\"" + text + "\"";
}

} // namespace

int runHostCommand(const std::string& command) {
    static int count = 0;
    const std::string marker = "host-command-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    std::filesystem::remove(marker);
    std::string line = "Z:\\bin\\sh -c " +
                       quotedForCommandLine(command + "; echo $? > " + marker + ".part && mv " + marker + ".part " + marker);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(marker)) {
        if (std::chrono::steady_clock::now() > giveUp) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    int status = -1;
    std::ifstream(marker) >> status;
    std::filesystem::remove(marker);
    return status;
}

} // namespace lum::test
