// The screen's refusal to change size is reported as an error line in the
// framework log, naming the image's implementation by address.
#include "framework/graphics/ImageImpl.h"
#include "framework/graphics/Screen.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string lastLogLine() {
    std::ifstream file("log.txt");
    std::string line;
    std::string last;
    while (std::getline(file, line))
        last = line;
    return last;
}

std::string refusalFor(const lum::Image& image) {
    std::ostringstream text;
    text << "E: Image (" << static_cast<const void*>(&image.getImpl())
         << ") has fixed dimensions and can not be modified";
    return text.str();
}

} // namespace

TEST(FixedDimensionsLog, ResizingTheScreenLogsAnErrorLine) {
    lum::Screen screen(6, 4);
    screen.resize(10, 10);
    EXPECT_EQ(lastLogLine(), refusalFor(screen));
    EXPECT_EQ(screen.getWidth(), 6u);
}

TEST(FixedDimensionsLog, CopyRegionIntoTheScreenLogsAndStillDraws) {
    lum::Screen screen(6, 4);
    lum::Image source(8, 8, lum::Colour::GREEN);
    source.copyRegion(screen, lum::Colour::BLUE, 0, 0, 2, 2);
    EXPECT_EQ(lastLogLine(), refusalFor(screen));
    EXPECT_EQ(screen.getWidth(), 6u);
    EXPECT_EQ(screen.getPixel(1, 1), lum::Colour::GREEN);
    EXPECT_EQ(screen.getPixel(5, 3), lum::Colour::BLUE);
}

TEST(FixedDimensionsLog, AssigningADifferentSizeToTheScreenIsRefusedTheSameWay) {
    lum::Screen screen(6, 4);
    lum::Image& asImage = screen;
    asImage = lum::Image(3, 3, lum::Colour::RED);
    EXPECT_EQ(lastLogLine(), refusalFor(screen));
    EXPECT_EQ(screen.getPixel(0, 0), lum::Colour::BLACK);
}
