// Test support for the image file codecs: picture files made at test time by
// other code (Pillow and hand-made BMPs through make_picture.py, ImageMagick's
// convert), byte-level patching of those files, and the pattern every
// generated picture carries.
#pragma once

#include "framework/graphics/Image.h"
#include "framework/graphics/ImageFile.h"
#include "tests/imagefile/HostCommand.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace lum::test {

using Bytes = std::vector<unsigned char>;

// The colour make_picture.py gives pixel (x, y), y counted from the bottom row.
inline Colour patternPixel(unsigned int x, unsigned int y, bool alpha) {
    return Colour(std::uint8_t((x * 37 + y * 11 + 5) % 256), std::uint8_t((x * 13 + y * 71 + 100) % 256),
                  std::uint8_t((x * 7 + y * 3 + 200) % 256), std::uint8_t(alpha ? 128 + (x * 13 + y * 7) % 127 : 255));
}

inline bool showsPattern(const Image& image, unsigned int width, unsigned int height, bool alpha) {
    bool same = image.getWidth() == width && image.getHeight() == height;
    for (unsigned int i = 0; same && i < width * height; ++i)
        same = image.getPixel(i % width, i / width) == patternPixel(i % width, i / width, alpha);
    return same;
}

inline void putLE(Bytes& bytes, std::size_t offset, std::uint32_t value, unsigned int byteCount = 4) {
    for (unsigned int i = 0; i < byteCount; ++i, value >>= 8)
        bytes.at(offset + i) = value & 0xFF;
}

// Each test runs in a folder of its own, where its pictures are written under
// relative names: the programs writing them find the folder whether they run
// beside the test or, under Wine, on the host.
class PictureFileTest : public ::testing::Test {
protected:
    // make_picture.py writes the pattern through Pillow; the format follows the
    // name's extension. Options: --alpha, --rle, --id TEXT, --top-left (for a
    // BMP, the rows reversed by hand).
    std::string pillow(const std::string& name, unsigned int width, unsigned int height, std::string options = "") {
        return run(makePicture(name, width, height) + options, name);
    }

    // ImageMagick's convert turns the pattern (a PNG from Pillow) into the named
    // file; a format prefix such as "BMP3:" goes before the name.
    std::string convert(const std::string& prefix, const std::string& name, unsigned int width, unsigned int height,
                        bool alpha, const std::string& options = "") {
        const std::string source = pillow("pattern-source.png", width, height, alpha ? "--alpha" : "");
        return run(std::string(IMAGEFILE_CONVERT) + " '" + source + "' " + options + " '" + prefix + name + "'", name);
    }

    // A 32-bit BMP with these red, green, blue and alpha masks written by
    // make_picture.py, which also gives the pixels a reader must find (RGBA,
    // bottom row first) and says whether Pillow read them alike ("pillow") or
    // cannot read such a file ("rule"): both are returned. Options: --header N,
    // --alpha-bitfields.
    std::pair<Bytes, std::string> maskedBmp(const std::string& name, unsigned int width, unsigned int height,
                                            const std::string& masks, const std::string& options = "") {
        run(makePicture(name, width, height) + "--masks " + masks + " --expected '" + name + ".rgba' " + options +
                " > '" + name + ".said'", name);
        const std::string said = readFile(name + ".said");
        return {readBytes(name + ".rgba"), said.substr(0, said.find('\n'))};
    }

    static Bytes readBytes(const std::string& file) { return readFile<Bytes>(file); }

    // A copy of the file, changed by patch, saved under a new name.
    template <typename Patch> std::string patched(const std::string& file, const std::string& name, Patch patch) {
        Bytes bytes = readBytes(file);
        patch(bytes);
        std::ofstream(name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return name;
    }

    static Image load(const std::string& file) {
        Image image;
        return ImageFile(file).load(image), image;
    }

    // Loads the file into an image that already has pixels, an opacity and a
    // transparent colour; expects the message, and the image unchanged.
    void expectRefused(const std::string& file, const std::string& message) {
        Image target(2, 1, Colour::GREEN);
        target.plot(1, 0, Colour::YELLOW).setAlpha(0.5f).setTransparentColour(Colour::MAGENTA);
        EXPECT_EQ(message, thrown<ImageFile::ImageFileException>([&] { ImageFile(file).load(target); })) << file;
        EXPECT_TRUE(target.getWidth() == 2 && target.getHeight() == 1 && target.getPixel(0, 0) == Colour::GREEN &&
                    target.getPixel(1, 0) == Colour::YELLOW && target.getOpacity() == 127 &&
                    target.getTransparentColour() && *target.getTransparentColour() == Colour::MAGENTA)
            << file << " changed the target";
    }

private:
    static std::string makePicture(const std::string& name, unsigned int width, unsigned int height) {
        return std::string(IMAGEFILE_PYTHON) + " '" + IMAGEFILE_MAKE_PICTURE + "' '" + name + "' " +
               std::to_string(width) + " " + std::to_string(height) + " ";
    }
    static std::string run(const std::string& command, const std::string& name) {
        if (runHostCommand(command) != 0)
            throw std::runtime_error("failed: " + command);
        return name;
    }
};

} // namespace lum::test
