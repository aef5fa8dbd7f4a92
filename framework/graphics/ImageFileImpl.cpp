// What both codecs share. Files are read and written whole: a load checks every
// size field against the bytes it actually has before it allocates anything,
// and decodes into a working image so that a refused file changes nothing.
#include "framework/graphics/ImageFileImpl.h"

#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/RowDrawing.h"

#include <filesystem>
#include <fstream>

namespace lum {

ImageFileImpl::ImageFileImpl(const std::string& filename) : filename(filename) {}

ImageFileImpl::~ImageFileImpl() = default;

void ImageFileImpl::load(Image& target) {
    InputFile file = openForReading();
    const FileBytes bytes = readAll(file);
    loadFromMemory(bytes.data.get(), bytes.size, target);
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

ImageFileImpl::InputFile ImageFileImpl::openForReading() const {
    // The size comes from the file system, which refuses anything but a file
    // (a folder "opens" as a stream and claims an absurd length).
    std::error_code failure;
    const std::uintmax_t length = std::filesystem::file_size(filename, failure);
    InputFile file{std::ifstream(filename, std::ios::binary), length};
    if (failure || !file.stream)
        throw unreadable();
    return file;
}

// A file that shrank since its size was taken is caught here.
void ImageFileImpl::readExactly(InputFile& file, std::uint64_t offset, void* into, std::size_t count) const {
    const auto wanted = static_cast<std::streamsize>(count);
    if (!file.stream.seekg(static_cast<std::streamoff>(offset)) ||
        !file.stream.read(static_cast<char*>(into), wanted) || file.stream.gcount() != wanted)
        throw unreadable();
}

ImageFileImpl::FileBytes ImageFileImpl::readAll(InputFile& file) const {
    // Read straight into uninitialised memory: zeroing a picture's bytes
    // first would touch every page twice.
    const auto size = static_cast<std::size_t>(file.size);
    FileBytes bytes{std::unique_ptr<unsigned char[]>(new unsigned char[size == 0 ? 1 : size]), size};
    readExactly(file, 0, bytes.data.get(), size);
    return bytes;
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

void ImageFileImpl::decodeRows(const unsigned char* data, const PixelRows& rows, Image& image) {
    const unsigned int width = image.getWidth();
    const unsigned int height = image.getHeight();
    if (width == 0 || height == 0)
        return;
    Colour* pixels = image.getPixels();
    for (unsigned int y = 0; y < height; ++y) {
        const std::size_t fileRow = rows.topRowFirst ? height - 1 - y : y;
        const unsigned char* in = data + rows.offset + fileRow * rows.rowStride;
        Colour* out = pixels + std::size_t{y} * width;
        // Blue, green, red, alpha bytes are a colour with red and blue swapped.
        if (rows.bytesPerPixel == 4 && rows.fourthByteIsAlpha) {
            RowDrawing::copySwappingRedAndBlue(out, reinterpret_cast<const Colour*>(in), width);
            continue;
        }
        for (unsigned int x = 0; x < width; ++x, in += rows.bytesPerPixel)
            out[x] = Colour(in[2], in[1], in[0], rows.fourthByteIsAlpha ? in[3] : 255);
    }
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
