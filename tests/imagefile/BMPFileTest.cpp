// The BMP codec against files written by Pillow and ImageMagick (40-, 108- and
// 124-byte info headers, 24 and 32 bits, masks, both row orders), patched
// copies of them, and our own saved files.
#include "tests/imagefile/PictureFileTest.h"

#include "framework/graphics/Screen.h"

namespace lum::test {
namespace {

constexpr std::size_t DATA_OFFSET = 10, INFO_SIZE = 14, WIDTH = 18, HEIGHT = 22, BITS = 28, COMPRESSION = 30;
constexpr std::size_t MASKS = 54; // red, green, blue, alpha

class BMPFileTest : public PictureFileTest {};

TEST_F(BMPFileTest, ASavedFileHasTheFixedHeadersAndBGRAPixels) {
    Image picture(2, 1, Colour::BLACK);
    picture.plot(0, 0, Colour(1, 2, 3, 4)).plot(1, 0, Colour(5, 6, 7, 8));
    ImageFile(path("two.bmp")).save(picture);
    const Bytes expected{'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header
                         40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 8, 0, 0, 0,
                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // info header
                         3, 2, 1, 4, 7, 6, 5, 8};
    EXPECT_EQ(expected, readBytes(path("two.bmp")));
}

TEST_F(BMPFileTest, ImageMagicksFilesAndInfoHeadersOf40To124BytesWithMasksAreRead) {
    const std::string v5 = convert("", "v5.bmp", 5, 3, false); // a plain convert
    ASSERT_EQ(124, readBytes(v5).at(INFO_SIZE));
    EXPECT_TRUE(showsPattern(load(v5), 5, 3, false));
    EXPECT_TRUE(showsPattern(load(convert("", "v5alpha.bmp", 5, 3, true)), 5, 3, true)); // 8-bit masks
    EXPECT_TRUE(showsPattern(load(convert("BMP3:", "v3.bmp", 6, 2, false)), 6, 2, false));

    // The 108-byte header is the 124-byte one without its last four fields.
    const Bytes whole = readBytes(v5);
    Bytes v4(whole.begin(), whole.begin() + 14 + 108);
    v4.insert(v4.end(), whole.begin() + whole.at(DATA_OFFSET), whole.end());
    putLE(v4, INFO_SIZE, 108);
    putLE(v4, DATA_OFFSET, 122);
    EXPECT_TRUE(showsPattern(load(writeBytes("v4.bmp", v4)), 5, 3, false));

    // Without an alpha mask the fourth byte is unused. After a 40-byte header the
    // three masks follow it, and the pixels cannot start among them.
    const std::string noAlpha = patched(path("v5alpha.bmp"), "noAlpha.bmp", [](Bytes& b) { putLE(b, MASKS + 12, 0); });
    EXPECT_TRUE(showsPattern(load(noAlpha), 5, 3, false));
    const std::string masks40 = patched(pillow("rgb32.bmp", 4, 3, "--alpha"), "masks40.bmp", [](Bytes& b) {
        b.insert(b.begin() + 54, {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0});
        putLE(b, COMPRESSION, 3);
        putLE(b, DATA_OFFSET, 66);
    });
    EXPECT_TRUE(showsPattern(load(masks40), 4, 3, false));
    expectCorrupted(patched(masks40, "amongMasks.bmp", [](Bytes& b) { putLE(b, DATA_OFFSET, 60); }));
}

TEST_F(BMPFileTest, PillowsFilesAreReadWithTheirRowPaddingAlphaAndRowOrder) {
    for (unsigned int width = 1; width <= 4; ++width)
        EXPECT_TRUE(showsPattern(load(pillow("w" + std::to_string(width) + ".bmp", width, 3)), width, 3, false));
    EXPECT_TRUE(showsPattern(load(pillow("alpha.bmp", 5, 4, "--alpha")), 5, 4, true));
    // 25 to 31 bits per pixel are read as 3 bytes.
    EXPECT_TRUE(showsPattern(load(patched(path("w3.bmp"), "bits25.bmp", [](Bytes& b) { putLE(b, BITS, 25, 2); })),
                             3, 3, false));
    // Top row first under a negative height.
    const std::string down = patched(pillow("up.bmp", 3, 4), "down.bmp", [](Bytes& b) {
        const std::size_t stride = (b.size() - 54) / 4;
        for (std::size_t row = 0; row < 2; ++row)
            std::swap_ranges(b.begin() + 54 + row * stride, b.begin() + 54 + (row + 1) * stride,
                             b.begin() + 54 + (3 - row) * stride);
        putLE(b, HEIGHT, std::uint32_t(-4));
    });
    EXPECT_TRUE(showsPattern(load(down), 3, 4, false));
}

TEST_F(BMPFileTest, UnsupportedFilesAreRefusedByName) {
    const std::string v5 = convert("", "v5alpha.bmp", 4, 3, true);
    const std::string palette = convert("BMP3:", "palette.bmp", 5, 3, false, "-type Palette");
    const std::string only = " only 24 or 32 bit BMP files are supported.";
    const std::string masks = " has colour masks other than 8-bit blue, green, red and alpha, which are not supported.";
    const std::pair<std::string, std::string> cases[] = {
        {writeBytes("png.bmp", {0x89, 'P', 'N', 'G', '\r', '\n'}), " is not a BMP file."},
        {writeBytes("empty.bmp", {}), " is not a BMP file."},
        {convert("BMP2:", "os2.bmp", 4, 3, false),
         " has a 12-byte info header; only BMP files with info headers of 40 bytes or more are supported."},
        {palette, " is a " + std::to_string(readBytes(palette).at(BITS)) + only},
        {patched(v5, "bits33.bmp", [](Bytes& b) { putLE(b, BITS, 33, 2); }), " is a 33" + only},
        {patched(v5, "swapped.bmp", [](Bytes& b) { putLE(b, MASKS, 0xFF); }), masks},
        {patched(v5, "oddAlpha.bmp", [](Bytes& b) { putLE(b, MASKS + 12, 0x0F000000); }), masks},
        {patched(v5, "rle.bmp", [](Bytes& b) { putLE(b, COMPRESSION, 1); }),
         " is compressed; only uncompressed BMP files are supported."},
    };
    for (const auto& [file, message] : cases)
        expectRefused(file, file + message);
}

TEST_F(BMPFileTest, FilesThatDoNotHoldWhatTheyClaimAreCorrupted) {
    const std::string w5 = pillow("w5.bmp", 5, 3); // 102 bytes
    // The last row's padding may be missing; any pixel byte may not.
    EXPECT_TRUE(showsPattern(load(patched(w5, "noPadding.bmp", [](Bytes& b) { b.pop_back(); })), 5, 3, false));
    for (std::size_t length : {100, 54, 40, 17})
        expectCorrupted(patched(w5, "cut" + std::to_string(length) + ".bmp", [&](Bytes& b) { b.resize(length); }));
    // More pixels than bytes, a height with no row count, pixels among the headers or past the end.
    const std::pair<std::size_t, std::uint32_t> fields[] = {{WIDTH, 70000},       {HEIGHT, 0x7FFFFFFF},
                                                            {WIDTH, 0xFFFFFFFF},  {HEIGHT, 0x80000000},
                                                            {DATA_OFFSET, 53},    {DATA_OFFSET, 103}};
    for (const auto& [field, value] : fields)
        expectCorrupted(patched(w5, std::to_string(field) + "-" + std::to_string(value) + ".bmp",
                                [&](Bytes& b) { putLE(b, field, value); }));
    expectRefused<Image::ImageException>(patched(w5, "noWidth.bmp", [](Bytes& b) { putLE(b, WIDTH, 0); }),
                                         "Invalid image dimensions specified: 0 3");
}

TEST_F(BMPFileTest, LoadingKeepsTheTargetsOpacityAndKeyAndTheScreensSize) {
    Image sprite(9, 9, Colour::WHITE);
    sprite.setAlpha(0.5f).setTransparentColour(Colour::MAGENTA);
    ImageFile(pillow("snakeHead.bmp", 4, 5)).load(sprite);
    EXPECT_TRUE(showsPattern(sprite, 4, 5, false));
    EXPECT_EQ(Colour::MAGENTA, *sprite.getTransparentColour());
    EXPECT_EQ(127, sprite.getOpacity());

    // The screen refuses to resize (and logs it) and takes the part it holds.
    Screen screen(3, 6);
    ImageFile(path("snakeHead.bmp")).load(screen);
    ASSERT_EQ(3u, screen.getWidth());
    for (unsigned int y = 0; y < 6; ++y)
        for (unsigned int x = 0; x < 3; ++x)
            EXPECT_EQ(y < 5 ? patternPixel(x, y, false) : Colour::BLACK, screen.getPixel(x, y));
}

} // namespace
} // namespace lum::test
