// The sprites' designs, in the sprite's own pixel units with y upwards. The
// light comes from the upper left: every round body is shaded from a light
// point there to a darker rim, with a small highlight.
#include "tools/assets/Sprites.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

// Maps the design's units onto the canvas.
struct Place {
    double x, y, scale;
    double px(double u) const { return x + u * scale; }
    double py(double v) const { return y + v * scale; }
    double size(double d) const { return d * scale; }
};

// How far a canvas point lies from the light at (lightX, lightY): 0 there,
// 1 at `reach` and beyond.
double shadeAt(const Place& at, double lightX, double lightY, double reach, double x, double y) {
    return std::min(1.0, std::hypot(x - at.px(lightX), y - at.py(lightY)) / at.size(reach));
}

// A round body lit from (lightX, lightY): `light` there, `dark` at `reach` from it.
Canvas::Paint litBody(const Place& at, double lightX, double lightY, double reach, const Rgb& light, const Rgb& dark) {
    return [=](double x, double y) { return mix(light, dark, shadeAt(at, lightX, lightY, reach, x, y)); };
}

void shadow(Canvas& canvas, const Place& at, double centreX, double radiusX) {
    canvas.fill(Shape::ellipse(at.px(centreX), at.py(2.6), at.size(radiusX), at.size(2.0)), Rgb{0, 0, 0}, 0.35);
}

void highlight(Canvas& canvas, const Place& at, double x, double y, double rx, double ry, double degrees, double strength) {
    canvas.fill(Shape::ellipse(at.px(x), at.py(y), at.size(rx), at.size(ry), degrees), Rgb{255, 255, 255}, strength);
}

void leaf(Canvas& canvas, const Place& at, double x, double y, double length, double degrees) {
    const Rgb rim{30, 95, 35};
    canvas.fill(Shape::ellipse(at.px(x), at.py(y), at.size(length + 0.6), at.size(length * 0.45 + 0.6), degrees), rim);
    canvas.fill(Shape::ellipse(at.px(x), at.py(y), at.size(length), at.size(length * 0.45), degrees),
                litBody(at, x - 1.0, y + 1.0, length * 1.6, Rgb{150, 220, 90}, Rgb{60, 150, 50}));
    const double rad = degrees * 3.14159265358979323846 / 180.0;
    const double dx = std::cos(rad) * length * 0.8, dy = std::sin(rad) * length * 0.8;
    canvas.fill(Shape::line(at.px(x - dx), at.py(y - dy), at.px(x + dx), at.py(y + dy), at.size(0.35)), rim, 0.6);
}

// A round fruit with a dark rim, shading and a highlight.
void fruitBall(Canvas& canvas, const Place& at, double cx, double cy, double r, const Rgb& light, const Rgb& dark,
               const Rgb& rim) {
    canvas.fill(Shape::circle(at.px(cx), at.py(cy), at.size(r + 0.8)), rim);
    canvas.fill(Shape::circle(at.px(cx), at.py(cy), at.size(r)), litBody(at, cx - r * 0.35, cy + r * 0.35, r * 1.6, light, dark));
    highlight(canvas, at, cx - r * 0.38, cy + r * 0.4, r * 0.28, r * 0.18, 35.0, 0.7);
}

void berry(Canvas& canvas, const Place& at) {
    shadow(canvas, at, 15.0, 5.0);
    canvas.fill(Shape::line(at.px(15.0), at.py(15.5), at.px(15.8), at.py(19.5), at.size(1.0)), Rgb{100, 70, 40});
    fruitBall(canvas, at, 15.0, 10.5, 6.2, Rgb{255, 120, 130}, Rgb{150, 10, 40}, Rgb{85, 0, 20});
    leaf(canvas, at, 18.4, 19.0, 2.8, 25.0);
}

void cherries(Canvas& canvas, const Place& at) {
    shadow(canvas, at, 15.0, 9.5);
    const Rgb stem{95, 90, 35};
    canvas.fill(Shape::line(at.px(10.6), at.py(14.0), at.px(14.2), at.py(21.0), at.size(1.1)), stem);
    canvas.fill(Shape::line(at.px(14.2), at.py(21.0), at.px(16.6), at.py(25.5), at.size(1.1)), stem);
    canvas.fill(Shape::line(at.px(19.8), at.py(13.0), at.px(18.2), at.py(20.0), at.size(1.1)), stem);
    canvas.fill(Shape::line(at.px(18.2), at.py(20.0), at.px(16.6), at.py(25.5), at.size(1.1)), stem);
    fruitBall(canvas, at, 10.3, 9.0, 5.6, Rgb{255, 90, 100}, Rgb{135, 0, 25}, Rgb{80, 0, 15});
    fruitBall(canvas, at, 20.2, 8.2, 5.6, Rgb{255, 90, 100}, Rgb{135, 0, 25}, Rgb{80, 0, 15});
    leaf(canvas, at, 20.6, 25.0, 3.8, -15.0);
}

void orange(Canvas& canvas, const Place& at) {
    shadow(canvas, at, 15.0, 7.5);
    fruitBall(canvas, at, 15.0, 12.0, 9.8, Rgb{255, 200, 90}, Rgb{215, 95, 10}, Rgb{140, 55, 0});
    // The peel's pores: faint darker dots.
    const Shape pores(Box{at.px(6.0), at.py(3.0), at.px(24.0), at.py(21.0)}, [=](double x, double y) {
        const int cx = static_cast<int>(std::floor((x - at.x) / at.scale * 1.2));
        const int cy = static_cast<int>(std::floor((y - at.y) / at.scale * 1.2));
        return hashNoise(cx, cy, 3) < 0.22;
    });
    canvas.fill(Shape::circle(at.px(15.0), at.py(12.0), at.size(9.4)) & pores, Rgb{170, 70, 0}, 0.25);
    highlight(canvas, at, 11.5, 16.0, 2.8, 1.8, 35.0, 0.55);
    canvas.fill(Shape::circle(at.px(15.0), at.py(21.4), at.size(1.2)), Rgb{80, 110, 40});
    leaf(canvas, at, 18.6, 23.4, 3.4, 25.0);
}

void apple(Canvas& canvas, const Place& at) {
    shadow(canvas, at, 15.0, 10.5);
    const auto body = [&](double grow) {
        return (Shape::circle(at.px(11.2), at.py(12.0), at.size(9.2 + grow)) |
                Shape::circle(at.px(18.8), at.py(12.0), at.size(9.2 + grow))) -
               Shape::circle(at.px(15.0), at.py(23.2), at.size(2.6 - grow)) -
               Shape::circle(at.px(15.0), at.py(1.4), at.size(1.8 - grow));
    };
    canvas.fill(Shape::line(at.px(15.0), at.py(19.0), at.px(16.4), at.py(27.0), at.size(1.5)), Rgb{105, 65, 30});
    canvas.fill(body(0.8), Rgb{95, 0, 10});
    const Shape skin = body(0.0);
    canvas.fill(skin, litBody(at, 10.0, 17.0, 17.0, Rgb{255, 95, 80}, Rgb{150, 10, 20}));
    highlight(canvas, at, 10.0, 16.8, 1.8, 3.2, -25.0, 0.6);
    leaf(canvas, at, 20.6, 25.0, 4.2, 20.0);
}

void melon(Canvas& canvas, const Place& at) {
    shadow(canvas, at, 15.0, 12.0);
    const double cx = 15.0, cy = 14.2, r = 13.2;
    canvas.fill(Shape::circle(at.px(cx), at.py(cy), at.size(r + 0.8)), Rgb{15, 60, 20});
    canvas.fill(Shape::circle(at.px(cx), at.py(cy), at.size(r)), [=](double x, double y) {
        const double u = (x - at.x) / at.scale - cx, v = (y - at.y) / at.scale - cy;
        // Stripes that run from pole to pole, bending with the rind.
        const double stripe = std::sin(u * 0.62 / std::sqrt(std::max(0.15, 1.0 - (v * v) / (r * r))) + 0.4);
        const Rgb rind = stripe > 0.2 ? Rgb{70, 160, 60} : Rgb{25, 105, 40};
        return scaled(rind, 1.6 - 0.88 * shadeAt(at, cx - 5.0, cy + 5.0, r * 1.9, x, y));
    });
    highlight(canvas, at, 9.8, 19.8, 3.0, 1.9, 35.0, 0.45);
    canvas.fill(Shape::line(at.px(15.0), at.py(26.6), at.px(16.4), at.py(28.8), at.size(1.3)), Rgb{105, 75, 35});
}

} // namespace

void paintSnakeBit(Canvas& canvas, double x, double y, double scale) {
    const Place at{x, y, scale};
    canvas.fill(Shape::roundedRect(at.px(0.4), at.py(0.4), at.px(9.6), at.py(9.6), at.size(3.4)), Rgb{20, 80, 30});
    canvas.fill(Shape::roundedRect(at.px(1.2), at.py(1.2), at.px(8.8), at.py(8.8), at.size(2.7)),
                litBody(at, 3.5, 6.5, 7.5, Rgb{160, 240, 100}, Rgb{40, 135, 45}));
    highlight(canvas, at, 3.5, 6.6, 1.5, 1.0, 35.0, 0.55);
}

void paintSnakeHead(Canvas& canvas, double x, double y, double scale) {
    const Place at{x, y, scale};
    canvas.fill(Shape::roundedRect(at.px(0.1), at.py(0.1), at.px(9.9), at.py(9.9), at.size(4.0)), Rgb{25, 85, 30});
    canvas.fill(Shape::roundedRect(at.px(0.9), at.py(0.9), at.px(9.1), at.py(9.1), at.size(3.3)),
                litBody(at, 3.5, 6.8, 8.0, Rgb{200, 250, 110}, Rgb{55, 150, 45}));
    for (const double eye : {3.0, 7.0}) {
        canvas.fill(Shape::circle(at.px(eye), at.py(5.6), at.size(1.65)), Rgb{250, 250, 235});
        canvas.fill(Shape::circle(at.px(eye), at.py(5.4), at.size(0.9)), Rgb{10, 10, 20});
    }
}

void paintFood(Canvas& canvas, int value, double x, double y, double scale) {
    const Place at{x, y, scale};
    switch (value) {
    case 1: berry(canvas, at); break;
    case 2: cherries(canvas, at); break;
    case 3: orange(canvas, at); break;
    case 4: apple(canvas, at); break;
    default: melon(canvas, at); break;
    }
}

lum::Image snakeBit() {
    Canvas canvas(snakeCell, snakeCell);
    paintSnakeBit(canvas, 0.0, 0.0, 1.0);
    return canvas.toImage();
}

lum::Image snakeHead() {
    Canvas canvas(snakeCell, snakeCell);
    paintSnakeHead(canvas, 0.0, 0.0, 1.0);
    return canvas.toImage();
}

lum::Image food(int value) {
    Canvas canvas(foodCell, foodCell);
    paintFood(canvas, value, 0.0, 0.0, 1.0);
    return canvas.toImage();
}

} // namespace pictures
