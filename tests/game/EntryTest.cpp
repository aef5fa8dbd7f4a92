// The program as a process of its own: what it reports on standard error and
// the exit code when a picture it needs is missing.
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

// Runs the program in a scratch folder holding every picture and piece of
// music of the test's own folder but `missing`.
Outcome runWithout(const std::string& missing) {
    ScratchFolder folder;
    for (const auto& entry : fs::directory_iterator(folder.previous())) {
        const fs::path name = entry.path().filename();
        const bool asset = name.extension() == ".bmp" || name.extension() == ".mp3";
        if (asset && name != missing) fs::copy(entry.path(), folder.path() / name);
    }
    EXPECT_TRUE(fs::exists(folder.previous() / missing)) << missing << " is not among the assets";
    // A leak checker's closing summary would be a second line on standard error.
    const char* leakOptions = std::getenv("LSAN_OPTIONS");
    const std::string options = std::string(leakOptions ? leakOptions : "") + ":print_suppressions=0";
    const std::string command = "LSAN_OPTIONS='" + options + "' \"" + VELLORIN_HEADLESS + "\" > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile("out.txt"), readFile("err.txt")};
    EXPECT_TRUE(fs::exists("log.txt"));
    return outcome;
}

TEST(EntryTest, AMissingMenuPictureIsReportedOnceAndTheProgramEndsCleanly) {
    const Outcome outcome = runWithout("mainMenu.bmp");
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err.rfind("Exception caught: ", 0), 0u) << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_EQ(outcome.err.back(), '\n');
    EXPECT_NE(outcome.err.find("mainMenu.bmp"), std::string::npos);
    EXPECT_EQ(outcome.out, "");
}

TEST(EntryTest, AMissingSnakeSpriteIsReportedTheSameWay) {
    // Thrown while the play state is half built: what was built is unwound.
    const Outcome outcome = runWithout("snakeHead.bmp");
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err.rfind("Exception caught: ", 0), 0u) << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_NE(outcome.err.find("snakeHead.bmp"), std::string::npos) << outcome.err;
}

} // namespace
