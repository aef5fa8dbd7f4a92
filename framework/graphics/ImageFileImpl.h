// The codec behind an ImageFile, and what the BMP and TGA codecs share: reading
// and writing whole files, little-endian fields, checked pixel-area sizes, and
// pixels stored as blue, green, red (and alpha) bytes.
#pragma once

#include "framework/graphics/Colour.h"
#include "framework/graphics/ImageFile.h"
#include "framework/graphics/RowCopy.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lum {

class Image;

class ImageFileImpl {
public:
    explicit ImageFileImpl(const std::string& filename);
    virtual ~ImageFileImpl();

    // Decodes the file, reading only what the picture needs.
    void load(Image& target);
    virtual void save(const Image& source) = 0;
    // Decodes a complete file held in memory; the file name is used only in messages.
    // On any failure the target is left as it was.
    void loadFromMemory(const unsigned char* data, std::size_t size, Image& target);

    const std::string& getFilename() const { return filename; }

    ImageFileImpl(const ImageFileImpl&) = delete;
    ImageFileImpl& operator=(const ImageFileImpl&) = delete;

protected:
    // Where a decoder's bytes come from: a file in memory, or the file itself,
    // read piece by piece straight to where the bytes are wanted. Callers
    // check every range against size() before they ask for it.
    class Source {
    public:
        virtual ~Source() = default;
        virtual std::uint64_t size() const = 0;
        // `count` bytes from `offset`, copied into `into`.
        virtual void read(std::uint64_t offset, void* into, std::size_t count) = 0;
        // The same bytes to look at: where they lie, or read into `scratch`.
        virtual const unsigned char* view(std::uint64_t offset, std::size_t count,
                                          std::vector<unsigned char>& scratch) = 0;
    };
    // The one decoder of a codec, for files and memory alike.
    virtual void decode(Source& source, Image& target) = 0;

    // Where a block of pixel rows lies in a file: rows of `width` pixels of
    // bytesPerPixel bytes (3 = blue, green, red; 4 adds a fourth byte), the
    // starts of consecutive rows rowStride bytes apart.
    struct PixelRows {
        std::size_t offset;
        std::uint64_t rowStride;
        unsigned int bytesPerPixel;
        bool fourthByteIsAlpha; // otherwise every pixel gets alpha 255
        bool topRowFirst;       // otherwise the bottom row comes first
    };

    ImageFile::ImageFileException error(const std::string& message) const;
    // "<name> appears to be a corrupted file".
    ImageFile::ImageFileException corrupted() const;

    // Writes the bytes as the whole new contents of the file.
    void writeFile(const std::vector<unsigned char>& bytes) const;

    static std::uint32_t readLE(const unsigned char* data, unsigned int byteCount);
    static void appendLE(std::vector<unsigned char>& out, std::uint32_t value, unsigned int byteCount);

    // True when the file of `size` bytes holds `height` rows of `width` pixels
    // laid out as described; the last row needs no bytes past its pixels.
    // Computed without overflow for any field values a file can hold.
    static bool rowsFit(std::size_t size, const PixelRows& rows, std::uint32_t width, std::uint32_t height);
    // A decoded image's block, for the decoder to fill every pixel of.
    static Colour* blockToFill(Image& decoded);
    // Decodes rows that rowsFit has accepted into a block of width × height
    // pixels, handing each file row and its image row to `decodeRow`.
    template <typename DecodeRow>
    static void forEachRow(Source& source, const PixelRows& rows, unsigned int width, unsigned int height,
                           Colour* pixels, DecodeRow decodeRow) {
        std::vector<unsigned char> scratch;
        const std::size_t rowBytes = std::size_t{width} * rows.bytesPerPixel;
        // In the file's order, so that a file is read front to back.
        for (unsigned int fileRow = 0; fileRow < height; ++fileRow) {
            const unsigned int y = RowCopy::rowOf(fileRow, height, rows.topRowFirst);
            const std::uint64_t at = rows.offset + static_cast<std::uint64_t>(
                RowCopy::offsetOf(y, height, static_cast<std::ptrdiff_t>(rows.rowStride), rows.topRowFirst));
            decodeRow(source.view(at, rowBytes, scratch), pixels + std::size_t{y} * width);
        }
    }
    // Blue, green, red (and alpha) rows into a block.
    static void decodeRows(Source& source, const PixelRows& rows, unsigned int width, unsigned int height,
                           Colour* pixels);
    // Appends the image's pixels, bottom row first, as blue, green, red, alpha.
    static void appendPixels(const Image& image, std::vector<unsigned char>& out);

private:
    class FileSource;
    class MemorySource;
    ImageFile::ImageFileException unreadable() const;

    std::string filename;
};

} // namespace lum
