// Reads pictures from files into images and writes images back. The file
// name's extension picks the codec (".bmp" or ".tga"); the file is opened and
// closed inside each load and save, so an ImageFile holds no open file.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace lum {

class Image;
class ImageFileImpl;

class ImageFile {
public:
    // Every problem with a file's contents or with reading or writing it.
    class ImageFileException : public std::runtime_error {
    public:
        explicit ImageFileException(const std::string& message) : std::runtime_error(message) {}
    };

    // Throws std::runtime_error when the name has no extension or an unsupported one.
    explicit ImageFile(const std::string& filename);
    ~ImageFile();

    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    void load(Image& target);
    void save(const Image& source);

    // Picks the codec for the new name; a refused name leaves the old one in place.
    void setFilename(const std::string& filename);
    const std::string& getFilename() const;

private:
    std::unique_ptr<ImageFileImpl> impl;
};

} // namespace lum
