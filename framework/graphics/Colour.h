// A colour of four 8-bit channels, laid out red, green, blue, alpha in memory so
// that a block of colours is the RGBA byte stream the platform presents.
#pragma once

#include <cstdint>

namespace lum {

class Colour {
public:
    constexpr Colour(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha)
        : red(red), green(green), blue(blue), alpha(alpha) {}

    constexpr std::uint8_t getRed() const { return red; }
    constexpr std::uint8_t getGreen() const { return green; }
    constexpr std::uint8_t getBlue() const { return blue; }
    constexpr std::uint8_t getAlpha() const { return alpha; }

    void setRed(std::uint8_t value) { red = value; }
    void setGreen(std::uint8_t value) { green = value; }
    void setBlue(std::uint8_t value) { blue = value; }
    void setAlpha(std::uint8_t value) { alpha = value; }

    // Equal only when all four channels are, alpha included.
    constexpr bool operator==(const Colour& other) const {
        return red == other.red && green == other.green && blue == other.blue && alpha == other.alpha;
    }
    constexpr bool operator!=(const Colour& other) const { return !(*this == other); }

    static const Colour BLACK;
    static const Colour WHITE;
    static const Colour GREY;
    static const Colour RED;
    static const Colour GREEN;
    static const Colour BLUE;
    static const Colour YELLOW;
    static const Colour MAGENTA;

private:
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t alpha;
};

static_assert(sizeof(Colour) == 4, "a Colour is exactly four bytes, R G B A");

} // namespace lum
