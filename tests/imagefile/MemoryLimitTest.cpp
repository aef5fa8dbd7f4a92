// Small files that claim enormous pictures are refused from their headers,
// never by running out of memory: each load runs in a child process whose
// address space is capped at 256 MiB. (A sanitizer's shadow memory would not
// fit under the cap, so these tests run only in plain builds.)
#include "tests/imagefile/PictureFileTest.h"

#include "framework/graphics/ImageFile.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <new>

namespace lum::test {
namespace {

constexpr rlim_t ADDRESS_SPACE_LIMIT = 256ull << 20;

enum Outcome { REFUSED_AS_CORRUPTED = 0, LOADED = 1, OUT_OF_MEMORY = 2, OTHER_FAILURE = 3, CHILD_LOST = 4 };

// Loads the file in a child process under the memory limit.
Outcome loadUnderLimit(const std::string& file) {
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{ADDRESS_SPACE_LIMIT, ADDRESS_SPACE_LIMIT};
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(OTHER_FAILURE);
        try {
            Image image;
            ImageFile(file).load(image);
            _exit(LOADED);
        } catch (const ImageFile::ImageFileException& refused) {
            _exit(std::string(refused.what()) == file + " appears to be a corrupted file" ? REFUSED_AS_CORRUPTED
                                                                                           : OTHER_FAILURE);
        } catch (const std::bad_alloc&) {
            _exit(OUT_OF_MEMORY);
        } catch (...) {
            _exit(OTHER_FAILURE);
        }
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return CHILD_LOST;
    return static_cast<Outcome>(WEXITSTATUS(status));
}

class MemoryLimitTest : public PictureFileTest {
protected:
    std::string claiming(const std::string& source, const std::string& name, std::size_t widthField,
                         std::size_t heightField, std::uint32_t width, std::uint32_t height, unsigned int fieldBytes) {
        Bytes bytes = readBytes(source);
        for (unsigned int i = 0; i < fieldBytes; ++i) {
            bytes.at(widthField + i) = (width >> (8 * i)) & 0xFF;
            bytes.at(heightField + i) = (height >> (8 * i)) & 0xFF;
        }
        writeBytes(path(name), bytes);
        return path(name);
    }
};

TEST_F(MemoryLimitTest, TheLimitStopsLargeAllocationsButNotOrdinaryPictures) {
    // Without this the other tests could pass for want of a working limit.
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{ADDRESS_SPACE_LIMIT, ADDRESS_SPACE_LIMIT};
        setrlimit(RLIMIT_AS, &limit);
        try {
            Image large(20000, 20000, Colour::BLACK); // 1.6 GB
            _exit(LOADED);
        } catch (const std::bad_alloc&) {
            _exit(OUT_OF_MEMORY);
        }
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(OUT_OF_MEMORY, WEXITSTATUS(status));

    EXPECT_EQ(LOADED, loadUnderLimit(pillow("ordinary.bmp", 640, 480)));
    EXPECT_EQ(LOADED, loadUnderLimit(pillow("ordinary.tga", 640, 480)));
}

TEST_F(MemoryLimitTest, TinyFilesClaimingHugePicturesAreRefusedWithoutAllocating) {
    const std::string bmp = pillow("tiny.bmp", 1, 1);
    // 70000 x 70000 overflows a 32-bit pixel count; 60000 x 60000 does not but
    // needs 14 GB; both in a file of 58 bytes.
    EXPECT_EQ(REFUSED_AS_CORRUPTED, loadUnderLimit(claiming(bmp, "70000.bmp", 18, 22, 70000, 70000, 4)));
    EXPECT_EQ(REFUSED_AS_CORRUPTED, loadUnderLimit(claiming(bmp, "60000.bmp", 18, 22, 60000, 60000, 4)));
    EXPECT_EQ(REFUSED_AS_CORRUPTED,
              loadUnderLimit(claiming(bmp, "topDown.bmp", 18, 22, 60000, static_cast<std::uint32_t>(-60000), 4)));
    const std::string tga = pillow("tiny.tga", 1, 1, "--alpha");
    EXPECT_EQ(REFUSED_AS_CORRUPTED, loadUnderLimit(claiming(tga, "65535.tga", 12, 14, 65535, 65535, 2)));
}

} // namespace
} // namespace lum::test
