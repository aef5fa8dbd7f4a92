// Small files that claim enormous pictures are refused from their headers,
// never by running out of memory: each load runs in a child process whose
// address space is capped at 256 MiB. (A sanitizer's shadow memory would not
// fit under the cap, so this runs only in plain builds.)
#include "tests/imagefile/PictureFileTest.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <new>
#include <tuple>

namespace lum::test {
namespace {

enum Outcome { REFUSED, LOADED, OUT_OF_MEMORY, OTHER_FAILURE };

// Runs the call in a child process under the memory limit.
template <typename Call> Outcome underLimit(Call&& call) {
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{256ull << 20, 256ull << 20};
        try {
            if (setrlimit(RLIMIT_AS, &limit) == 0)
                call(), _exit(LOADED);
        } catch (const std::bad_alloc&) {
            _exit(OUT_OF_MEMORY);
        } catch (const std::runtime_error&) { // the file or its dimensions; messages are checked elsewhere
            _exit(REFUSED);
        } catch (...) { // never back into the test framework, which would go on in the child
        }
        _exit(OTHER_FAILURE);
    }
    int status = 0;
    const bool exited = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status);
    return exited ? Outcome(WEXITSTATUS(status)) : OTHER_FAILURE;
}

class MemoryLimitTest : public PictureFileTest {};

TEST_F(MemoryLimitTest, TinyFilesClaimingHugePicturesAreRefusedWithoutAllocating) {
    // The limit does stop a large allocation.
    EXPECT_EQ(OUT_OF_MEMORY, underLimit([] { Image(20000, 20000, Colour::BLACK); }));

    // A BMP of 70000 x 70000 overflows a 32-bit pixel count; 60000 x 60000 does
    // not but needs 14 GB; both in 58 bytes. Width and height of a TGA follow.
    const std::string bmp = pillow("tiny.bmp", 1, 1), tga = pillow("tiny.tga", 1, 1, "--alpha");
    const std::tuple<std::string, std::size_t, std::uint32_t, unsigned int> cases[] = {
        {bmp, 18, 70000, 4}, {bmp, 18, 60000, 4}, {tga, 12, 0xFFFF, 2}};
    for (const auto& [file, at, side, bytes] : cases) {
        const std::string huge = patched(file, std::to_string(side) + file.substr(file.size() - 4), [&](Bytes& b) {
            putLE(b, at, side, bytes), putLE(b, at + bytes, side, bytes); // width and height
        });
        EXPECT_EQ(REFUSED, underLimit([&] { load(huge); })) << huge;
    }

    // No pixels at all, in two billion rows: the file holds every one of them.
    // Such a picture is refused for its width, before anything is kept per row.
    const std::string empty = patched(bmp, "empty.bmp", [](Bytes& b) { putLE(b, 18, 0, 4), putLE(b, 22, 2000000000, 4); });
    EXPECT_EQ(REFUSED, underLimit([&] { load(empty); }));
}

} // namespace
} // namespace lum::test
