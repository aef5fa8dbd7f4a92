// Temporary folders, the external picture writers and the shared pattern.
#include "tests/imagefile/PictureFileTest.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lum::test {

Colour patternPixel(unsigned int x, unsigned int y, bool alpha) {
    return Colour(static_cast<std::uint8_t>((x * 37 + y * 11 + 5) % 256),
                  static_cast<std::uint8_t>((x * 13 + y * 71 + 100) % 256),
                  static_cast<std::uint8_t>((x * 7 + y * 3 + 200) % 256),
                  static_cast<std::uint8_t>(alpha ? 128 + (x * 13 + y * 7) % 127 : 255));
}

Image patternImage(unsigned int width, unsigned int height, bool alpha) {
    Image image(width, height, Colour::BLACK);
    for (unsigned int y = 0; y < height; ++y)
        for (unsigned int x = 0; x < width; ++x)
            image.plot(x, y, patternPixel(x, y, alpha));
    return image;
}

namespace {

std::string describe(const Colour& colour) {
    return "(" + std::to_string(colour.getRed()) + ", " + std::to_string(colour.getGreen()) + ", " +
           std::to_string(colour.getBlue()) + ", " + std::to_string(colour.getAlpha()) + ")";
}

} // namespace

::testing::AssertionResult showsPattern(const Image& image, unsigned int width, unsigned int height, bool alpha) {
    if (image.getWidth() != width || image.getHeight() != height)
        return ::testing::AssertionFailure() << "size " << image.getWidth() << " x " << image.getHeight()
                                             << ", expected " << width << " x " << height;
    for (unsigned int y = 0; y < height; ++y)
        for (unsigned int x = 0; x < width; ++x)
            if (image.getPixel(x, y) != patternPixel(x, y, alpha))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << describe(image.getPixel(x, y)) << ", expected "
                       << describe(patternPixel(x, y, alpha));
    return ::testing::AssertionSuccess();
}

std::uint32_t get32(const Bytes& bytes, std::size_t offset) {
    return bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16 |
           static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24;
}

void put16(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    bytes.at(offset) = value & 0xFF;
    bytes.at(offset + 1) = (value >> 8) & 0xFF;
}

void put32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    put16(bytes, offset, value & 0xFFFF);
    put16(bytes, offset + 2, value >> 16);
}

void PictureFileTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "imagefile-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    folder = pattern;
}

void PictureFileTest::TearDown() {
    std::filesystem::remove_all(folder);
}

std::string PictureFileTest::path(const std::string& name) const {
    return folder + "/" + name;
}

void PictureFileTest::run(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

std::string PictureFileTest::pillow(const std::string& name, unsigned int width, unsigned int height,
                                    const std::string& options) {
    const std::string file = path(name);
    run(std::string(IMAGEFILE_PYTHON) + " '" + IMAGEFILE_MAKE_PICTURE + "' '" + file + "' " + std::to_string(width) +
        " " + std::to_string(height) + " " + options);
    return file;
}

std::string PictureFileTest::convert(const std::string& output, unsigned int width, unsigned int height,
                                     bool alpha, const std::string& options) {
    const std::string source = pillow("pattern-source.png", width, height, alpha ? "--alpha" : "");
    // A format prefix ("BMP3:") goes before the folder.
    const std::string::size_type colon = output.find(':');
    const std::string prefix = colon == std::string::npos ? "" : output.substr(0, colon + 1);
    const std::string file = path(output.substr(prefix.size()));
    run(std::string(IMAGEFILE_CONVERT) + " '" + source + "' " + options + " '" + prefix + file + "'");
    return file;
}

Bytes PictureFileTest::readBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PictureFileTest::writeBytes(const std::string& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file);
}

Image PictureFileTest::bystander() {
    Image image(2, 1, Colour::GREEN);
    image.plot(1, 0, Colour::YELLOW);
    image.setAlpha(0.5f);
    image.setTransparentColour(Colour::MAGENTA);
    return image;
}

void PictureFileTest::expectBystander(const Image& image) {
    ASSERT_EQ(2u, image.getWidth());
    ASSERT_EQ(1u, image.getHeight());
    EXPECT_EQ(Colour::GREEN, image.getPixel(0, 0));
    EXPECT_EQ(Colour::YELLOW, image.getPixel(1, 0));
    EXPECT_EQ(127, image.getOpacity());
    ASSERT_NE(nullptr, image.getTransparentColour());
    EXPECT_EQ(Colour::MAGENTA, *image.getTransparentColour());
}

} // namespace lum::test
