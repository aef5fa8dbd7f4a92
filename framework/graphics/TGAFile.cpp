// The TGA codec. A file is an 18-byte header, an image ID of up to 255 bytes,
// an optional colour map (unused by true-colour pictures, but present in some)
// and the pixel rows, without padding. The descriptor byte gives the row order:
// bottom row first unless bit 5 is set, left to right unless bit 4 is set.
#include "framework/graphics/TGAFile.h"

#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"

#include <algorithm>

namespace lum {

namespace {

constexpr std::size_t HEADER_SIZE = 18;

// Field offsets from the start of the file.
constexpr std::size_t ID_LENGTH_FIELD = 0;
constexpr std::size_t COLOUR_MAP_TYPE_FIELD = 1;
constexpr std::size_t IMAGE_TYPE_FIELD = 2;
constexpr std::size_t COLOUR_MAP_LENGTH_FIELD = 5;
constexpr std::size_t COLOUR_MAP_ENTRY_BITS_FIELD = 7;
constexpr std::size_t WIDTH_FIELD = 12;
constexpr std::size_t HEIGHT_FIELD = 14;
constexpr std::size_t DEPTH_FIELD = 16;
constexpr std::size_t DESCRIPTOR_FIELD = 17;

constexpr unsigned int UNCOMPRESSED_TRUE_COLOUR = 2;
constexpr unsigned int HAS_COLOUR_MAP = 1;
constexpr unsigned int RIGHT_TO_LEFT_BIT = 0x10;
constexpr unsigned int TOP_DOWN_BIT = 0x20;
constexpr unsigned int MAX_DIMENSION = 0xFFFF;

} // namespace

TGAFile::TGAFile(const std::string& filename) : ImageFileImpl(filename) {}

void TGAFile::decode(Source& source, Image& target) {
    std::vector<unsigned char> scratch;
    if (source.size() < HEADER_SIZE)
        throw corrupted();
    const unsigned char* header = source.view(0, HEADER_SIZE, scratch);
    const unsigned int depth = header[DEPTH_FIELD];
    if (header[IMAGE_TYPE_FIELD] != UNCOMPRESSED_TRUE_COLOUR || depth < 24 || depth > 32)
        throw error("Only 24 or 32 uncompressed images are supported");
    const std::uint32_t width = readLE(header + WIDTH_FIELD, 2);
    const std::uint32_t height = readLE(header + HEIGHT_FIELD, 2);
    if (width == 0 || height == 0)
        throw corrupted();

    // The pixels follow the image ID and the colour map, if there is one.
    std::size_t offset = HEADER_SIZE + header[ID_LENGTH_FIELD];
    if (header[COLOUR_MAP_TYPE_FIELD] == HAS_COLOUR_MAP)
        offset += std::size_t{readLE(header + COLOUR_MAP_LENGTH_FIELD, 2)} *
                  ((header[COLOUR_MAP_ENTRY_BITS_FIELD] + 7u) / 8);
    const unsigned int bytesPerPixel = depth == 24 ? 3 : 4;
    const unsigned int descriptor = header[DESCRIPTOR_FIELD];
    const PixelRows rows{offset, std::uint64_t{width} * bytesPerPixel, bytesPerPixel, bytesPerPixel == 4,
                         (descriptor & TOP_DOWN_BIT) != 0};
    // Before anything is allocated: the file must hold every pixel it claims.
    if (!rowsFit(static_cast<std::size_t>(source.size()), rows, width, height))
        throw corrupted();
    Image::checkedPixelCount(width, height);
    Image decoded(width, height, Colour::BLACK);
    Colour* pixels = blockToFill(decoded);
    decodeRows(source, rows, width, height, pixels);
    if (descriptor & RIGHT_TO_LEFT_BIT)
        for (unsigned int y = 0; y < height; ++y)
            std::reverse(pixels + std::size_t{y} * width, pixels + std::size_t{y + 1} * width);
    target = decoded;
}

void TGAFile::save(const Image& source) {
    if (source.getWidth() > MAX_DIMENSION || source.getHeight() > MAX_DIMENSION)
        throw error(getFilename() + " can not hold an image of " + std::to_string(source.getWidth()) + " x " +
                    std::to_string(source.getHeight()) + " pixels; TGA files are at most 65535 x 65535.");
    std::vector<unsigned char> bytes;
    bytes.reserve(HEADER_SIZE + std::size_t{source.getPixelCount()} * 4);
    appendLE(bytes, 0, 2); // no image ID, no colour map
    appendLE(bytes, UNCOMPRESSED_TRUE_COLOUR, 1);
    appendLE(bytes, 0, 4); // colour map description (5 bytes) and origin (4 bytes)
    appendLE(bytes, 0, 4);
    appendLE(bytes, 0, 1);
    appendLE(bytes, source.getWidth(), 2);
    appendLE(bytes, source.getHeight(), 2);
    appendLE(bytes, 32, 1); // pixel depth
    appendLE(bytes, 0, 1);  // descriptor: bottom row first, left to right
    appendPixels(source, bytes);
    writeFile(bytes);
}

} // namespace lum
