// The BMP codec against files written by Pillow and ImageMagick (40-, 108- and
// 124-byte info headers, 24 and 32 bits, masks, both row orders), patched
// copies of them, and our own saved files.
#include "tests/imagefile/PictureFileTest.h"

#include "framework/graphics/ImageFile.h"
#include "framework/graphics/Screen.h"

namespace lum::test {
namespace {

constexpr std::size_t DATA_OFFSET = 10;
constexpr std::size_t INFO_SIZE = 14;
constexpr std::size_t WIDTH = 18;
constexpr std::size_t HEIGHT = 22;
constexpr std::size_t BITS = 28;
constexpr std::size_t COMPRESSION = 30;
constexpr std::size_t MASKS = 54;

class BMPFileTest : public PictureFileTest {
protected:
    Image load(const std::string& file) {
        Image image;
        ImageFile(file).load(image);
        return image;
    }

    // A patched copy of a file, saved next to it under a new name.
    std::string patched(const std::string& file, const std::string& name, void (*patch)(Bytes&)) {
        Bytes bytes = readBytes(file);
        patch(bytes);
        writeBytes(path(name), bytes);
        return path(name);
    }

    std::string unsupportedBits(const std::string& file, std::uint32_t bits) {
        return file + " is a " + std::to_string(bits) + " only 24 or 32 bit BMP files are supported.";
    }
};

// The same picture with its rows stored top row first and a negative height.
void makeTopDown(Bytes& bytes) {
    const std::uint32_t offset = get32(bytes, DATA_OFFSET);
    const std::uint32_t height = get32(bytes, HEIGHT);
    const std::size_t stride = (bytes.size() - offset) / height;
    Bytes rows;
    for (std::uint32_t row = height; row-- > 0;)
        rows.insert(rows.end(), bytes.begin() + offset + row * stride, bytes.begin() + offset + (row + 1) * stride);
    std::copy(rows.begin(), rows.end(), bytes.begin() + offset);
    put32(bytes, HEIGHT, static_cast<std::uint32_t>(-static_cast<std::int64_t>(height)));
}

TEST_F(BMPFileTest, ASavedFileHasTheFixedHeadersAndBGRAPixelsBottomRowFirst) {
    Image picture(2, 1, Colour::BLACK);
    picture.plot(0, 0, Colour(1, 2, 3, 4)).plot(1, 0, Colour(5, 6, 7, 8));
    ImageFile(path("two.bmp")).save(picture);
    const Bytes expected{'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header
                         40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 8, 0, 0, 0,
                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // info header
                         3, 2, 1, 4, 7, 6, 5, 8};
    EXPECT_EQ(expected, readBytes(path("two.bmp")));

    Image tall(1, 2, Colour::BLACK);
    tall.plot(0, 0, Colour(10, 20, 30, 40)).plot(0, 1, Colour(50, 60, 70, 80));
    ImageFile(path("tall.bmp")).save(tall);
    const Bytes saved = readBytes(path("tall.bmp"));
    EXPECT_EQ((Bytes{30, 20, 10, 40, 70, 60, 50, 80}), Bytes(saved.begin() + 54, saved.end()));
}

TEST_F(BMPFileTest, PillowsTwentyFourBitRowsArePaddedToFourBytes) {
    for (unsigned int width = 1; width <= 5; ++width) {
        const std::string file = pillow("w" + std::to_string(width) + ".bmp", width, 3);
        const std::size_t stride = (width * 3 + 3) / 4 * 4;
        ASSERT_EQ(54 + 3 * stride, readBytes(file).size()) << "Pillow wrote unpadded rows";
        EXPECT_TRUE(showsPattern(load(file), width, 3, false)) << "width " << width;
    }
}

TEST_F(BMPFileTest, PillowsThirtyTwoBitFilesKeepTheirAlpha) {
    const std::string file = pillow("alpha.bmp", 5, 4, "--alpha");
    ASSERT_EQ(32u, get32(readBytes(file), BITS) & 0xFFFF);
    EXPECT_TRUE(showsPattern(load(file), 5, 4, true));
}

TEST_F(BMPFileTest, ImageMagicksDefault124ByteHeadersAreRead) {
    const std::string opaque = convert("v5.bmp", 5, 3, false, "-type TrueColor");
    const Bytes bytes = readBytes(opaque);
    ASSERT_EQ(124u, get32(bytes, INFO_SIZE));
    ASSERT_EQ(138u, get32(bytes, DATA_OFFSET));
    EXPECT_TRUE(showsPattern(load(opaque), 5, 3, false));

    // With alpha: 32 bits, BI_BITFIELDS with 8-bit masks, alpha included.
    const std::string translucent = convert("v5alpha.bmp", 5, 3, true, "-type TrueColorAlpha");
    const Bytes alphaBytes = readBytes(translucent);
    ASSERT_EQ(3u, get32(alphaBytes, COMPRESSION));
    ASSERT_EQ(0xFF000000u, get32(alphaBytes, MASKS + 12));
    EXPECT_TRUE(showsPattern(load(translucent), 5, 3, true));
}

TEST_F(BMPFileTest, ImageMagicksFortyByteHeadersAreRead) {
    const std::string opaque = convert("BMP3:v3.bmp", 6, 2, false, "-type TrueColor");
    ASSERT_EQ(40u, get32(readBytes(opaque), INFO_SIZE));
    EXPECT_TRUE(showsPattern(load(opaque), 6, 2, false));

    const std::string translucent = convert("BMP3:v3alpha.bmp", 3, 3, true, "-define bmp3:alpha=true");
    ASSERT_EQ(32u, get32(readBytes(translucent), BITS) & 0xFFFF);
    EXPECT_TRUE(showsPattern(load(translucent), 3, 3, true));
}

TEST_F(BMPFileTest, A108ByteHeaderIsRead) {
    // The 108-byte header is the 124-byte one without its last four fields.
    const Bytes v5 = readBytes(convert("v5.bmp", 5, 3, false, "-type TrueColor"));
    Bytes v4(v5.begin(), v5.begin() + 14 + 108);
    v4.insert(v4.end(), v5.begin() + get32(v5, DATA_OFFSET), v5.end());
    put32(v4, INFO_SIZE, 108);
    put32(v4, DATA_OFFSET, 122);
    writeBytes(path("v4.bmp"), v4);
    EXPECT_TRUE(showsPattern(load(path("v4.bmp")), 5, 3, false));
}

TEST_F(BMPFileTest, ThePixelOffsetIsHonoured) {
    Bytes bytes = readBytes(pillow("gap.bmp", 3, 2));
    bytes.insert(bytes.begin() + 54, 10, 0xEE);
    put32(bytes, DATA_OFFSET, 64);
    writeBytes(path("gap.bmp"), bytes);
    EXPECT_TRUE(showsPattern(load(path("gap.bmp")), 3, 2, false));

    // Inside the headers, or past the end of the file.
    expectCorrupted(patched(path("gap.bmp"), "early.bmp", [](Bytes& b) { put32(b, DATA_OFFSET, 53); }));
    expectCorrupted(patched(path("gap.bmp"), "late.bmp", [](Bytes& b) { put32(b, DATA_OFFSET, b.size() + 1); }));
    expectCorrupted(
        patched(path("gap.bmp"), "atEnd.bmp", [](Bytes& b) { put32(b, DATA_OFFSET, b.size()); }));
}

TEST_F(BMPFileTest, BitfieldsWithoutAnAlphaMaskGiveOpaquePixels) {
    const std::string v5 = convert("v5alpha.bmp", 4, 3, true, "-type TrueColorAlpha");
    EXPECT_TRUE(showsPattern(load(patched(v5, "noAlphaMask.bmp", [](Bytes& b) { put32(b, MASKS + 12, 0); })), 4, 3,
                             false));

    // A 40-byte header with BI_BITFIELDS: three masks follow it, and none is alpha.
    Bytes bytes = readBytes(pillow("rgb32.bmp", 4, 3, "--alpha"));
    const Bytes masks{0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
    bytes.insert(bytes.begin() + 54, masks.begin(), masks.end());
    put32(bytes, COMPRESSION, 3);
    put32(bytes, DATA_OFFSET, 66);
    writeBytes(path("masks40.bmp"), bytes);
    EXPECT_TRUE(showsPattern(load(path("masks40.bmp")), 4, 3, false));
    // The masks are part of the headers: pixels cannot start among them.
    expectCorrupted(patched(path("masks40.bmp"), "amongMasks.bmp", [](Bytes& b) { put32(b, DATA_OFFSET, 60); }));
}

TEST_F(BMPFileTest, OtherMasksAndCompressionsAreRefused) {
    const std::string v5 = convert("v5alpha.bmp", 4, 3, true, "-type TrueColorAlpha");
    const std::string masksMessage =
        " has colour masks other than 8-bit blue, green, red and alpha, which are not supported.";
    const std::string swapped = patched(v5, "swapped.bmp", [](Bytes& b) {
        put32(b, MASKS, 0x000000FF);
        put32(b, MASKS + 8, 0x00FF0000);
    });
    expectRefused<ImageFile::ImageFileException>(swapped, swapped + masksMessage);
    const std::string oddAlpha = patched(v5, "oddAlpha.bmp", [](Bytes& b) { put32(b, MASKS + 12, 0x0F000000); });
    expectRefused<ImageFile::ImageFileException>(oddAlpha, oddAlpha + masksMessage);

    const std::string v3 = convert("BMP3:v3.bmp", 4, 3, false, "-type TrueColor");
    const std::string bitfields24 = patched(v3, "bitfields24.bmp", [](Bytes& b) { put32(b, COMPRESSION, 3); });
    expectRefused<ImageFile::ImageFileException>(bitfields24, bitfields24 + masksMessage);
    for (std::uint32_t compression : {1u, 2u, 4u, 5u, 6u}) {
        Bytes bytes = readBytes(v3);
        put32(bytes, COMPRESSION, compression);
        const std::string file = path("compressed" + std::to_string(compression) + ".bmp");
        writeBytes(file, bytes);
        expectRefused<ImageFile::ImageFileException>(
            file, file + " is compressed; only uncompressed BMP files are supported.");
    }
}

TEST_F(BMPFileTest, InfoHeadersUnderFortyBytesAreRefused) {
    const std::string os2 = convert("BMP2:os2.bmp", 4, 3, false, "-type TrueColor");
    ASSERT_EQ(12u, get32(readBytes(os2), INFO_SIZE));
    expectRefused<ImageFile::ImageFileException>(
        os2, os2 + " has a 12-byte info header; only BMP files with info headers of 40 bytes or more are supported.");
}

TEST_F(BMPFileTest, TopDownRowsLoadTheRightWayUp) {
    EXPECT_TRUE(showsPattern(load(patched(pillow("up24.bmp", 3, 4), "down24.bmp", makeTopDown)), 3, 4, false));
    EXPECT_TRUE(
        showsPattern(load(patched(pillow("up32.bmp", 4, 3, "--alpha"), "down32.bmp", makeTopDown)), 4, 3, true));
    // The most negative height cannot be turned into a row count.
    expectCorrupted(patched(path("down24.bmp"), "mostNegative.bmp", [](Bytes& b) { put32(b, HEIGHT, 0x80000000); }));
}

TEST_F(BMPFileTest, OnlyTwentyFourToThirtyTwoBitsPerPixelAreRead) {
    // 25 to 31 bits are read as 3-byte pixels.
    const std::string bits25 = patched(pillow("w5.bmp", 5, 2), "bits25.bmp", [](Bytes& b) { put16(b, BITS, 25); });
    EXPECT_TRUE(showsPattern(load(bits25), 5, 2, false));

    const std::string palette = convert("palette.bmp", 5, 3, false, "-type Palette");
    const std::uint32_t paletteBits = get32(readBytes(palette), BITS) & 0xFFFF;
    ASSERT_LT(paletteBits, 24u);
    expectRefused<ImageFile::ImageFileException>(palette, unsupportedBits(palette, paletteBits));
    const std::string bits33 = patched(path("w5.bmp"), "bits33.bmp", [](Bytes& b) { put16(b, BITS, 33); });
    expectRefused<ImageFile::ImageFileException>(bits33, unsupportedBits(bits33, 33));
    const std::string bits16 = patched(path("w5.bmp"), "bits16.bmp", [](Bytes& b) { put16(b, BITS, 16); });
    expectRefused<ImageFile::ImageFileException>(bits16, unsupportedBits(bits16, 16));
}

TEST_F(BMPFileTest, FilesWithoutTheSignatureAreNotBMPFiles) {
    const std::string png = path("picture.bmp");
    writeBytes(png, readBytes(pillow("picture.png", 3, 3)));
    expectRefused<ImageFile::ImageFileException>(png, png + " is not a BMP file.");
    writeBytes(path("empty.bmp"), {});
    expectRefused<ImageFile::ImageFileException>(path("empty.bmp"), path("empty.bmp") + " is not a BMP file.");
}

TEST_F(BMPFileTest, TruncatedFilesAreCorruptedAndChangeNothing) {
    const Bytes whole = readBytes(pillow("w5.bmp", 5, 3));
    // The last row's padding may be missing; any pixel byte may not.
    writeBytes(path("noPadding.bmp"), Bytes(whole.begin(), whole.end() - 1));
    EXPECT_TRUE(showsPattern(load(path("noPadding.bmp")), 5, 3, false));
    for (std::size_t length : {whole.size() - 2, std::size_t{60}, std::size_t{54}, std::size_t{40}, std::size_t{17}}) {
        const std::string file = path("cut" + std::to_string(length) + ".bmp");
        writeBytes(file, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        expectCorrupted(file);
    }
}

TEST_F(BMPFileTest, HugeDimensionsInASmallFileAreRefused) {
    const std::string header = pillow("one.bmp", 1, 1);
    for (auto [width, height] : {std::pair<std::uint32_t, std::uint32_t>{70000, 70000},
                                 {60000, 60000}, {0xFFFFFFFF, 0x7FFFFFFF}, {1, 0x7FFFFFFF}, {0x7FFFFFFF, 1}}) {
        Bytes bytes = readBytes(header);
        put32(bytes, WIDTH, width);
        put32(bytes, HEIGHT, height);
        const std::string file = path(std::to_string(width) + "x" + std::to_string(height) + ".bmp");
        writeBytes(file, bytes);
        expectCorrupted(file);
    }
}

TEST_F(BMPFileTest, AZeroDimensionIsAnInvalidImageSize) {
    const std::string noWidth = patched(pillow("w5.bmp", 5, 3), "noWidth.bmp", [](Bytes& b) { put32(b, WIDTH, 0); });
    expectRefused<Image::ImageException>(noWidth, "Invalid image dimensions specified: 0 3");
    const std::string noHeight = patched(path("w5.bmp"), "noHeight.bmp", [](Bytes& b) { put32(b, HEIGHT, 0); });
    expectRefused<Image::ImageException>(noHeight, "Invalid image dimensions specified: 5 0");
}

TEST_F(BMPFileTest, ASpriteKeepsItsOpacityAndMagentaKeyWhenLoaded) {
    const std::string head = pillow("snakeHead.bmp", 4, 5);
    Image sprite;
    sprite.setTransparentColour(Colour::MAGENTA);
    sprite.setAlpha(0.5f);
    ImageFile(head).load(sprite);
    EXPECT_TRUE(showsPattern(sprite, 4, 5, false));
    ASSERT_NE(nullptr, sprite.getTransparentColour());
    EXPECT_EQ(Colour::MAGENTA, *sprite.getTransparentColour());
    EXPECT_EQ(127, sprite.getOpacity());

    // A larger image shrinks to the picture.
    Image large(9, 9, Colour::WHITE);
    ImageFile(head).load(large);
    EXPECT_TRUE(showsPattern(large, 4, 5, false));
}

TEST_F(BMPFileTest, TheScreenKeepsItsSizeAndTakesThePartOfThePictureItHolds) {
    // Resizing the screen is refused with a log line, not an exception.
    Screen screen(3, 3);
    ImageFile(pillow("wide.bmp", 5, 2)).load(screen);
    ASSERT_EQ(3u, screen.getWidth());
    ASSERT_EQ(3u, screen.getHeight());
    for (unsigned int x = 0; x < 3; ++x) {
        EXPECT_EQ(patternPixel(x, 0, false), screen.getPixel(x, 0));
        EXPECT_EQ(patternPixel(x, 1, false), screen.getPixel(x, 1));
        EXPECT_EQ(Colour::BLACK, screen.getPixel(x, 2));
    }
}

} // namespace
} // namespace lum::test
