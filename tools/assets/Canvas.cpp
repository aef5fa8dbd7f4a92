// Painting with smooth edges, and the hand-over to lum::Image.
#include "tools/assets/Canvas.h"

#include "framework/graphics/Colour.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pictures {

namespace {

constexpr int samplesPerSide = 4;

std::uint8_t channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

Rgb mix(const Rgb& from, const Rgb& to, double amount) {
    const double t = std::clamp(amount, 0.0, 1.0);
    return {from.red + (to.red - from.red) * t, from.green + (to.green - from.green) * t,
            from.blue + (to.blue - from.blue) * t};
}

Rgb scaled(const Rgb& colour, double factor) {
    return {colour.red * factor, colour.green * factor, colour.blue * factor};
}

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

double hashNoise(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFFu) / static_cast<double>(0x1000000);
}

double smoothNoise(double x, double y, int seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = smoothstep(0.0, 1.0, x - fx), ty = smoothstep(0.0, 1.0, y - fy);
    const double bottom = hashNoise(ix, iy, seed) + (hashNoise(ix + 1, iy, seed) - hashNoise(ix, iy, seed)) * tx;
    const double top = hashNoise(ix, iy + 1, seed) + (hashNoise(ix + 1, iy + 1, seed) - hashNoise(ix, iy + 1, seed)) * tx;
    return bottom + (top - bottom) * ty;
}

Canvas::Canvas(int width, int height) : width(width), height(height), pixels(4u * width * height, 0.0) {}

void Canvas::shade(const std::function<Rgb(int x, int y)>& colour) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            double* p = &pixels[4u * (y * width + x)];
            p[0] = c.red;
            p[1] = c.green;
            p[2] = c.blue;
            p[3] = 1.0;
        }
    }
}

void Canvas::fill(const Shape& shape, const Paint& paint, double opacity) {
    const Box& box = shape.bounds();
    const int x0 = std::max(0, static_cast<int>(std::floor(box.left)));
    const int y0 = std::max(0, static_cast<int>(std::floor(box.bottom)));
    const int x1 = std::min(width - 1, static_cast<int>(std::ceil(box.right)));
    const int y1 = std::min(height - 1, static_cast<int>(std::ceil(box.top)));
    constexpr double step = 1.0 / samplesPerSide;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int inside = 0;
            Rgb sum{0.0, 0.0, 0.0};
            for (int j = 0; j < samplesPerSide; ++j) {
                for (int i = 0; i < samplesPerSide; ++i) {
                    const double sx = x + (i + 0.5) * step, sy = y + (j + 0.5) * step;
                    if (!shape.contains(sx, sy)) continue;
                    const Rgb c = paint(sx, sy);
                    sum = {sum.red + c.red, sum.green + c.green, sum.blue + c.blue};
                    ++inside;
                }
            }
            if (inside == 0) continue;
            blend(x, y, scaled(sum, 1.0 / inside), opacity * inside / (samplesPerSide * samplesPerSide));
        }
    }
}

void Canvas::fill(const Shape& shape, const Rgb& colour, double opacity) {
    fill(shape, [colour](double, double) { return colour; }, opacity);
}

void Canvas::blend(int x, int y, const Rgb& colour, double alpha) {
    double* p = &pixels[4u * (y * width + x)];
    p[0] = colour.red * alpha + p[0] * (1.0 - alpha);
    p[1] = colour.green * alpha + p[1] * (1.0 - alpha);
    p[2] = colour.blue * alpha + p[2] * (1.0 - alpha);
    p[3] = alpha + p[3] * (1.0 - alpha);
}

lum::Image Canvas::toImage() const {
    const lum::Colour key(255, 0, 255, 255);
    lum::Image image(width, height, key);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double* p = &pixels[4u * (y * width + x)];
            const std::uint8_t alpha = channel(p[3] * 255.0);
            if (alpha == 0) continue; // stays the key
            lum::Colour colour(channel(p[0] / p[3]), channel(p[1] / p[3]), channel(p[2] / p[3]), alpha);
            // A painted pixel must never read as the key.
            if (colour == key) colour.setRed(254);
            image.plot(x, y, colour);
        }
    }
    return image;
}

} // namespace pictures
