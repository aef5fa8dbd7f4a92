// The log: message assembly, the written lines, and the whole file of a short
// program run in a folder of its own, with its start and end markers.
#include "tests/spine/SpineSupport.h"

#include "framework/Log.h"

#include <fcntl.h>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

namespace spine {
namespace {

using lum::Log;

TEST(LogMessageTest, NumbersUseTheStreamsDefaultForm) {
    Log::Message message(Log::Warning);
    message << static_cast<unsigned short>(7) << " " << 0.016666668f << " " << 1.0 / 3 << " " << 1e20 << " "
            << static_cast<short>(-3) << " " << -12 << " " << 4000000000u << " " << -9000000000L << " "
            << 18000000000000000000UL << " " << 'c' << static_cast<unsigned char>(7) << " " << std::string("s") << "!";
    EXPECT_EQ(message.getText(), "W: 7 0.0166667 0.333333 1e+20 -3 -12 4000000000 -9000000000 18000000000000000000 c7 s!");
    EXPECT_EQ(Log::Message(Log::Error).getText(), "E: ");
    EXPECT_EQ(Log::Message(Log::Info).getLevel(), Log::Info);
}

TEST(LogTest, EveryMessageStartsANewLineAndCallsChain) {
    LogTail tail;
    lum::log.info("").warning("careful").error("broken") << (Log::Message(Log::Info) << "two\nlines");
    EXPECT_EQ(tail.text(), "\nI: \nW: careful\nE: broken\nI: two\nlines");
}

// Runs the script program in `folder` with `mode`; returns its wait status and
// what it wrote to standard error.
std::pair<int, std::string> runScript(const std::filesystem::path& folder, const char* mode) {
    const std::string errors = (folder / "stderr.txt").string();
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || dup2(fd, STDERR_FILENO) < 0 || chdir(folder.c_str()) != 0) _exit(126);
        execl(SPINE_SCRIPT, SPINE_SCRIPT, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::ifstream file(errors);
    return {status, std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>())};
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

class ScriptTest : public ::testing::Test {
protected:
    std::filesystem::path folder;
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("lum-" + std::string(info->name()) + "-" + std::to_string(getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
};

TEST_F(ScriptTest, AShortRunWritesExactlyThisLog) {
    std::ofstream(folder / "log.txt") << "an earlier run\n";
    const auto [status, errors] = runScript(folder, "run");
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << errors;

    const std::regex stamp("[A-Z][a-z]{2} [A-Z][a-z]{2} [ 1-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}");
    const std::string log = std::regex_replace(readFile(folder / "log.txt"), stamp, "<time>");
    EXPECT_EQ(log,
              "-- Logging started at <time> --\n"
              "I: Application Information:\n"
              "   Application Author: q4417093\n"
              "   Application Name:   LUM [ User ID: 'q4417093' ] :: Vellorin.\n"
              "   Frame Rate:         60 (0.0166667)\n"
              "I: Display info:\n"
              "   Vendor:   lum\n"
              "   Renderer: headless\n"
              "   Version:  1.0\n"
              "I: main is ready to become the active state.\n"
              "I: Timer 3 has started.\n"
              "I: application activity state changed.\n"
              "I: Timer 3 has stopped\n"
              "E: script finished\n"
              "-- Logging ended at <time> --");
}

TEST_F(ScriptTest, AnUnwritableLogStopsTheProgramBeforeMain) {
    std::filesystem::create_directory(folder / "log.txt");
    const auto [status, errors] = runScript(folder, "run");
    EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(errors.find("Unable to open log.txt file for output."), std::string::npos) << errors;
}

TEST_F(ScriptTest, TerminationIsReportedAndStillEndsTheProcess) {
    const auto [status, errors] = runScript(folder, "sigterm");
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(errors, "Abnormal termination detected.\n");
}

} // namespace
} // namespace spine
