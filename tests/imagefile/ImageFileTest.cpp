// The ImageFile front: codec choice by extension, renaming, and the failures
// of opening, reading and writing that both codecs share.
#include "tests/imagefile/PictureFileTest.h"

namespace lum::test {
namespace {

class ImageFileTest : public PictureFileTest {};

TEST_F(ImageFileTest, TheExtensionAfterTheLastDotPicksTheCodec) {
    const Image picture(2, 1, Colour::RED);
    for (const char* name : {"a.bmp", "a.b.tga", "c.tga.bmp"})
        ImageFile(path(name)).save(picture);
    EXPECT_EQ('B', readBytes(path("a.bmp")).at(0));
    EXPECT_EQ(2, readBytes(path("a.b.tga")).at(2));
    EXPECT_EQ(readBytes(path("a.bmp")), readBytes(path("c.tga.bmp")));

    auto refusalOf = [](const std::string& name) { return messageOf<std::runtime_error>([&] { ImageFile{name}; }); };
    EXPECT_EQ("Unable to determine file type, file has no extension", refusalOf("snakeHead"));
    EXPECT_EQ("Unsupported file extension: BMP", refusalOf("snakeHead.BMP"));
    EXPECT_EQ("Unsupported file extension: png", refusalOf("snakeHead.png"));
    EXPECT_EQ("Unsupported file extension: d/snakeHead", refusalOf("pictures.d/snakeHead"));
}

TEST_F(ImageFileTest, SetFilenameSwitchesTheCodecAndKeepsTheOldOneWhenRefused) {
    ImageFile file(path("first.bmp"));
    file.setFilename(path("second.tga"));
    EXPECT_THROW(file.setFilename(path("third.gif")), std::runtime_error);
    EXPECT_EQ(path("second.tga"), file.getFilename());
    file.save(Image(3, 2, Colour::RED));
    EXPECT_EQ(2, readBytes(path("second.tga")).at(2));
}

TEST_F(ImageFileTest, FailuresToReadOrWriteAreReported) {
    std::filesystem::create_directory(path("folder.bmp"));
    std::filesystem::create_directory(path("folder.tga"));
    for (const char* name : {"missing.bmp", "missing.tga", "folder.bmp", "folder.tga"})
        expectRefused(path(name), "Unable to load file " + path(name));

    const Image picture(16, 16, Colour::BLUE);
    for (const char* name : {"no-such-folder/x.bmp", "no-such-folder/x.tga"})
        EXPECT_EQ("Unable to open " + path(name) + " for saving image data to.",
                  messageOf<ImageFile::ImageFileException>([&] { ImageFile(path(name)).save(picture); }));
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full to fill";
    for (const char* name : {"full.bmp", "full.tga"}) {
        std::filesystem::create_symlink("/dev/full", path(name));
        EXPECT_EQ("Error saving file to disk",
                  messageOf<ImageFile::ImageFileException>([&] { ImageFile(path(name)).save(picture); }));
    }
}

TEST_F(ImageFileTest, SavedPicturesLoadBackExactly) {
    const Image picture = load(pillow("picture.tga", 7, 5, "--alpha"));
    for (const char* name : {"round.bmp", "round.tga"}) {
        ImageFile(path(name)).save(picture);
        EXPECT_TRUE(showsPattern(load(path(name)), 7, 5, true)) << name;
    }
}

} // namespace
} // namespace lum::test
