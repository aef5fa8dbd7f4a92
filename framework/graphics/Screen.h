// The one image with fixed dimensions: the back buffer the platform presents.
#pragma once

#include "framework/graphics/ChangedRows.h"
#include "framework/graphics/Image.h"

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

    // Hands the rows drawn on since the last call to `into`, and starts
    // afresh: the frame takes them once it is drawn and gives them to the
    // presenter, which need compare no other rows with what it shows.
    void takeChangedRows(ChangedRows& into);
};

} // namespace lum
