// The picture's place in its output; see the header.
#include "framework/PictureFit.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace lum {

namespace {

// Position p along an output span of `span` pixels to the index of one of
// `count` equal parts, clamped to the first and last.
int partAt(std::int64_t p, int span, unsigned int count) {
    if (span <= 0 || count == 0 || p < 0) return 0;
    const std::int64_t part = p * count / span;
    return static_cast<int>(std::min<std::int64_t>(part, std::int64_t{count} - 1));
}

} // namespace

PictureFit::Scaling PictureFit::scalingFromEnvironment() { return scalingNamed(std::getenv("LUM_SCALING")); }

PictureFit::Scaling PictureFit::scalingNamed(const char* name) {
    return name != nullptr && std::strcmp(name, "integer") == 0 ? Scaling::WholeFactors : Scaling::Smooth;
}

PictureFit::PictureFit(unsigned int imageWidth, unsigned int imageHeight, int outputWidth, int outputHeight,
                       Scaling scaling)
    : imageWidth(imageWidth), imageHeight(imageHeight), outputWidth(std::max(outputWidth, 0)),
      outputHeight(std::max(outputHeight, 0)) {
    if (imageWidth == 0 || imageHeight == 0) return;
    const unsigned int factor = std::min(static_cast<unsigned int>(this->outputWidth) / imageWidth,
                                         static_cast<unsigned int>(this->outputHeight) / imageHeight);
    if (scaling == Scaling::WholeFactors && factor >= 1) {
        width = static_cast<int>(factor * imageWidth);
        height = static_cast<int>(factor * imageHeight);
    } else {
        fitSmoothly();
    }
    x = (this->outputWidth - width) / 2;
    y = (this->outputHeight - height) / 2;
}

// Whichever side meets the output's edge first sets the scale; the other is
// rounded to the nearest pixel. Integers only, so 2× is exactly 2×.
void PictureFit::fitSmoothly() {
    const std::int64_t across = std::int64_t{outputWidth} * imageHeight;
    const std::int64_t down = std::int64_t{outputHeight} * imageWidth;
    if (across <= down) {
        width = outputWidth;
        height = static_cast<int>((2 * across + imageWidth) / (2 * std::int64_t{imageWidth}));
    } else {
        height = outputHeight;
        width = static_cast<int>((2 * down + imageHeight) / (2 * std::int64_t{imageHeight}));
    }
}

unsigned int PictureFit::wholeFactor() const {
    if (imageWidth == 0 || width <= 0 || static_cast<unsigned int>(width) % imageWidth != 0) return 0;
    const unsigned int factor = static_cast<unsigned int>(width) / imageWidth;
    return static_cast<unsigned int>(height) == factor * imageHeight ? factor : 0;
}

unsigned int PictureFit::sharpFactor() const {
    if (imageWidth == 0 || static_cast<unsigned int>(width) <= imageWidth) return 1;
    return (static_cast<unsigned int>(width) + imageWidth - 1) / imageWidth;
}

bool PictureFit::hasBars() const { return width != outputWidth || height != outputHeight; }

void PictureFit::toImage(int outputX, int outputY, int& column, int& row) const {
    column = partAt(std::int64_t{outputX} - x, width, imageWidth);
    row = partAt(std::int64_t{outputY} - y, height, imageHeight);
}

void PictureFit::toOutput(int column, int row, int& outputX, int& outputY) const {
    if (imageWidth == 0 || imageHeight == 0) {
        outputX = outputY = 0;
        return;
    }
    outputX = x + static_cast<int>((std::int64_t{column} * width + imageWidth - 1) / imageWidth);
    outputY = y + static_cast<int>((std::int64_t{row} * height + imageHeight - 1) / imageHeight);
}

bool PictureFit::operator==(const PictureFit& other) const {
    return imageWidth == other.imageWidth && imageHeight == other.imageHeight && outputWidth == other.outputWidth &&
           outputHeight == other.outputHeight && x == other.x && y == other.y && width == other.width &&
           height == other.height;
}

} // namespace lum
