// Pictures of the screen saved as BMP files named for the program and the
// moment: "<program>-YYYYMMDD-HHMMSS.bmp", with "-2", "-3", ... before the
// extension when that name is taken (several in one second).
#pragma once

#include <ctime>
#include <string>

namespace lum {

class Image;

class Screenshot {
public:
    // The name's first part: the program's name in lower case, anything but
    // letters and digits made '-', so the name is safe on every file system.
    static std::string prefix(const std::string& programName);
    // The file name of the attempt-th try (1 is the plain one) at local time `when`.
    static std::string fileName(const std::string& prefix, std::time_t when, unsigned int attempt);
    // Saves the picture in `folder` (the working directory when empty) under
    // the first free name; returns its path. Throws ImageFile::ImageFileException
    // when it cannot be written.
    static std::string save(const Image& picture, const std::string& folder, const std::string& prefix,
                            std::time_t when);
};

} // namespace lum
