// Small files that claim enormous pictures are refused from their headers,
// never by running out of memory: each load runs in a child process whose
// address space is capped at 256 MiB. (A sanitizer's shadow memory would not
// fit under the cap, so this runs only in plain builds.)
#include "tests/imagefile/PictureFileTest.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <new>

namespace lum::test {
namespace {

enum Outcome { REFUSED, LOADED, OUT_OF_MEMORY, OTHER_FAILURE };

// Runs the call in a child process under the memory limit.
template <typename Call> Outcome underLimit(Call&& call) {
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{256ull << 20, 256ull << 20};
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(OTHER_FAILURE);
        try {
            call();
            _exit(LOADED);
        } catch (const ImageFile::ImageFileException&) { // the message is checked in the ordinary tests
            _exit(REFUSED);
        } catch (const std::bad_alloc&) {
            _exit(OUT_OF_MEMORY);
        } catch (...) {
            _exit(OTHER_FAILURE);
        }
    }
    int status = 0;
    const bool exited = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status);
    return exited ? Outcome(WEXITSTATUS(status)) : OTHER_FAILURE;
}

class MemoryLimitTest : public PictureFileTest {};

TEST_F(MemoryLimitTest, TinyFilesClaimingHugePicturesAreRefusedWithoutAllocating) {
    // The limit stops a large allocation but not an ordinary picture.
    EXPECT_EQ(OUT_OF_MEMORY, underLimit([] { Image(20000, 20000, Colour::BLACK); }));
    const std::string ordinary = pillow("ordinary.bmp", 640, 480);
    EXPECT_EQ(LOADED, underLimit([&] { load(ordinary); }));

    // 70000 x 70000 overflows a 32-bit pixel count; 60000 x 60000 does not but
    // needs 14 GB; both in a file of 58 bytes.
    const std::string bmp = pillow("tiny.bmp", 1, 1);
    for (std::uint32_t side : {70000u, 60000u}) {
        const std::string huge = patched(bmp, std::to_string(side) + ".bmp", [&](Bytes& b) {
            putLE(b, 18, side);
            putLE(b, 22, side);
        });
        EXPECT_EQ(REFUSED, underLimit([&] { load(huge); })) << side;
    }
    const std::string tga = patched(pillow("tiny.tga", 1, 1, "--alpha"), "huge.tga", [](Bytes& b) {
        putLE(b, 12, 0xFFFF, 2);
        putLE(b, 14, 0xFFFF, 2);
    });
    EXPECT_EQ(REFUSED, underLimit([&] { load(tga); }));
}

} // namespace
} // namespace lum::test
