// Test support for the image file codecs: a fresh temporary folder per test,
// picture files made at test time by other programs (Pillow through
// make_picture.py, ImageMagick's convert), byte-level patching of those files,
// and the pattern every generated picture carries.
#pragma once

#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lum::test {

using Bytes = std::vector<unsigned char>;

// The colour make_picture.py gives pixel (x, y), y counted from the bottom row.
Colour patternPixel(unsigned int x, unsigned int y, bool alpha);
Image patternImage(unsigned int width, unsigned int height, bool alpha);
::testing::AssertionResult showsPattern(const Image& image, unsigned int width, unsigned int height, bool alpha);

// The message of the exception of type E that call throws, or a note that it threw none.
template <typename E, typename Call> std::string messageOf(Call&& call) {
    try {
        call();
    } catch (const E& thrown) {
        return thrown.what();
    }
    return "<nothing thrown>";
}

std::uint32_t get32(const Bytes& bytes, std::size_t offset);
void put16(Bytes& bytes, std::size_t offset, std::uint32_t value);
void put32(Bytes& bytes, std::size_t offset, std::uint32_t value);

class PictureFileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path(const std::string& name) const;

    // Pillow writes the pattern; the format follows the name's extension.
    // Options: --alpha, --rle, --id TEXT, --top-left.
    std::string pillow(const std::string& name, unsigned int width, unsigned int height,
                       const std::string& options = "");
    // ImageMagick's convert turns the pattern (a PNG from Pillow) into the named
    // file; `output` may carry a format prefix such as "BMP3:".
    std::string convert(const std::string& output, unsigned int width, unsigned int height, bool alpha,
                        const std::string& options);

    static Bytes readBytes(const std::string& file);
    static void writeBytes(const std::string& file, const Bytes& bytes);

    // Loads the file into an image that already has pixels, an opacity and a
    // transparent colour; expects exception E with the message, and the image unchanged.
    template <typename E> void expectRefused(const std::string& file, const std::string& message) {
        SCOPED_TRACE(file);
        Image target = bystander();
        EXPECT_EQ(message, messageOf<E>([&] { ImageFile(file).load(target); }));
        expectBystander(target);
    }
    void expectCorrupted(const std::string& file) {
        expectRefused<ImageFile::ImageFileException>(file, file + " appears to be a corrupted file");
    }

    static Image bystander();
    static void expectBystander(const Image& image);

private:
    static void run(const std::string& command);

    std::string folder;
};

} // namespace lum::test
