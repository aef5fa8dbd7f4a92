// The codec behind an ImageFile, and what the BMP and TGA codecs share: reading
// and writing whole files, little-endian fields, checked pixel-area sizes, and
// pixels stored as blue, green, red (and alpha) bytes.
#pragma once

#include "framework/graphics/ImageFile.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace lum {

class Image;

class ImageFileImpl {
public:
    explicit ImageFileImpl(const std::string& filename);
    virtual ~ImageFileImpl();

    // Reads the whole file and decodes it with loadFromMemory.
    virtual void load(Image& target);
    virtual void save(const Image& source) = 0;
    // Decodes a complete file held in memory; the file name is used only in messages.
    // On any failure the target is left as it was.
    virtual void loadFromMemory(const unsigned char* data, std::size_t size, Image& target) = 0;

    const std::string& getFilename() const { return filename; }

    ImageFileImpl(const ImageFileImpl&) = delete;
    ImageFileImpl& operator=(const ImageFileImpl&) = delete;

protected:
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

    // The file opened for reading, with its size from the file system.
    struct InputFile {
        std::ifstream stream;
        std::uint64_t size;
    };
    struct FileBytes {
        std::unique_ptr<unsigned char[]> data;
        std::size_t size;
    };
    // Each throws "Unable to load file <name>" when it cannot do its part.
    InputFile openForReading() const;
    void readExactly(InputFile& file, std::uint64_t offset, void* into, std::size_t count) const;
    FileBytes readAll(InputFile& file) const;

    // Writes the bytes as the whole new contents of the file.
    void writeFile(const std::vector<unsigned char>& bytes) const;

    static std::uint32_t readLE(const unsigned char* data, unsigned int byteCount);
    static void appendLE(std::vector<unsigned char>& out, std::uint32_t value, unsigned int byteCount);

    // True when the file of `size` bytes holds `height` rows of `width` pixels
    // laid out as described; the last row needs no bytes past its pixels.
    // Computed without overflow for any field values a file can hold.
    static bool rowsFit(std::size_t size, const PixelRows& rows, std::uint32_t width, std::uint32_t height);
    // Decodes rows that rowsFit has accepted into the image, whose size gives
    // the width and height.
    static void decodeRows(const unsigned char* data, const PixelRows& rows, Image& image);
    // Appends the image's pixels, bottom row first, as blue, green, red, alpha.
    static void appendPixels(const Image& image, std::vector<unsigned char>& out);

private:
    ImageFile::ImageFileException unreadable() const;

    std::string filename;
};

} // namespace lum
