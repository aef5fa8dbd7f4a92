// A plane figure for the picture generator: a bounding box and a test of
// whether a point lies inside, in pixel units with y upwards like lum::Image.
// Figures combine by union, difference and intersection.
#pragma once

#include <functional>

namespace pictures {

struct Box {
    double left, bottom, right, top;
};

class Shape {
public:
    using Test = std::function<bool(double x, double y)>;

    Shape(const Box& box, Test inside) : box(box), inside(std::move(inside)) {}

    static Shape circle(double centreX, double centreY, double radius);
    // An ellipse turned by `degrees` anticlockwise about its centre.
    static Shape ellipse(double centreX, double centreY, double radiusX, double radiusY, double degrees = 0.0);
    static Shape roundedRect(double left, double bottom, double right, double top, double radius);
    // A stroke of the given width from one point to another, with round ends.
    static Shape line(double x1, double y1, double x2, double y2, double width);
    // Everything below the curve y = height(x), from x = left to x = right.
    static Shape below(double left, double right, double top, std::function<double(double)> height);

    Shape operator|(const Shape& other) const;
    Shape operator-(const Shape& other) const;
    Shape operator&(const Shape& other) const;

    bool contains(double x, double y) const { return inside(x, y); }
    const Box& bounds() const { return box; }

private:
    Box box;
    Test inside;
};

} // namespace pictures
