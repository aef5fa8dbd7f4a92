// The TGA codec against files written by Pillow and ImageMagick (24 and 32
// bits, both row orders, image IDs), patched copies of them, and our own saved files.
#include "tests/imagefile/PictureFileTest.h"

#include "framework/graphics/ImageFile.h"

#include <filesystem>

namespace lum::test {
namespace {

constexpr std::size_t HEADER_SIZE = 18;
constexpr std::size_t IMAGE_TYPE = 2;
constexpr std::size_t WIDTH = 12;
constexpr std::size_t HEIGHT = 14;
constexpr std::size_t DEPTH = 16;
constexpr std::size_t DESCRIPTOR = 17;

const std::string UNSUPPORTED = "Only 24 or 32 uncompressed images are supported";

class TGAFileTest : public PictureFileTest {
protected:
    Image load(const std::string& file) {
        Image image;
        ImageFile(file).load(image);
        return image;
    }

    std::string patchedCopy(const std::string& file, const std::string& name, std::size_t offset,
                            unsigned char value) {
        Bytes bytes = readBytes(file);
        bytes.at(offset) = value;
        writeBytes(path(name), bytes);
        return path(name);
    }
};

TEST_F(TGAFileTest, ASavedFileHasTheFixedHeaderAndBGRAPixelsBottomRowFirst) {
    Image picture(2, 2, Colour::BLACK);
    picture.plot(0, 0, Colour(1, 2, 3, 4)).plot(1, 0, Colour(5, 6, 7, 8));
    picture.plot(0, 1, Colour(9, 10, 11, 12)).plot(1, 1, Colour(13, 14, 15, 16));
    ImageFile(path("four.tga")).save(picture);
    const Bytes expected{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 0,
                         3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14, 13, 16};
    EXPECT_EQ(expected, readBytes(path("four.tga")));
}

TEST_F(TGAFileTest, PillowsFilesAreRead) {
    EXPECT_TRUE(showsPattern(load(pillow("rgb.tga", 5, 3)), 5, 3, false));
    EXPECT_TRUE(showsPattern(load(pillow("rgba.tga", 4, 3, "--alpha")), 4, 3, true));

    const std::string topLeft = pillow("topLeft.tga", 3, 4, "--alpha --top-left");
    ASSERT_EQ(0x20, readBytes(topLeft).at(DESCRIPTOR) & 0x20);
    EXPECT_TRUE(showsPattern(load(topLeft), 3, 4, true));

    // The pixels follow the image ID, whose length is the first byte.
    const std::string withId = pillow("withId.tga", 3, 2, "--id Vellorin");
    ASSERT_EQ(8, readBytes(withId).at(0));
    EXPECT_TRUE(showsPattern(load(withId), 3, 2, false));
}

TEST_F(TGAFileTest, ImageMagicksUncompressedFilesAreRead) {
    // This convert stores rows top row first whatever the origin it records,
    // so it is asked for a top-left origin, which it then records truthfully.
    const std::string opaque = convert("rgb.tga", 5, 3, false, "-type TrueColor -orient TopLeft -compress none");
    const Bytes bytes = readBytes(opaque);
    ASSERT_EQ(2, bytes.at(IMAGE_TYPE));
    ASSERT_EQ(24, bytes.at(DEPTH));
    ASSERT_EQ(0x20, bytes.at(DESCRIPTOR) & 0x20);
    EXPECT_TRUE(showsPattern(load(opaque), 5, 3, false));

    const std::string translucent = convert("rgba.tga", 4, 2, true, "-orient TopLeft -compress none");
    ASSERT_EQ(32, readBytes(translucent).at(DEPTH));
    EXPECT_TRUE(showsPattern(load(translucent), 4, 2, true));
}

TEST_F(TGAFileTest, CompressedColourMappedAndOtherDepthsAreRefused) {
    const std::string pillowRle = pillow("pillowRle.tga", 4, 3, "--rle");
    const std::string magickRle = convert("magickRle.tga", 4, 3, false, "-type TrueColor -compress RLE");
    const std::string mapped = convert("mapped.tga", 4, 3, false, "-type Palette");
    ASSERT_EQ(10, readBytes(pillowRle).at(IMAGE_TYPE));
    ASSERT_EQ(10, readBytes(magickRle).at(IMAGE_TYPE));
    ASSERT_EQ(1, readBytes(mapped).at(IMAGE_TYPE));
    const std::string plain = pillow("plain.tga", 4, 3);
    const std::string depth16 = patchedCopy(plain, "depth16.tga", DEPTH, 16);
    const std::string depth40 = patchedCopy(plain, "depth40.tga", DEPTH, 40);
    for (const std::string& file : {pillowRle, magickRle, mapped, depth16, depth40})
        expectRefused<ImageFile::ImageFileException>(file, UNSUPPORTED);
}

TEST_F(TGAFileTest, ZeroSizesAndTruncatedFilesAreCorruptedAndChangeNothing) {
    const std::string plain = pillow("plain.tga", 4, 3);
    expectCorrupted(patchedCopy(plain, "noWidth.tga", WIDTH, 0));
    expectCorrupted(patchedCopy(plain, "noHeight.tga", HEIGHT, 0));

    // Pillow appends a 26-byte footer; the pixels end before it.
    const Bytes whole = readBytes(plain);
    const std::size_t pixelsEnd = HEADER_SIZE + 4 * 3 * 3;
    writeBytes(path("noFooter.tga"), Bytes(whole.begin(), whole.begin() + pixelsEnd));
    EXPECT_TRUE(showsPattern(load(path("noFooter.tga")), 4, 3, false));
    for (std::size_t length : {pixelsEnd - 1, HEADER_SIZE + 1, HEADER_SIZE, std::size_t{10}}) {
        const std::string file = path("cut" + std::to_string(length) + ".tga");
        writeBytes(file, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        expectCorrupted(file);
    }
    // An image ID longer than what follows it.
    expectCorrupted(patchedCopy(path("noFooter.tga"), "longId.tga", 0, 255));
}

TEST_F(TGAFileTest, HugeDimensionsInASmallFileAreRefused) {
    Bytes bytes = readBytes(pillow("one.tga", 1, 1, "--alpha"));
    bytes.at(WIDTH) = bytes.at(WIDTH + 1) = bytes.at(HEIGHT) = bytes.at(HEIGHT + 1) = 0xFF;
    writeBytes(path("huge.tga"), bytes);
    expectCorrupted(path("huge.tga"));
}

TEST_F(TGAFileTest, AColourMapBeforeTrueColourPixelsIsSkipped) {
    // Type 2 files may carry a colour map they do not use: here 3 entries of 24 bits.
    Bytes bytes = readBytes(pillow("plain.tga", 4, 3));
    bytes.at(1) = 1;
    bytes.at(5) = 3;
    bytes.at(7) = 24;
    bytes.insert(bytes.begin() + HEADER_SIZE, 9, 0x77);
    writeBytes(path("unusedMap.tga"), bytes);
    EXPECT_TRUE(showsPattern(load(path("unusedMap.tga")), 4, 3, false));
}

TEST_F(TGAFileTest, RightToLeftRowsAreMirrored) {
    Bytes bytes = readBytes(pillow("plain.tga", 4, 3, "--alpha"));
    for (std::size_t row = 0; row < 3; ++row)
        for (std::size_t x = 0; x < 2; ++x)
            std::swap_ranges(bytes.begin() + HEADER_SIZE + row * 16 + x * 4,
                             bytes.begin() + HEADER_SIZE + row * 16 + x * 4 + 4,
                             bytes.begin() + HEADER_SIZE + row * 16 + (3 - x) * 4);
    bytes.at(DESCRIPTOR) |= 0x10;
    writeBytes(path("rightToLeft.tga"), bytes);
    EXPECT_TRUE(showsPattern(load(path("rightToLeft.tga")), 4, 3, true));
}

TEST_F(TGAFileTest, LoadingReplacesOpacityAndTransparentColour) {
    Image sprite = bystander();
    ImageFile(pillow("sprite.tga", 3, 2)).load(sprite);
    EXPECT_TRUE(showsPattern(sprite, 3, 2, false));
    EXPECT_EQ(255, sprite.getOpacity());
    EXPECT_EQ(nullptr, sprite.getTransparentColour());
}

TEST_F(TGAFileTest, ImagesBeyondSixteenBitDimensionsAreNotSaved) {
    const Image wide(65536, 1, Colour::RED);
    EXPECT_EQ(path("wide.tga") + " can not hold an image of 65536 x 1 pixels; TGA files are at most 65535 x 65535.",
              messageOf<ImageFile::ImageFileException>([&] { ImageFile(path("wide.tga")).save(wide); }));
    EXPECT_FALSE(std::filesystem::exists(path("wide.tga")));

    const Image widest(65535, 1, Colour::RED);
    ImageFile(path("widest.tga")).save(widest);
    EXPECT_EQ(65535u, load(path("widest.tga")).getWidth());
}

} // namespace
} // namespace lum::test
