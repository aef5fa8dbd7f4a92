// What both codecs share. A load checks every size field against the bytes the
// file actually has before it allocates anything, and decodes into a working
// image so that a refused file changes nothing; a save writes the file whole.
#include "framework/graphics/ImageFileImpl.h"

#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageAccess.h"
#include "framework/graphics/ImageImpl.h"
#include "framework/graphics/RowDrawing.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace lum {

// The file itself, read where the decoder asks. A file that shrank since its
// size was taken is caught by the reads.
class ImageFileImpl::FileSource : public Source {
public:
    explicit FileSource(const ImageFileImpl& codec) : codec(codec) {
        // The size comes from the file system, which refuses anything but a
        // file (a folder "opens" as a stream and claims an absurd length).
        std::error_code failure;
        length = std::filesystem::file_size(codec.filename, failure);
        stream.open(codec.filename, std::ios::binary);
        if (failure || !stream)
            throw codec.unreadable();
    }
    std::uint64_t size() const override { return length; }
    void read(std::uint64_t offset, void* into, std::size_t count) override {
        const auto wanted = static_cast<std::streamsize>(count);
        // Rows read front to back need no seek.
        if (offset != position && !stream.seekg(static_cast<std::streamoff>(offset)))
            throw codec.unreadable();
        if (!stream.read(static_cast<char*>(into), wanted) || stream.gcount() != wanted)
            throw codec.unreadable();
        position = offset + count;
    }
    const unsigned char* view(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& scratch) override {
        // Only grown, never zeroed anew: a row's bytes are read over it.
        if (scratch.size() < count)
            scratch.resize(count);
        read(offset, scratch.data(), count);
        return scratch.data();
    }

private:
    const ImageFileImpl& codec;
    std::ifstream stream;
    std::uint64_t length = 0;
    std::uint64_t position = 0;
};

class ImageFileImpl::MemorySource : public Source {
public:
    MemorySource(const unsigned char* data, std::size_t size) : data(data), length(size) {}
    std::uint64_t size() const override { return length; }
    void read(std::uint64_t offset, void* into, std::size_t count) override {
        std::memcpy(into, data + offset, count);
    }
    const unsigned char* view(std::uint64_t offset, std::size_t, std::vector<unsigned char>&) override {
        return data + offset;
    }

private:
    const unsigned char* data;
    std::size_t length;
};

ImageFileImpl::ImageFileImpl(const std::string& filename) : filename(filename) {}

ImageFileImpl::~ImageFileImpl() = default;

void ImageFileImpl::load(Image& target) {
    FileSource source(*this);
    decode(source, target);
}

void ImageFileImpl::loadFromMemory(const unsigned char* data, std::size_t size, Image& target) {
    MemorySource source(data, size);
    decode(source, target);
}

ImageFile::ImageFileException ImageFileImpl::error(const std::string& message) const {
    return ImageFile::ImageFileException(message);
}

ImageFile::ImageFileException ImageFileImpl::corrupted() const {
    return error(filename + " appears to be a corrupted file");
}

ImageFile::ImageFileException ImageFileImpl::unreadable() const {
    return error("Unable to load file " + filename);
}

void ImageFileImpl::writeFile(const std::vector<unsigned char>& bytes) const {
    std::ofstream out(filename, std::ios::binary | std::ios::trunc);
    if (!out)
        throw error("Unable to open " + filename + " for saving image data to.");
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // The stream buffers: a full disk may only show when the buffer is flushed
    // or the file closed, and either must be reported, not taken for success.
    out.flush();
    if (!out)
        throw error("Error saving file to disk");
    out.close();
    if (!out)
        throw error("Error saving file to disk");
}

std::uint32_t ImageFileImpl::readLE(const unsigned char* data, unsigned int byteCount) {
    std::uint32_t value = 0;
    for (unsigned int i = byteCount; i-- > 0;)
        value = (value << 8) | data[i];
    return value;
}

void ImageFileImpl::appendLE(std::vector<unsigned char>& out, std::uint32_t value, unsigned int byteCount) {
    for (unsigned int i = 0; i < byteCount; ++i, value >>= 8)
        out.push_back(static_cast<unsigned char>(value & 0xFF));
}

bool ImageFileImpl::rowsFit(std::size_t size, const PixelRows& rows, std::uint32_t width, std::uint32_t height) {
    if (rows.offset > size)
        return false;
    if (width == 0 || height == 0)
        return true;
    const std::uint64_t available = size - rows.offset;
    // At most 2^32 × 4: no overflow in 64 bits.
    const std::uint64_t rowBytes = std::uint64_t{width} * rows.bytesPerPixel;
    if (rowBytes > available)
        return false;
    // rowStride >= rowBytes > 0, and dividing instead of multiplying keeps a
    // huge height from wrapping around to a small byte count.
    return height - 1 <= (available - rowBytes) / rows.rowStride;
}

Colour* ImageFileImpl::blockToFill(Image& decoded) {
    return ImageAccess::of(decoded).beginWrite(ImageImpl::Write{0, decoded.getHeight(), ImageImpl::Effect::Anything,
                                                                Colour(0, 0, 0, 255), true});
}

void ImageFileImpl::decodeRows(Source& source, const PixelRows& rows, unsigned int width, unsigned int height,
                               Colour* pixels) {
    forEachRow(source, rows, width, height, pixels, [&](const unsigned char* in, Colour* out) {
        // Blue, green, red, alpha bytes are a colour with red and blue swapped.
        if (rows.bytesPerPixel == 4 && rows.fourthByteIsAlpha) {
            RowDrawing::copySwappingRedAndBlue(out, reinterpret_cast<const Colour*>(in), width);
            return;
        }
        for (unsigned int x = 0; x < width; ++x, in += rows.bytesPerPixel)
            out[x] = Colour(in[2], in[1], in[0], rows.fourthByteIsAlpha ? in[3] : 255);
    });
}

void ImageFileImpl::appendPixels(const Image& image, std::vector<unsigned char>& out) {
    const Colour* pixels = image.getPixels();
    const std::size_t count = image.getPixelCount();
    out.reserve(out.size() + count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const Colour& pixel = pixels[i];
        out.insert(out.end(), {pixel.getBlue(), pixel.getGreen(), pixel.getRed(), pixel.getAlpha()});
    }
}

} // namespace lum
