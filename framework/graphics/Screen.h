// The one image with fixed dimensions: the back buffer the platform presents.
#pragma once

#include "framework/graphics/Image.h"

#include <cstdint>

namespace lum {

class Screen : public Image {
public:
    Screen(unsigned int width, unsigned int height);
    ~Screen() override;

    // There is one screen; a copy would be an ordinary, resizable image.
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // RGBA bytes, bottom row first, rows back to back.
    unsigned char* getPixelData();
    const unsigned char* getPixelData() const;

    // A flag a row, bottom row first, nonzero where the row was drawn on since
    // forgetChangedRows: a presenter that keeps the last picture it showed
    // need compare no other rows.
    const std::uint8_t* getChangedRows() const;
    void forgetChangedRows() const;
};

} // namespace lum
