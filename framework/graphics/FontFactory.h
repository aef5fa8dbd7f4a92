// Makes the implementation for a font file, chosen by the file name's extension.
// One process-wide object, created on first use; it keeps no state.
#pragma once

#include "framework/graphics/FontImpl.h"

#include <cstddef>
#include <memory>
#include <string>

namespace lum {

class FontFactory {
public:
    static FontFactory& instance();

    // Throws std::runtime_error for a name without an extension, an extension
    // other than exactly "ttf", or a file that cannot be loaded.
    std::unique_ptr<FontImpl> create(const std::string& fileName, unsigned int size) const;
    // A TrueType font from bytes in memory (no file, so no extension to check).
    std::unique_ptr<FontImpl> createFromMemory(const unsigned char* data, std::size_t length,
                                               unsigned int size) const;

private:
    FontFactory() = default;
};

} // namespace lum
