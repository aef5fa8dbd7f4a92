// The BMP and TGA codecs against files that Pillow and ImageMagick write,
// patched copies of them and our own saved files, and the ImageFile front's
// choice of codec and its failures to read or write.
#include "tests/imagefile/PictureFileTest.h"

#include "framework/graphics/BMPFile.h"
#include "framework/graphics/Screen.h"

#include <algorithm>

namespace lum::test {
namespace {

constexpr std::size_t DATA_OFFSET = 10, INFO_SIZE = 14, WIDTH = 18, HEIGHT = 22, BITS = 28, COMPRESSION = 30;

class ImageFileTest : public PictureFileTest {};

// Files of other programs in every layout, our own TGA files, and our own
// 32-bit BMP files (blue, green, red and alpha rows back to back, read
// straight into the image) bottom or top row first and with a gap before the
// pixels. A BMP keeps the
// target's opacity and key, a TGA resets them; the screen refuses to resize
// (and logs it) and takes the part of a BMP it holds. One byte short, a
// 32-bit file is refused like any other.
TEST_F(ImageFileTest, FilesOfOtherProgramsAndOurOwnAreReadInEveryLayout) {
    const std::string v5 = convert("", "v5.bmp", 5, 3, false); // a plain convert
    ASSERT_EQ(124, readBytes(v5).at(INFO_SIZE));
    const std::string saved = "saved.bmp"; // 32 bits, no masks, bottom row first
    const Image pattern = load(pillow("pattern.tga", 7, 5, "--alpha"));
    ImageFile(saved).save(pattern);
    ImageFile("saved.tga").save(pattern);
    const struct { std::string file; unsigned int width, height; bool alpha; } cases[] = {
        {v5, 5, 3, false},
        // As a 108-byte header the 124-byte one's last 16 bytes lie unused before the pixels.
        {patched(v5, "v4.bmp", [](Bytes& b) { putLE(b, INFO_SIZE, 108); }), 5, 3, false},
        {convert("", "v5alpha.bmp", 5, 3, true), 5, 3, true},
        {convert("BMP3:", "v3.bmp", 6, 2, false), 6, 2, false}, // rows padded by 2 bytes, and 3 below
        {pillow("alpha.bmp", 5, 4, "--alpha"), 5, 4, true},
        {pillow("down.bmp", 3, 2, "--top-left"), 3, 2, false}, // rows of 3 pixels padded to 12 bytes, top row first
        {saved, 7, 5, true},
        {patched(saved, "down32.bmp", [](Bytes& b) {
             for (std::size_t top = 0, bottom = 4; top < bottom; ++top, --bottom)
                 std::swap_ranges(&b[54 + top * 28], &b[54 + top * 28 + 28], &b[54 + bottom * 28]);
             putLE(b, HEIGHT, std::uint32_t(-5));
         }), 7, 5, true},
        {patched(saved, "gap32.bmp", [](Bytes& b) {
             b.insert(b.begin() + 54, 10, 0xEE);
             putLE(b, DATA_OFFSET, 64);
             putLE(b, 2, static_cast<std::uint32_t>(b.size()));
         }), 7, 5, true},
        {"saved.tga", 7, 5, true},
        {pillow("topLeft.tga", 3, 4, "--alpha --top-left"), 3, 4, true},
        {pillow("withId.tga", 3, 2, "--id Vellorin"), 3, 2, false}, // the pixels follow the image ID
        // This convert stores rows top row first whatever origin it records, so
        // it is asked for a top-left origin, which it then records truthfully.
        {convert("", "magick.tga", 4, 2, true, "-orient TopLeft -compress none"), 4, 2, true},
    };
    for (const auto& c : cases) {
        Image sprite(9, 9, Colour::WHITE);
        ImageFile(c.file).load(sprite.setAlpha(0.5f).setTransparentColour(Colour::MAGENTA));
        const bool bmp = c.file.back() == 'p';
        EXPECT_TRUE(showsPattern(sprite, c.width, c.height, c.alpha) && sprite.getOpacity() == (bmp ? 127 : 255) &&
                    bool(sprite.getTransparentColour()) == bmp) << c.file;
        if (!bmp) continue;
        Screen screen(3, 4);
        ImageFile(c.file).load(screen);
        for (unsigned int i = 0; i < 3 * std::min(4u, c.height); ++i)
            ASSERT_EQ(screen.getPixel(i % 3, i / 3), patternPixel(i % 3, i / 3, c.alpha)) << c.file << " " << i;
    }
    expectRefused(patched(saved, "short32.bmp", [](Bytes& b) { b.pop_back(); }),
                  "short32.bmp appears to be a corrupted file");
}

// Any contiguous, non-overlapping masks: fields of any width and place are
// scaled to 8 bits, and a file without an alpha mask is opaque.
TEST_F(ImageFileTest, ThirtyTwoBitFilesWithAnyChannelMasksAreRead) {
    const std::pair<std::string, std::string> cases[] = {
        {"0xFF000000 0x00FF0000 0x0000FF00 0", ""},                          // x-b-g-r bytes, reversed
        {"0x000000FF 0x0000FF00 0x00FF0000 0xFF000000", "--header 108"},     // red first, with alpha
        {"0xFF000000 0x00FF0000 0x0000FF00 0x000000FF", "--header 124"},     // alpha last
        {"0x0000FF00 0x00FF0000 0xFF000000 0", "--header 108"},              // b-g-r-x: the other order
        {"0x000000FF 0x0000FF00 0x00FF0000 0", ""},                          // x-b-g-r as the words read
        {"0x3FF00000 0x000FFC00 0x000003FF 0", ""},                          // 10-bit fields
        {"0x000003FF 0x000FFC00 0x3FF00000 0xC0000000", "--alpha-bitfields"}, // 10 bits and 2 of alpha
        {"0x0000001F 0x00007E00 0x7FF80000 0x80000000", "--header 56"},      // 5, 6, 12 and 1 bits, with gaps
        {"0x00000001 0x00000002 0x00000004 0", ""},                          // one bit each
    };
    int byPillow = 0;
    for (const auto& [masks, options] : cases) {
        const auto [expected, checkedBy] = maskedBmp("masked.bmp", 5, 3, masks, options);
        const Image image = load("masked.bmp");
        Bytes found;
        for (const Colour* pixel = image.getPixels(); pixel != image.getPixels() + image.getPixelCount(); ++pixel)
            found.insert(found.end(), {pixel->getRed(), pixel->getGreen(), pixel->getBlue(), pixel->getAlpha()});
        EXPECT_EQ(found, expected) << masks << " " << options;
        byPillow += checkedBy == "pillow";
    }
    EXPECT_EQ(byPillow, 3); // the byte-wide layouts Pillow knows; it refuses the others
}

TEST_F(ImageFileTest, UnsupportedAndCorruptedFilesAreRefusedAndLeaveTheTargetAlone) {
    const std::string v5 = convert("", "v5a.bmp", 4, 3, true), w5 = pillow("w5.bmp", 5, 3), tga = pillow("p.tga", 4, 3);
    auto put = [&](const std::string& file, std::size_t at, std::uint32_t value, unsigned int bytes = 4) {
        return patched(file, std::to_string(at) + "-" + std::to_string(value) + file.substr(file.size() - 4),
                       [&](Bytes& b) { putLE(b, at, value, bytes); });
    };
    const std::string bad = " appears to be a corrupted file";
    const std::pair<std::string, std::string> cases[] = { // a leading space: the message follows the file name
        {put(w5, 0, 0x89), " is not a BMP file."},
        {convert("BMP2:", "os2.bmp", 4, 3, false),
         " has a 12-byte info header; only BMP files with info headers of 40 bytes or more are supported."},
        {put(v5, BITS, 33, 2), " is a 33 only 24 or 32 bit BMP files are supported."},
        {put(v5, 54, 0xFF00), " has colour masks that are empty, overlap or have gaps."},
        {put(v5, 54, 0x00FF00FF), " has colour masks that are empty, overlap or have gaps."},
        {put(v5, 54, 0), " has colour masks that are empty, overlap or have gaps."},
        {put(put(v5, COMPRESSION, 3), BITS, 24, 2),
         " has colour masks other than 8-bit blue, green, red and alpha, which are not supported."},
        {put(v5, COMPRESSION, 1), " is compressed; only uncompressed BMP files are supported."},
        {pillow("rle.tga", 4, 3, "--rle"), "Only 24 or 32 uncompressed images are supported"},
        {patched(w5, "cut.bmp", [](Bytes& b) { b.resize(100); }), bad}, // a pixel byte short
        {patched(w5, "short.bmp", [](Bytes& b) { b.resize(40); }), bad},
        {patched(tga, "cut.tga", [](Bytes& b) { b.resize(18 + 4 * 3 * 3 - 1); }), bad},
        {put(w5, WIDTH, 70000), bad}, {put(w5, HEIGHT, 0x80000000), bad}, {put(w5, DATA_OFFSET, 103), bad},
        // More pixels than bytes, pixels among the headers or past the end, an ID past the end.
        {put(tga, 12, 0xFFFF, 2), bad}, {put(tga, 0, 255, 1), bad},
        {"missing.tga", "Unable to load file missing.tga"},
    };
    for (const auto& [file, message] : cases)
        expectRefused(file, message[0] == ' ' ? file + message : message);
}

// Saved files have fixed headers and BGRA pixels (the layouts test loads our
// own files back); the extension after the last dot picks the codec.
TEST_F(ImageFileTest, SavedFilesHaveFixedHeadersTheCodecOfTheLastExtensionAndFailuresAreReported) {
    const std::pair<const char*, const char*> refusals[] = {
        {"snakeHead", "Unable to determine file type, file has no extension"},
        {"snakeHead.BMP", "Unsupported file extension: BMP"},
        {"pictures.d/snakeHead", "Unsupported file extension: d/snakeHead"},
    };
    for (const auto& [name, message] : refusals)
        EXPECT_EQ(message, thrown<std::runtime_error>([&] { ImageFile{name}; }));
    Image picture(2, 1, Colour::BLACK);
    picture.plot(0, 0, Colour(1, 2, 3, 4)).plot(1, 0, Colour(5, 6, 7, 8));
    ImageFile file("two.b.tga");
    EXPECT_THROW(file.setFilename("c.gif"), std::runtime_error);
    file.save(picture);
    file.setFilename("two.tga.bmp");
    file.save(picture);
    EXPECT_EQ(readBytes("two.tga.bmp"), (Bytes{'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0,
                                               0, 1, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                               0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 2, 1, 4, 7, 6, 5, 8}));
    EXPECT_EQ(readBytes("two.b.tga"),
              (Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 32, 0, 3, 2, 1, 4, 7, 6, 5, 8}));

    ImageFile("widest.tga").save(Image(65535, 1, Colour::RED));
    auto saving = [&](const std::string& name, const Image& picture) {
        return thrown<ImageFile::ImageFileException>([&] { ImageFile(name).save(picture); });
    };
    EXPECT_EQ("Unable to open none/x.bmp for saving image data to.",
              saving("none/x.bmp", Image(2, 1, Colour::BLUE)));
    EXPECT_EQ("wide.tga can not hold an image of 65536 x 1 pixels; TGA files are at most 65535 x 65535.",
              saving("wide.tga", Image(65536, 1, Colour::RED)));
    // Sizes are counted in 64 bits: in 32, 32768 x 32768 pixels would make a
    // file of 54 bytes. (Such an image is too large to save in a test.)
    EXPECT_EQ(BMPFile::savedFileSize(32768, 32768), 4294967350u);
    EXPECT_EQ(BMPFile::savedFileSize(2, 1), 62u);
}

TEST_F(ImageFileTest, AWriteThatFailsIsReported) {
    std::filesystem::remove("full.tga"); // left by an earlier run
    std::filesystem::create_symlink("/dev/full", "full.tga");
    EXPECT_EQ("Error saving file to disk", thrown<ImageFile::ImageFileException>([&] {
                  ImageFile("full.tga").save(Image(16, 16, Colour::BLUE));
              }));
}

} // namespace
} // namespace lum::test
