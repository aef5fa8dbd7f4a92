// The ImageFile front: codec choice by extension, renaming, and the failures
// of opening, reading and writing that both codecs share.
#include "tests/imagefile/PictureFileTest.h"

#include "framework/graphics/ImageFile.h"

#include <filesystem>

namespace lum::test {
namespace {

class ImageFileTest : public PictureFileTest {};

// The message of the std::runtime_error the name is refused with; the codec
// choice throws the plain type, not the codec's exception.
std::string refusalOf(const std::string& name) {
    try {
        ImageFile file(name);
    } catch (const ImageFile::ImageFileException& wrongType) {
        return std::string("ImageFileException: ") + wrongType.what();
    } catch (const std::runtime_error& refused) {
        return refused.what();
    }
    return "<accepted>";
}

TEST_F(ImageFileTest, TheExtensionAfterTheLastDotPicksTheCodec) {
    const Image picture(2, 1, Colour::RED);
    ImageFile(path("a.bmp")).save(picture);
    ImageFile(path("a.b.tga")).save(picture);
    ImageFile(path("c.tga.bmp")).save(picture);

    const Bytes bmp = readBytes(path("a.bmp"));
    EXPECT_EQ(62u, bmp.size());
    EXPECT_EQ('B', bmp.at(0));
    const Bytes tga = readBytes(path("a.b.tga"));
    EXPECT_EQ(18u + 8u, tga.size());
    EXPECT_EQ(2, tga.at(2));
    EXPECT_EQ(bmp, readBytes(path("c.tga.bmp")));
}

TEST_F(ImageFileTest, NamesWithoutAKnownLowerCaseExtensionAreRefused) {
    EXPECT_EQ("Unable to determine file type, file has no extension", refusalOf("snakeHead"));
    EXPECT_EQ("Unsupported file extension: BMP", refusalOf("snakeHead.BMP"));
    EXPECT_EQ("Unsupported file extension: TGA", refusalOf("snakeHead.TGA"));
    EXPECT_EQ("Unsupported file extension: png", refusalOf("snakeHead.png"));
    EXPECT_EQ("Unsupported file extension: d/snakeHead", refusalOf("pictures.d/snakeHead"));
    EXPECT_EQ("Unsupported file extension: ", refusalOf("snakeHead."));
}

TEST_F(ImageFileTest, SetFilenameSwitchesTheCodecAndKeepsTheOldOneWhenRefused) {
    ImageFile file(path("first.bmp"));
    EXPECT_EQ(path("first.bmp"), file.getFilename());

    file.setFilename(path("second.tga"));
    EXPECT_EQ(path("second.tga"), file.getFilename());
    EXPECT_THROW(file.setFilename(path("third.gif")), std::runtime_error);
    EXPECT_EQ(path("second.tga"), file.getFilename());

    file.save(patternImage(3, 2, true));
    EXPECT_EQ(2, readBytes(path("second.tga")).at(2));
}

TEST_F(ImageFileTest, FilesThatCannotBeReadAreReported) {
    std::filesystem::create_directory(path("folder.bmp"));
    std::filesystem::create_directory(path("folder.tga"));
    for (const char* name : {"missing.bmp", "missing.tga", "folder.bmp", "folder.tga"})
        expectRefused<ImageFile::ImageFileException>(path(name), "Unable to load file " + path(name));
}

TEST_F(ImageFileTest, FilesThatCannotBeWrittenAreReported) {
    const Image picture(2, 2, Colour::BLUE);
    for (const char* name : {"no-such-folder/x.bmp", "no-such-folder/x.tga"})
        EXPECT_EQ("Unable to open " + path(name) + " for saving image data to.",
                  messageOf<ImageFile::ImageFileException>([&] { ImageFile(path(name)).save(picture); }));
}

TEST_F(ImageFileTest, AFullDiskIsReportedByBothCodecs) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const Image picture(16, 16, Colour::BLUE);
    for (const char* name : {"full.bmp", "full.tga"}) {
        std::filesystem::create_symlink("/dev/full", path(name));
        EXPECT_EQ("Error saving file to disk",
                  messageOf<ImageFile::ImageFileException>([&] { ImageFile(path(name)).save(picture); }))
            << name;
    }
}

TEST_F(ImageFileTest, SavedPicturesLoadBackExactly) {
    const Image picture = patternImage(7, 5, true);
    for (const char* name : {"round.bmp", "round.tga"}) {
        ImageFile file(path(name));
        file.save(picture);
        Image loaded;
        file.load(loaded);
        EXPECT_TRUE(showsPattern(loaded, 7, 5, true)) << name;
    }
}

} // namespace
} // namespace lum::test
