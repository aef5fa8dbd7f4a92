// The BMP codec. A file is a 14-byte file header ("BM", sizes, the offset of
// the pixels), an info header (40 bytes or more: dimensions, bits per pixel,
// compression, then optional colour masks) and the pixel rows, bottom row first
// unless the height is negative. Rows of 3-byte pixels are padded to 4 bytes.
#include "framework/graphics/BMPFile.h"

#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageAccess.h"
#include "framework/graphics/ImageImpl.h"
#include "framework/graphics/RowDrawing.h"

#include <algorithm>
#include <cstring>
#include <limits>

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
// The end of the last field read: the alpha mask.
constexpr std::size_t MASKS_END = MASKS_FIELD + 16;

constexpr std::uint32_t UNCOMPRESSED = 0;
constexpr std::uint32_t BITFIELDS = 3;
constexpr std::uint32_t ALPHABITFIELDS = 6;

constexpr std::uint32_t TOP_DOWN_BIT = 0x80000000;

// One channel of a 32-bit pixel with colour masks: the run of bits it takes.
struct Channel {
    std::uint32_t mask = 0;
    unsigned int shift = 0;
    std::uint32_t max = 0; // the field's largest value; 0 for no field

    explicit Channel(std::uint32_t mask) : mask(mask) {
        if (mask == 0)
            return;
        while (((mask >> shift) & 1u) == 0)
            ++shift;
        max = mask >> shift;
    }
    // One run of set bits, no gaps.
    bool contiguous() const { return max != 0 && (max & (max + 1u)) == 0; }
    // The field scaled to 8 bits, rounded to the nearest; 255 without a field.
    std::uint8_t from(std::uint32_t pixel) const {
        if (max == 0)
            return 255;
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
    }
};

} // namespace

BMPFile::BMPFile(const std::string& filename) : ImageFileImpl(filename) {}

BMPFile::Layout BMPFile::layoutOf(const unsigned char* data, std::size_t size) const {
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

    Layout layout;
    layout.width = readLE(data + WIDTH_FIELD, 4);
    // A negative height (two's complement) stores the top row first. The most
    // negative height has no positive counterpart.
    const std::uint32_t heightField = readLE(data + HEIGHT_FIELD, 4);
    if (heightField == TOP_DOWN_BIT)
        throw corrupted();
    const bool topDown = (heightField & TOP_DOWN_BIT) != 0;
    layout.height = topDown ? ~heightField + 1 : heightField;

    layout.rows = pixelRows(data, size, headerSize, layout.width, layout.masks);
    layout.rows.topRowFirst = topDown;
    // Before anything is allocated: the file must hold every pixel it claims.
    if (!rowsFit(size, layout.rows, layout.width, layout.height))
        throw corrupted();
    Image::checkedPixelCount(layout.width, layout.height);
    return layout;
}

// Pictures of blue, green, red and alpha bytes with rows back to back (as this
// codec saves them) are read straight into the decoded image's block and put
// in order there: a second block of the file's size would cost as much again,
// each of its pages touched for the first time. Others are decoded row by row.
void BMPFile::decode(Source& source, Image& target) {
    // Every header field the layout reads lies in the first MASKS_END bytes.
    std::vector<unsigned char> scratch;
    const std::size_t headSize = static_cast<std::size_t>(std::min<std::uint64_t>(source.size(), MASKS_END));
    const Layout layout = layoutOf(source.view(0, headSize, scratch), static_cast<std::size_t>(source.size()));
    Image decoded(layout.width, layout.height, Colour::BLACK);
    Colour* pixels = blockToFill(decoded);
    if (pixels == nullptr) {
        commit(decoded, target);
        return;
    }
    if (layout.masks.present)
        decodeMasked(source, layout.rows, layout.masks, layout.width, layout.height, pixels);
    else if (layout.rows.bytesPerPixel == 4 && layout.rows.fourthByteIsAlpha)
        readStraight(source, layout.rows, layout.width, layout.height, pixels);
    else
        decodeRows(source, layout.rows, layout.width, layout.height, pixels);
    commit(decoded, target);
}

void BMPFile::readStraight(Source& source, const PixelRows& rows, unsigned int width, unsigned int height,
                           Colour* pixels) {
    const std::size_t rowBytes = std::size_t{width} * sizeof(Colour);
    if (!rows.topRowFirst && rows.rowStride == rowBytes)
        source.read(rows.offset, pixels, rowBytes * height);
    else
        forEachRow(source, rows, width, height, pixels,
                   [&](const unsigned char* in, Colour* out) { std::memcpy(static_cast<void*>(out), in, rowBytes); });
    // The bytes of each pixel are blue, green, red, alpha: red and blue trade
    // places, in one pass as the rows lie back to back.
    RowDrawing::copySwappingRedAndBlue(pixels, pixels, std::size_t{width} * height);
}

ImageFileImpl::PixelRows BMPFile::pixelRows(const unsigned char* data, std::size_t size, std::uint32_t headerSize,
                                            std::uint32_t width, ColourMasks& masks) const {
    const std::string& name = getFilename();
    const std::uint32_t bits = readLE(data + BITS_FIELD, 2);
    const std::uint32_t compression = readLE(data + COMPRESSION_FIELD, 4);
    std::uint64_t headersEnd = FILE_HEADER_SIZE + std::uint64_t{headerSize};
    masks = ColourMasks{};
    if (compression == BITFIELDS || compression == ALPHABITFIELDS) {
        if (bits != 32)
            throw unsupportedMasks();
        masks = readMasks(data, size, headerSize, compression == ALPHABITFIELDS, headersEnd);
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
    return PixelRows{offset, rowStride, bytesPerPixel, bits == 32, false};
}

ImageFile::ImageFileException BMPFile::unsupportedMasks() const {
    return error(getFilename() + " has colour masks other than 8-bit blue, green, red and alpha, which are not supported.");
}

BMPFile::ColourMasks BMPFile::readMasks(const unsigned char* data, std::size_t size, std::uint32_t headerSize,
                                        bool withAlpha, std::uint64_t& headersEnd) const {
    // After a 40-byte info header come three masks, or four with alpha;
    // larger headers hold the colour masks from 52 bytes and alpha from 56.
    if (headerSize == SAVED_INFO_HEADER_SIZE)
        headersEnd += withAlpha ? 16 : 12;
    else if (headerSize < 52)
        throw unsupportedMasks();
    if (headersEnd > size)
        throw corrupted();
    ColourMasks masks;
    masks.present = true;
    masks.red = readLE(data + MASKS_FIELD, 4);
    masks.green = readLE(data + MASKS_FIELD + 4, 4);
    masks.blue = readLE(data + MASKS_FIELD + 8, 4);
    const bool alphaInside = headerSize >= 56 || (headerSize == SAVED_INFO_HEADER_SIZE && withAlpha);
    masks.alpha = alphaInside ? readLE(data + MASKS_FIELD + 12, 4) : 0;
    const Channel red(masks.red), green(masks.green), blue(masks.blue), alpha(masks.alpha);
    const bool overlap = ((masks.red & masks.green) | (masks.red & masks.blue) | (masks.green & masks.blue) |
                          (masks.alpha & (masks.red | masks.green | masks.blue))) != 0;
    if (!red.contiguous() || !green.contiguous() || !blue.contiguous() || (masks.alpha != 0 && !alpha.contiguous()) ||
        overlap)
        throw error(getFilename() + " has colour masks that are empty, overlap or have gaps.");
    return masks;
}

void BMPFile::decodeMasked(Source& source, const PixelRows& rows, const ColourMasks& masks, unsigned int width,
                           unsigned int height, Colour* pixels) {
    const Channel red(masks.red), green(masks.green), blue(masks.blue), alpha(masks.alpha);
    forEachRow(source, rows, width, height, pixels, [&](const unsigned char* in, Colour* out) {
        for (unsigned int x = 0; x < width; ++x, in += 4) {
            const std::uint32_t pixel = readLE(in, 4);
            out[x] = Colour(red.from(pixel), green.from(pixel), blue.from(pixel), alpha.from(pixel));
        }
    });
}

void BMPFile::commit(Image& decoded, Image& target) const {
    ImageImpl& into = ImageAccess::of(target);
    // A resizable target takes the decoded block as it is, keeping its own
    // opacity and transparent colour, as resizing would.
    if (into.isResizable() && decoded.getWidth() != 0 && decoded.getHeight() != 0) {
        into.takePixels(ImageAccess::of(decoded));
        return;
    }
    // Resizing throws for a zero width or height, leaving the target as it
    // was; the screen keeps its size (and logs that), and gets the part of the
    // picture it holds.
    target.resize(decoded.getWidth(), decoded.getHeight());
    const unsigned int columns = std::min(decoded.getWidth(), target.getWidth());
    const unsigned int rowCount = std::min(decoded.getHeight(), target.getHeight());
    if (columns == 0 || rowCount == 0)
        return;
    Colour* to = into.beginWrite(ImageImpl::Write{0, rowCount, ImageImpl::Effect::Anything});
    const Colour* from = ImageAccess::of(static_cast<const Image&>(decoded)).getPixels();
    for (unsigned int y = 0; y < rowCount; ++y)
        std::copy(from + std::size_t{y} * decoded.getWidth(), from + std::size_t{y} * decoded.getWidth() + columns,
                  to + std::size_t{y} * target.getWidth());
}

std::uint64_t BMPFile::savedFileSize(unsigned int width, unsigned int height) {
    return SAVED_HEADERS_SIZE + std::uint64_t{width} * height * 4;
}

void BMPFile::save(const Image& source) {
    // The size fields have 32 bits: a larger image cannot be written faithfully.
    const std::uint64_t fileSize = savedFileSize(source.getWidth(), source.getHeight());
    if (fileSize > std::numeric_limits<std::uint32_t>::max())
        throw error(getFilename() + " can not hold an image of " + std::to_string(source.getWidth()) + " x " +
                    std::to_string(source.getHeight()) + " pixels; BMP files are at most 4 GiB.");
    const auto pixelBytes = static_cast<std::uint32_t>(fileSize - SAVED_HEADERS_SIZE);
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
