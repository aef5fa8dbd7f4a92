// The framework's core as a program of its own: the exact log file of a short
// run, a log that cannot be opened, and the ends on termination signals. The
// test program starts itself again as that small program in a folder of its
// own (see main).
#include "tests/spine/SpineSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <regex>

namespace lum::test {
namespace {

// Runs this program as the script (see main) in `folder`, its standard error
// going to "stderr.txt" there; returns the wait status.
int runScript(const std::filesystem::path& folder, const char* mode) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    return std::system(("cd '" + folder.string() + "' && exec '" + self + "' " + mode + " 2>stderr.txt").c_str());
}

// A run replaces the earlier log, writes an empty message as its prefix alone
// and closes the last line with the end marker; a log that cannot be opened
// stops the program before main. A termination request outside the loop is
// reported and ends the process once main and the log have ended; inside the
// loop it ends the loop after that step as exit() would, and only after
// shutdown and the log's end does the signal end the process. A second
// request ends it at once.
TEST(Script, TheLogOfAShortRunAndTheEndsOfTerminatedOnes) {
    const std::filesystem::path folder = "script"; // this program's own log.txt stays out of it
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "log.txt") << "an earlier run\n";
    int status = runScript(folder, "script");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << readFile(folder / "stderr.txt");
    const std::regex stamp("[A-Z][a-z]{2} [A-Z][a-z]{2} [ 1-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}");
    EXPECT_EQ(std::regex_replace(readFile(folder / "log.txt"), stamp, "<time>"),
              "-- Logging started at <time> --\n"
              "I: Application Information:\n   Application Author: q4417093\n"
              "   Application Name:   LUM [ User ID: 'q4417093' ] :: Vellorin.\n   Frame Rate:         60 (0.0166667)\n"
              "I: Display info:\n   Vendor:   lum\n   Renderer: headless\n   Version:  1.0\n"
              "I: main is ready to become the active state.\n"
              "I: Timer 3 has started.\n"
              "I: application activity state changed.\n"
              "I: Timer 3 has stopped\n"
              "I: \n"
              "E: script finished\n"
              "-- Logging ended at <time> --");

    std::filesystem::remove(folder / "log.txt");
    std::filesystem::create_directory(folder / "log.txt");
    status = runScript(folder, "script");
    EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(readFile(folder / "stderr.txt").find("Unable to open log.txt file for output."), std::string::npos);
    std::filesystem::remove(folder / "log.txt");

    const std::string inLoop = "Abnormal termination detected.\nmenu.onDestroy\n";
    const std::string loopEnd = "\nW: Termination requested from outside; shutting down.\nI: Timer 3 has stopped\n"
                                "E: main returned\n-- Logging ended at ";
    const struct { const char* mode; int signal; std::string err, logEnd; } ends[] = {
        {"sigterm", SIGTERM, "Abnormal termination detected.\n", "\nE: main returned\n-- Logging ended at "},
        {"sigterm-loop", SIGTERM, inLoop, loopEnd},
        {"sigint-loop", SIGINT, inLoop, loopEnd},
        {"sigint-twice", SIGINT, "Abnormal termination detected.\n", ""}, // no end marker at all
    };
    for (const auto& e : ends) {
        status = runScript(folder, e.mode);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == e.signal) << e.mode << ": " << status;
        EXPECT_EQ(readFile(folder / "stderr.txt"), e.err) << e.mode;
        const std::string log = readFile(folder / "log.txt");
        EXPECT_EQ(log.find(e.logEnd.empty() ? "-- Logging ended at " : e.logEnd) != std::string::npos,
                  !e.logEnd.empty()) << e.mode << ": " << log;
    }
}

// The scripted program: the menu hands over to the play state, whose timer at
// its first call ends the program, or raises the signal (and the program notes
// its shutdown on standard error).
int runScriptedProgram(int signal) {
    Journal journal;
    Recorder menu{"menu", journal}, play{"main", journal};
    Timer timer(3, 10, play);
    menu.updateHook = [] { application.setState("main"); };
    play.activateHook = [&timer] { timer.start(); };
    play.timerHook = [signal](Timer&) { signal == 0 ? application.exit() : void(std::raise(signal)); };
    application.addState("menu", menu).addState("main", play);
    run();
    if (signal == 0) return lum::log.info("").error("script finished"), 0;
    std::cerr << journal.back() << std::endl;
    lum::log.error("main returned");
    return 0;
}

} // namespace
} // namespace lum::test

// Run as "<program> <mode>" in a folder of its own, the test program becomes
// the small program whose log file and end the tests read.
int main(int argc, char** argv) {
    const std::string mode = argc == 2 ? argv[1] : "";
    if (mode == "script") return lum::test::runScriptedProgram(0);
    if (mode == "sigterm-loop") return lum::test::runScriptedProgram(SIGTERM);
    if (mode == "sigint-loop") return lum::test::runScriptedProgram(SIGINT);
    // Outside the loop the request waits for the end of main, the log's end
    // marker, then ends the process: a normal exit status is a fault.
    if (mode == "sigterm") return std::raise(SIGTERM), lum::log.error("main returned"), 0;
    if (mode == "sigint-twice") return std::raise(SIGINT), std::raise(SIGINT), 0;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
