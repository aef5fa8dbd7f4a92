// Lines and circles: each pixel goes through the image's plot. The walks are
// limited to the stretches that can meet the image, so far-off coordinates
// cost no long loops and never wrap or overflow.
#include "framework/graphics/ShapeDrawing.h"

#include "framework/graphics/ImageImpl.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace lum {

namespace {

// Products of two coordinates of int range, and more, without overflow.
__extension__ typedef __int128 Wide;

Wide floorDiv(Wide a, Wide b) { // b > 0
    const Wide q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

Wide ceilDiv(Wide a, Wide b) { // b > 0
    const Wide q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}

// Steps first..last (inclusive; none when first > last).
struct StepRange {
    std::int64_t first;
    std::int64_t last;
    bool empty() const { return first > last; }
};

// The steps k in 0..limit at which start + sign × k lies in [0, size).
StepRange stepsInside(std::int64_t start, std::int64_t sign, std::int64_t size, std::int64_t limit) {
    if (sign > 0)
        return {std::max<std::int64_t>(0, -start), std::min(limit, size - 1 - start)};
    return {std::max<std::int64_t>(0, start - (size - 1)), std::min(limit, start)};
}

// A sloped line as Bresenham walks it: step i (0 <= i < dMajor) stands at
// major1 + sMajor × i on the major axis and minor1 + sMinor × m(i) on the other,
// where m(i) = floor((2 dMinor i + dMajor) / (2 dMajor)) counts the minor steps
// taken so far; the error term then is 2 dMinor − dMajor + 2 dMinor i − 2 dMajor m(i).
struct LineWalk {
    std::int64_t major1;
    std::int64_t minor1;
    std::int64_t dMajor;
    std::int64_t dMinor;
    std::int64_t sMajor;
    std::int64_t sMinor;

    Wide minorStepsAt(Wide i) const { return floorDiv(2 * Wide(dMinor) * i + dMajor, 2 * Wide(dMajor)); }
    // The first step with m(i) >= count.
    Wide firstStepWith(Wide count) const { return ceilDiv(2 * Wide(dMajor) * count - dMajor, 2 * Wide(dMinor)); }
};

// Walks the steps of the line that fall inside a majorSize × minorSize image,
// calling plot(major, minor) exactly where the whole walk would.
template <typename Plot>
void walkLine(const LineWalk& w, std::int64_t majorSize, std::int64_t minorSize, Plot plot) {
    StepRange steps = stepsInside(w.major1, w.sMajor, majorSize, w.dMajor - 1);
    const StepRange minorSteps = stepsInside(w.minor1, w.sMinor, minorSize, w.dMinor);
    if (steps.empty() || minorSteps.empty())
        return;
    // m(i) never decreases: the minor range is one stretch of steps too.
    steps.first = static_cast<std::int64_t>(std::max<Wide>(steps.first, w.firstStepWith(minorSteps.first)));
    steps.last = static_cast<std::int64_t>(std::min<Wide>(steps.last, w.firstStepWith(minorSteps.last + 1) - 1));
    if (steps.empty())
        return;
    const Wide i = steps.first;
    const Wide m = w.minorStepsAt(i);
    std::int64_t major = w.major1 + w.sMajor * steps.first;
    std::int64_t minor = w.minor1 + w.sMinor * static_cast<std::int64_t>(m);
    std::int64_t e = static_cast<std::int64_t>(2 * Wide(w.dMinor) * (i + 1) - w.dMajor - 2 * Wide(w.dMajor) * m);
    for (std::int64_t k = steps.first; k <= steps.last; ++k) {
        plot(major, minor);
        if (e >= 0) {
            e -= 2 * w.dMajor;
            minor += w.sMinor;
        }
        e += 2 * w.dMinor;
        major += w.sMajor;
    }
}

// The midpoint walk of a circle's octant, at the top of its loop.
struct OctantState {
    std::int64_t x;
    std::int64_t y;
    std::int64_t f;
    std::int64_t ddx;
    std::int64_t ddy;
};

// The state the walk has when x has reached `x`: while the walk goes on, y is
// the largest value with x² + y² − y − r² < 0, and f = (x + 1)² + y² − y − r².
// False when the walk has ended by then.
bool octantStateAt(std::int64_t radius, std::int64_t x, OctantState& state) {
    if (x <= 0) {
        state = {0, radius, 1 - radius, 1, -2 * radius};
        return true;
    }
    const Wide room = Wide(radius) * radius - Wide(x) * x; // y (y − 1) < room
    if (room <= 0)
        return false;
    Wide y = static_cast<Wide>((1.0L + std::sqrt(1.0L + 4.0L * static_cast<long double>(room))) / 2.0L);
    while (y > 0 && y * (y - 1) >= room)
        --y;
    while ((y + 1) * y < room)
        ++y;
    // From its last point on (y <= x) the walk stops.
    if (y <= x)
        return false;
    const Wide f = Wide(x + 1) * (x + 1) + y * y - y - Wide(radius) * radius;
    state = {x, static_cast<std::int64_t>(y), static_cast<std::int64_t>(f), 2 * x + 1,
             -2 * static_cast<std::int64_t>(y)};
    return true;
}

// The stretches of the octant's x (from 1 on) at which at least one of the
// eight mirrored points has a coordinate inside the image: cx ± x must lie in
// its width or cy ± x in its height. Sorted and merged; at most four.
std::vector<StepRange> visibleOctantSteps(std::int64_t centreX, std::int64_t centreY, std::int64_t width,
                                          std::int64_t height) {
    const std::int64_t any = std::numeric_limits<std::int64_t>::max();
    std::vector<StepRange> ranges;
    for (const StepRange& range : {stepsInside(centreX, 1, width, any), stepsInside(centreX, -1, width, any),
                                   stepsInside(centreY, 1, height, any), stepsInside(centreY, -1, height, any)}) {
        if (!range.empty())
            ranges.push_back({std::max<std::int64_t>(range.first, 1), range.last});
    }
    std::sort(ranges.begin(), ranges.end(), [](const StepRange& a, const StepRange& b) { return a.first < b.first; });
    std::vector<StepRange> merged;
    for (const StepRange& range : ranges) {
        if (range.empty())
            continue;
        if (!merged.empty() && range.first <= merged.back().last + 1)
            merged.back().last = std::max(merged.back().last, range.last);
        else
            merged.push_back(range);
    }
    return merged;
}

} // namespace

void ShapeDrawing::plotClipped(ImageImpl& image, std::int64_t x, std::int64_t y, const Colour& colour) {
    if (x < 0 || y < 0 || x >= image.getWidth() || y >= image.getHeight())
        return;
    image.plot(static_cast<unsigned int>(x), static_cast<unsigned int>(y), colour);
}

void ShapeDrawing::drawLine(ImageImpl& image, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                         const Colour& colour) {
    if (y1 == y2 || x1 == x2)
        drawStraightLine(image, x1, y1, x2, y2, colour);
    else
        drawSlopedLine(image, x1, y1, x2, y2, colour);
}

void ShapeDrawing::drawStraightLine(ImageImpl& image, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                                 const Colour& colour) {
    // Both ends included. The walk is limited to the image: every pixel past its
    // edges would be ignored anyway, and a far-off end must not cost a long loop.
    const std::int64_t left = std::max<std::int64_t>(std::min(x1, x2), 0);
    const std::int64_t right = std::min<std::int64_t>(std::max(x1, x2), std::int64_t(image.getWidth()) - 1);
    const std::int64_t bottom = std::max<std::int64_t>(std::min(y1, y2), 0);
    const std::int64_t top = std::min<std::int64_t>(std::max(y1, y2), std::int64_t(image.getHeight()) - 1);
    for (std::int64_t y = bottom; y <= top; ++y)
        for (std::int64_t x = left; x <= right; ++x)
            plotClipped(image, x, y, colour);
}

void ShapeDrawing::drawSlopedLine(ImageImpl& image, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                               const Colour& colour) {
    // Bresenham; the end point itself is not plotted. The walk runs along the
    // major axis (the one with the larger difference) and starts and stops
    // where the line is inside the image.
    const std::int64_t dx = std::llabs(x2 - x1);
    const std::int64_t dy = std::llabs(y2 - y1);
    const std::int64_t sx = x2 > x1 ? 1 : -1;
    const std::int64_t sy = y2 > y1 ? 1 : -1;
    if (dx > dy) {
        const LineWalk walk{x1, y1, dx, dy, sx, sy};
        walkLine(walk, image.getWidth(), image.getHeight(), [&](std::int64_t x, std::int64_t y) { plotClipped(image, x, y, colour); });
    } else {
        const LineWalk walk{y1, x1, dy, dx, sy, sx};
        walkLine(walk, image.getHeight(), image.getWidth(), [&](std::int64_t y, std::int64_t x) { plotClipped(image, x, y, colour); });
    }
}

void ShapeDrawing::drawCircle(ImageImpl& image, std::int64_t centreX, std::int64_t centreY, std::int64_t radius,
                           const Colour& colour) {
    // The midpoint method: the four axis points, then one octant mirrored eight ways.
    plotClipped(image, centreX, centreY + radius, colour);
    plotClipped(image, centreX, centreY - radius, colour);
    plotClipped(image, centreX + radius, centreY, colour);
    plotClipped(image, centreX - radius, centreY, colour);
    if (radius <= 0)
        return;
    // Only the stretches of the octant where one of the eight points can meet
    // the image are walked, each from the state the whole walk would have had.
    for (const StepRange& steps : visibleOctantSteps(centreX, centreY, image.getWidth(), image.getHeight())) {
        OctantState state;
        if (!octantStateAt(radius, steps.first - 1, state))
            continue;
        while (state.x < state.y && state.x < steps.last) {
            if (state.f >= 0) {
                state.y -= 1;
                state.ddy += 2;
                state.f += state.ddy;
            }
            state.x += 1;
            state.ddx += 2;
            state.f += state.ddx;
            plotOctants(image, centreX, centreY, state.x, state.y, colour);
        }
    }
}

void ShapeDrawing::plotOctants(ImageImpl& image, std::int64_t centreX, std::int64_t centreY, std::int64_t x, std::int64_t y,
                            const Colour& colour) {
    plotClipped(image, centreX + x, centreY + y, colour);
    plotClipped(image, centreX - x, centreY + y, colour);
    plotClipped(image, centreX + x, centreY - y, colour);
    plotClipped(image, centreX - x, centreY - y, colour);
    plotClipped(image, centreX + y, centreY + x, colour);
    plotClipped(image, centreX - y, centreY + x, colour);
    plotClipped(image, centreX + y, centreY - x, colour);
    plotClipped(image, centreX - y, centreY - x, colour);
}

} // namespace lum
