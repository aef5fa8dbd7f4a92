// A TrueType font at one point size, the handle the game holds to measure and
// draw one-line ASCII texts. Copies of a handle share one reference-counted
// implementation, so fonts are cheap to pass around by value.
#pragma once

#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"

#include <string>

namespace lum {

class FontImpl;

// The area a text covers when drawn, in pixels.
struct FontSize {
    unsigned int width;
    unsigned int height;
};

class Font {
public:
    class Preset;

    // Loads the font file at the size in points; throws std::runtime_error when
    // the file is not a usable TrueType font (see FontFactory).
    Font(const std::string& fileName, unsigned int size);
    Font(const Font& other);
    Font& operator=(const Font& other);
    ~Font();

    FontSize measureText(const std::string& text) const;
    // Draws with the left end of the baseline at (x, y); whatever falls outside
    // the target is left out.
    void drawText(Image& target, int x, int y, const Colour& colour, const std::string& text) const;

    const FontImpl& getImpl() const { return *impl; }

    // The framework fonts, all from "C:/Windows/Fonts/cour.ttf". Each is loaded
    // the first time it is used, never during static initialisation, so a
    // missing font file throws where it is used instead of ending the program
    // before main. Use them like fonts: Font::SMALL.drawText(...), or
    // const Font& font = Font::SMALL.
    static const Preset TINY;
    static const Preset SMALL;
    static const Preset MEDIUM;
    static const Preset LARGE;
    static const Preset VERY_LARGE;
    static const Preset MASSIVE;
    static const Preset ENORMOUS;

private:
    FontImpl* impl;
};

// A font named by file and size that is loaded on first use and kept until the
// program ends. A failed load throws and is tried again on the next use.
class Font::Preset {
public:
    constexpr Preset(const char* fileName, unsigned int size) : fileName(fileName), size(size) {}
    ~Preset();
    Preset(const Preset&) = delete;
    Preset& operator=(const Preset&) = delete;

    const Font& get() const;
    operator const Font&() const { return get(); }

    FontSize measureText(const std::string& text) const { return get().measureText(text); }
    void drawText(Image& target, int x, int y, const Colour& colour, const std::string& text) const {
        get().drawText(target, x, y, colour, text);
    }

    const char* getFileName() const { return fileName; }
    unsigned int getSize() const { return size; }

private:
    const char* fileName;
    unsigned int size;
    mutable Font* font = nullptr;
};

} // namespace lum
