// The TGA codec against files written by Pillow and ImageMagick (24 and 32
// bits, both row orders, image IDs), patched copies of them, and our own saved files.
#include "tests/imagefile/PictureFileTest.h"

namespace lum::test {
namespace {

constexpr std::size_t HEADER_SIZE = 18, WIDTH = 12, HEIGHT = 14, DEPTH = 16, DESCRIPTOR = 17;

class TGAFileTest : public PictureFileTest {};

TEST_F(TGAFileTest, ASavedFileHasTheFixedHeaderAndBGRAPixelsBottomRowFirst) {
    Image picture(2, 2, Colour::BLACK);
    picture.plot(0, 0, Colour(1, 2, 3, 4)).plot(1, 0, Colour(5, 6, 7, 8));
    picture.plot(0, 1, Colour(9, 10, 11, 12)).plot(1, 1, Colour(13, 14, 15, 16));
    ImageFile(path("four.tga")).save(picture);
    const Bytes expected{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 0,
                         3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14, 13, 16};
    EXPECT_EQ(expected, readBytes(path("four.tga")));

    // Width and height are 16-bit fields.
    EXPECT_EQ(path("wide.tga") + " can not hold an image of 65536 x 1 pixels; TGA files are at most 65535 x 65535.",
              messageOf<ImageFile::ImageFileException>(
                  [&] { ImageFile(path("wide.tga")).save(Image(65536, 1, Colour::RED)); }));
}

TEST_F(TGAFileTest, PillowsAndImageMagicksFilesInEveryRowOrderAreRead) {
    EXPECT_TRUE(showsPattern(load(pillow("rgb.tga", 5, 3)), 5, 3, false));
    EXPECT_TRUE(showsPattern(load(pillow("rgba.tga", 4, 3, "--alpha")), 4, 3, true));
    EXPECT_TRUE(showsPattern(load(pillow("topLeft.tga", 3, 4, "--alpha --top-left")), 3, 4, true));
    // The pixels follow the image ID, whose length is the first byte.
    EXPECT_TRUE(showsPattern(load(pillow("withId.tga", 3, 2, "--id Vellorin")), 3, 2, false));
    // This convert stores rows top row first whatever origin it records, so it
    // is asked for a top-left origin, which it then records truthfully.
    const std::string magick = convert("", "magick.tga", 4, 2, true, "-orient TopLeft -compress none");
    EXPECT_TRUE(showsPattern(load(magick), 4, 2, true));

    // An unused colour map is skipped; right-to-left rows are mirrored.
    const Bytes plain = readBytes(pillow("plain.tga", 2, 1, "--alpha"));
    Bytes mapped = plain; // three 24-bit entries
    mapped.at(1) = 1, mapped.at(5) = 3, mapped.at(7) = 24;
    mapped.insert(mapped.begin() + HEADER_SIZE, 9, 0x77);
    EXPECT_TRUE(showsPattern(load(writeBytes("unusedMap.tga", mapped)), 2, 1, true));
    Bytes mirrored = plain;
    std::swap_ranges(&mirrored[HEADER_SIZE], &mirrored[HEADER_SIZE + 4], &mirrored[HEADER_SIZE + 4]);
    mirrored.at(DESCRIPTOR) |= 0x10;
    EXPECT_TRUE(showsPattern(load(writeBytes("rightToLeft.tga", mirrored)), 2, 1, true));
}

TEST_F(TGAFileTest, UnsupportedAndCorruptedFilesAreRefused) {
    const std::string plain = pillow("plain.tga", 4, 3);
    for (const std::string& file :
         {pillow("rle.tga", 4, 3, "--rle"), patched(plain, "depth16.tga", [](Bytes& b) { b.at(DEPTH) = 16; })})
        expectRefused(file, "Only 24 or 32 uncompressed images are supported");

    const std::pair<std::size_t, std::uint32_t> fields[] = {{WIDTH, 0}, {HEIGHT, 0}, {WIDTH, 0xFFFF}, {0, 255}};
    for (const auto& [field, value] : fields) // zero sizes, more pixels than bytes, an ID past the end
        expectCorrupted(patched(plain, std::to_string(field) + ".tga", [&](Bytes& b) { putLE(b, field, value, 2); }));
    const std::size_t pixelsEnd = HEADER_SIZE + 4 * 3 * 3; // Pillow's 26-byte footer follows
    EXPECT_TRUE(showsPattern(load(patched(plain, "bare.tga", [&](Bytes& b) { b.resize(pixelsEnd); })), 4, 3, false));
    for (std::size_t length : {pixelsEnd - 1, HEADER_SIZE, std::size_t{10}})
        expectCorrupted(patched(plain, "cut" + std::to_string(length) + ".tga", [&](Bytes& b) { b.resize(length); }));
}

TEST_F(TGAFileTest, LoadingReplacesOpacityAndTransparentColour) {
    Image sprite(2, 2, Colour::GREEN);
    sprite.setAlpha(0.5f).setTransparentColour(Colour::MAGENTA);
    ImageFile(pillow("sprite.tga", 3, 2)).load(sprite);
    EXPECT_TRUE(showsPattern(sprite, 3, 2, false));
    EXPECT_EQ(255, sprite.getOpacity());
    EXPECT_EQ(nullptr, sprite.getTransparentColour());
}

} // namespace
} // namespace lum::test
