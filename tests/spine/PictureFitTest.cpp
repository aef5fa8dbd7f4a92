// The picture's place in outputs of every shape, and positions mapped both ways.
#include "framework/PictureFit.h"

#include <gtest/gtest.h>

#include <tuple>

namespace lum {
namespace {

using Scaling = PictureFit::Scaling;

// x, y, width, height, whole factor, sharp factor.
using Place = std::tuple<int, int, int, int, unsigned int, unsigned int>;

TEST(PictureFit, FillsTheLargestRectangleOfTheImagesAspectCentredOrOfWholeFactorsWhereAsked) {
    const struct { int outputWidth, outputHeight; Scaling scaling; Place expected; } cases[] = {
        {800, 600, Scaling::Smooth, {0, 0, 800, 600, 1, 1}},
        {1600, 1200, Scaling::Smooth, {0, 0, 1600, 1200, 2, 2}},
        {1000, 600, Scaling::Smooth, {100, 0, 800, 600, 1, 1}},     // bars left and right
        {1600, 1201, Scaling::Smooth, {0, 0, 1600, 1200, 2, 2}},    // the odd row is a bar
        {1920, 1080, Scaling::Smooth, {240, 0, 1440, 1080, 0, 2}},  // 1.8×: nearest to 2×, then down
        {400, 1000, Scaling::Smooth, {0, 350, 400, 300, 0, 1}},     // shrinks
        {3840, 2160, Scaling::Smooth, {480, 0, 2880, 2160, 0, 4}},
        {0, -5, Scaling::Smooth, {0, 0, 0, 0, 0, 1}}, // a minimised window shows nothing
        // Whole factors leave larger bars and shrink only where no factor fits.
        {1920, 1080, Scaling::WholeFactors, {560, 240, 800, 600, 1, 1}},
        {3840, 2160, Scaling::WholeFactors, {720, 180, 2400, 1800, 3, 3}},
        {1600, 1200, Scaling::WholeFactors, {0, 0, 1600, 1200, 2, 2}},
        {400, 300, Scaling::WholeFactors, {0, 0, 400, 300, 0, 1}},
    };
    for (const auto& c : cases) {
        const PictureFit fit(800, 600, c.outputWidth, c.outputHeight, c.scaling);
        EXPECT_EQ(Place(fit.getX(), fit.getY(), fit.getWidth(), fit.getHeight(), fit.wholeFactor(), fit.sharpFactor()),
                  c.expected)
            << c.outputWidth << "x" << c.outputHeight << (c.scaling == Scaling::Smooth ? "" : " in whole factors");
    }
    EXPECT_EQ(PictureFit::scalingNamed("integer"), Scaling::WholeFactors);
    EXPECT_EQ(PictureFit::scalingNamed("Integer"), Scaling::Smooth);
    EXPECT_EQ(PictureFit::scalingNamed(nullptr), Scaling::Smooth);
}

// Every image pixel maps to an output pixel that maps back to it (where the
// picture is not shrunk), and every output position, over a bar or outside,
// maps into the image.
TEST(PictureFit, PositionsMapBothWaysAndStayInsideTheImage) {
    for (const auto& [outputWidth, outputHeight] : {std::pair{800, 600}, {2000, 1500}, {1013, 777}, {500, 900}}) {
        const PictureFit fit(800, 600, outputWidth, outputHeight, Scaling::Smooth);
        for (int column = 0; column < 800; column += 7) {
            for (int row = 0; row < 600; row += 11) {
                int x = 0;
                int y = 0;
                fit.toOutput(column, row, x, y);
                int backColumn = -1;
                int backRow = -1;
                fit.toImage(x, y, backColumn, backRow);
                if (fit.getWidth() >= 800) {
                    ASSERT_EQ(backColumn, column) << outputWidth << "x" << outputHeight;
                    ASSERT_EQ(backRow, row) << outputWidth << "x" << outputHeight;
                }
            }
        }
        for (int x = -3; x < outputWidth + 3; x += 5) {
            int column = -1;
            int row = -1;
            fit.toImage(x, outputHeight + 10, column, row);
            ASSERT_GE(column, 0);
            ASSERT_LT(column, 800);
            ASSERT_EQ(row, 599);
        }
    }
}

} // namespace
} // namespace lum
