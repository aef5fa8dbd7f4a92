// Where the user keeps pictures: each operating system has its own file.
#pragma once

#include <string>

namespace lum {

class PicturesFolder {
public:
    // An existing folder, without a trailing separator; empty when the system
    // names none, and a picture then goes to the working directory.
    static std::string find();
};

} // namespace lum
