// The BMP codec. A file is a 14-byte file header ("BM", sizes, the offset of
// the pixels), an info header (40 bytes or more: dimensions, bits per pixel,
// compression, then optional colour masks) and the pixel rows, bottom row first
// unless the height is negative. Rows of 3-byte pixels are padded to 4 bytes.
#include "framework/graphics/BMPFile.h"

#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"

#include <algorithm>

namespace lum {

namespace {

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::uint32_t SAVED_INFO_HEADER_SIZE = 40;
constexpr std::uint32_t SAVED_HEADERS_SIZE = FILE_HEADER_SIZE + SAVED_INFO_HEADER_SIZE;

// Field offsets from the start of the file.
constexpr std::size_t DATA_OFFSET_FIELD = 10;
constexpr std::size_t INFO_SIZE_FIELD = 14;
constexpr std::size_t WIDTH_FIELD = 18;
constexpr std::size_t HEIGHT_FIELD = 22;
constexpr std::size_t BITS_FIELD = 28;
constexpr std::size_t COMPRESSION_FIELD = 30;
// Red, green, blue and alpha masks: inside info headers of 52 (56 with alpha)
// bytes or more, or right after a 40-byte one.
constexpr std::size_t MASKS_FIELD = 54;

constexpr std::uint32_t UNCOMPRESSED = 0;
constexpr std::uint32_t BITFIELDS = 3;

constexpr std::uint32_t RED_MASK = 0x00FF0000;
constexpr std::uint32_t GREEN_MASK = 0x0000FF00;
constexpr std::uint32_t BLUE_MASK = 0x000000FF;
constexpr std::uint32_t ALPHA_MASK = 0xFF000000;

constexpr std::uint32_t TOP_DOWN_BIT = 0x80000000;

} // namespace

BMPFile::BMPFile(const std::string& filename) : ImageFileImpl(filename) {}

void BMPFile::loadFromMemory(const unsigned char* data, std::size_t size, Image& target) {
    const std::string& name = getFilename();
    if (size < 2 || data[0] != 'B' || data[1] != 'M')
        throw error(name + " is not a BMP file.");
    if (size < INFO_SIZE_FIELD + 4)
        throw corrupted();
    const std::uint32_t headerSize = readLE(data + INFO_SIZE_FIELD, 4);
    // Smaller info headers (the 12-byte kind) lay out their fields differently.
    if (headerSize < SAVED_INFO_HEADER_SIZE)
        throw error(name + " has a " + std::to_string(headerSize) +
                    "-byte info header; only BMP files with info headers of 40 bytes or more are supported.");
    // From here on every field of a 40-byte info header lies inside the data.
    if (headerSize > size - FILE_HEADER_SIZE)
        throw corrupted();
    const std::uint32_t bits = readLE(data + BITS_FIELD, 2);
    if (bits < 24 || bits > 32)
        throw error(name + " is a " + std::to_string(bits) + " only 24 or 32 bit BMP files are supported.");

    const std::uint32_t width = readLE(data + WIDTH_FIELD, 4);
    // A negative height (two's complement) stores the top row first. The most
    // negative height has no positive counterpart.
    const std::uint32_t heightField = readLE(data + HEIGHT_FIELD, 4);
    if (heightField == TOP_DOWN_BIT)
        throw corrupted();
    const bool topDown = (heightField & TOP_DOWN_BIT) != 0;
    const std::uint32_t height = topDown ? ~heightField + 1 : heightField;

    PixelRows rows = pixelRows(data, size, headerSize, width);
    rows.topRowFirst = topDown;
    // Before anything is allocated: the file must hold every pixel it claims.
    if (!rowsFit(size, rows, width, height))
        throw corrupted();
    Image::checkedPixelCount(width, height);
    Image decoded(width, height, Colour::BLACK);
    decodeRows(data, rows, decoded);
    commit(decoded, target);
}

ImageFileImpl::PixelRows BMPFile::pixelRows(const unsigned char* data, std::size_t size, std::uint32_t headerSize,
                                            std::uint32_t width) const {
    const std::string& name = getFilename();
    const std::uint32_t bits = readLE(data + BITS_FIELD, 2);
    const std::uint32_t compression = readLE(data + COMPRESSION_FIELD, 4);
    std::uint64_t headersEnd = FILE_HEADER_SIZE + std::uint64_t{headerSize};
    bool alpha = bits == 32;
    if (compression == BITFIELDS) {
        if (headerSize == SAVED_INFO_HEADER_SIZE)
            headersEnd += 12;
        if (headersEnd > size)
            throw corrupted();
        // Only the masks of plain 8-bit channels are read; they lie inside the
        // data now (a header of 41 to 51 bytes cuts them off and is refused).
        const bool masksInside = headerSize == SAVED_INFO_HEADER_SIZE || headerSize >= 52;
        const std::uint32_t alphaMask = headerSize >= 56 ? readLE(data + MASKS_FIELD + 12, 4) : 0;
        if (bits != 32 || !masksInside || readLE(data + MASKS_FIELD, 4) != RED_MASK ||
            readLE(data + MASKS_FIELD + 4, 4) != GREEN_MASK || readLE(data + MASKS_FIELD + 8, 4) != BLUE_MASK ||
            (alphaMask != 0 && alphaMask != ALPHA_MASK))
            throw error(name + " has colour masks other than 8-bit blue, green, red and alpha, which are not supported.");
        // Without an alpha mask the fourth byte is unused.
        alpha = alphaMask != 0;
    } else if (compression != UNCOMPRESSED) {
        throw error(name + " is compressed; only uncompressed BMP files are supported.");
    }

    // The pixels start at the offset the file gives, after the headers and masks.
    const std::uint32_t offset = readLE(data + DATA_OFFSET_FIELD, 4);
    if (offset < headersEnd || offset > size)
        throw corrupted();
    // 24 to 31 bits are read as 3 bytes a pixel, 32 as 4.
    const unsigned int bytesPerPixel = bits / 8;
    // Rows are padded to a multiple of 4 bytes (only 3-byte pixels need it).
    const std::uint64_t rowStride = (std::uint64_t{width} * bytesPerPixel + 3) & ~std::uint64_t{3};
    return PixelRows{offset, rowStride, bytesPerPixel, alpha, false};
}

void BMPFile::commit(const Image& decoded, Image& target) const {
    // Resizing keeps the target's opacity and transparent colour. It throws
    // for a zero width or height, leaving the target as it was; the screen
    // keeps its size (and logs that), and gets the part of the picture it holds.
    target.resize(decoded.getWidth(), decoded.getHeight());
    const unsigned int columns = std::min(decoded.getWidth(), target.getWidth());
    const unsigned int rowCount = std::min(decoded.getHeight(), target.getHeight());
    if (columns == 0 || rowCount == 0)
        return;
    for (unsigned int y = 0; y < rowCount; ++y) {
        const Colour* from = decoded.getPixels() + std::size_t{y} * decoded.getWidth();
        std::copy(from, from + columns, target.getPixels() + std::size_t{y} * target.getWidth());
    }
}

void BMPFile::save(const Image& source) {
    const std::uint32_t pixelBytes = source.getPixelCount() * 4u;
    std::vector<unsigned char> bytes{'B', 'M'};
    bytes.reserve(SAVED_HEADERS_SIZE + std::size_t{pixelBytes});
    appendLE(bytes, SAVED_HEADERS_SIZE + pixelBytes, 4); // file size
    appendLE(bytes, 0, 4);                               // two reserved fields
    appendLE(bytes, SAVED_HEADERS_SIZE, 4);              // offset of the pixels
    appendLE(bytes, SAVED_INFO_HEADER_SIZE, 4);
    appendLE(bytes, source.getWidth(), 4);
    appendLE(bytes, source.getHeight(), 4);
    appendLE(bytes, 1, 2);  // planes
    appendLE(bytes, 32, 2); // bits per pixel
    appendLE(bytes, UNCOMPRESSED, 4);
    appendLE(bytes, pixelBytes, 4);
    for (int field = 0; field < 4; ++field) // resolutions, colours used, important colours
        appendLE(bytes, 0, 4);
    appendPixels(source, bytes);
    writeFile(bytes);
}

} // namespace lum
