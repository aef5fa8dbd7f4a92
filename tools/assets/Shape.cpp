// The figures the pictures are made of.
#include "tools/assets/Shape.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

constexpr double pi = 3.14159265358979323846;

} // namespace

Shape Shape::circle(double centreX, double centreY, double radius) {
    return Shape({centreX - radius, centreY - radius, centreX + radius, centreY + radius},
                 [=](double x, double y) {
                     const double dx = x - centreX, dy = y - centreY;
                     return dx * dx + dy * dy <= radius * radius;
                 });
}

Shape Shape::ellipse(double centreX, double centreY, double radiusX, double radiusY, double degrees) {
    const double reach = std::max(radiusX, radiusY);
    const double c = std::cos(degrees * pi / 180.0), s = std::sin(degrees * pi / 180.0);
    return Shape({centreX - reach, centreY - reach, centreX + reach, centreY + reach}, [=](double x, double y) {
        const double u = ((x - centreX) * c + (y - centreY) * s) / radiusX;
        const double v = (-(x - centreX) * s + (y - centreY) * c) / radiusY;
        return u * u + v * v <= 1.0;
    });
}

Shape Shape::roundedRect(double left, double bottom, double right, double top, double radius) {
    return Shape({left, bottom, right, top}, [=](double x, double y) {
        if (x < left || x > right || y < bottom || y > top) return false;
        const double dx = std::max({left + radius - x, 0.0, x - (right - radius)});
        const double dy = std::max({bottom + radius - y, 0.0, y - (top - radius)});
        return dx * dx + dy * dy <= radius * radius;
    });
}

Shape Shape::line(double x1, double y1, double x2, double y2, double width) {
    const double half = width / 2.0;
    const double lengthSquared = (x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1);
    return Shape({std::min(x1, x2) - half, std::min(y1, y2) - half, std::max(x1, x2) + half, std::max(y1, y2) + half},
                 [=](double x, double y) {
                     double t = lengthSquared > 0.0 ? ((x - x1) * (x2 - x1) + (y - y1) * (y2 - y1)) / lengthSquared : 0.0;
                     t = std::clamp(t, 0.0, 1.0);
                     const double dx = x - (x1 + t * (x2 - x1)), dy = y - (y1 + t * (y2 - y1));
                     return dx * dx + dy * dy <= half * half;
                 });
}

Shape Shape::below(double left, double right, double top, std::function<double(double)> height) {
    return Shape({left, 0.0, right, top}, [=](double x, double y) { return y <= height(x); });
}

Shape Shape::operator|(const Shape& other) const {
    const Box joined{std::min(box.left, other.box.left), std::min(box.bottom, other.box.bottom),
                     std::max(box.right, other.box.right), std::max(box.top, other.box.top)};
    return Shape(joined, [a = inside, b = other.inside](double x, double y) { return a(x, y) || b(x, y); });
}

Shape Shape::operator-(const Shape& other) const {
    return Shape(box, [a = inside, b = other.inside](double x, double y) { return a(x, y) && !b(x, y); });
}

Shape Shape::operator&(const Shape& other) const {
    const Box common{std::max(box.left, other.box.left), std::max(box.bottom, other.box.bottom),
                     std::min(box.right, other.box.right), std::min(box.top, other.box.top)};
    return Shape(common, [a = inside, b = other.inside](double x, double y) { return a(x, y) && b(x, y); });
}

} // namespace pictures
