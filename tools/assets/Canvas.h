// A picture being painted, in floating point with an alpha channel, before it
// becomes a lum::Image. Figures are painted with 4 × 4 samples per pixel, so
// their edges are smooth; on a sprite the edge pixels keep a partial alpha,
// which the engine blends, and untouched pixels become the magenta key.
#pragma once

#include "framework/graphics/Image.h"
#include "tools/assets/Shape.h"

#include <functional>
#include <vector>

namespace pictures {

struct Rgb {
    double red, green, blue; // 0 to 255
};

Rgb mix(const Rgb& from, const Rgb& to, double amount);
Rgb scaled(const Rgb& colour, double factor);
double smoothstep(double edge0, double edge1, double x);

// Repeatable noise in [0, 1): per lattice point, and smoothly between them.
double hashNoise(int x, int y, int seed);
double smoothNoise(double x, double y, int seed);

class Canvas {
public:
    using Paint = std::function<Rgb(double x, double y)>;

    // A transparent canvas, for sprites.
    Canvas(int width, int height);

    int getWidth() const { return width; }
    int getHeight() const { return height; }

    // Every pixel from a function of its position, fully opaque.
    void shade(const std::function<Rgb(int x, int y)>& colour);
    // The figure, coloured by the paint at each sample inside it.
    void fill(const Shape& shape, const Paint& paint, double opacity = 1.0);
    void fill(const Shape& shape, const Rgb& colour, double opacity = 1.0);

    lum::Image toImage() const;

private:
    void blend(int x, int y, const Rgb& colour, double alpha);

    int width;
    int height;
    std::vector<double> pixels; // red, green, blue premultiplied by alpha, then alpha
};

} // namespace pictures
