// Drawing one image into another: the blending rows worked by hand, the
// transparent colour, drawing an image into itself, a randomized run that
// checks every rectangle, mirrored and clipped ones included, pixel by pixel
// at every instruction set, the alpha classes kept true, and the text rows.
#include "ReferenceBlend.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/ImageFile.h"
#include "framework/graphics/RowDrawing.h"
#include "framework/graphics/Screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

using lum::Colour;
using lum::Image;

namespace {

// Loads `picture` into `image` through a BMP file, as the game loads its pictures.
void loadThroughFile(Image& image, const Image& picture) {
    const std::string name = "draw-image-test-" + std::to_string(picture.getWidth()) + ".bmp";
    lum::ImageFile file(name);
    file.save(picture);
    file.load(image);
    std::remove(name.c_str());
}

const Colour BACKDROP(50, 60, 70, 255);

bool samePixels(const Image& a, const Image& b) {
    return a.getWidth() == b.getWidth() && a.getHeight() == b.getHeight() &&
           std::equal(a.getPixels(), a.getPixels() + a.getPixelCount(), b.getPixels());
}

} // namespace

TEST(Blending, EachRowOfTheRulesKeepsTheTargetAlpha) {
    // Worked by hand with W[127] = 0.49804, W[128] = 0.50196, sums truncated.
    struct Case { Colour pixel, under; float opacity; Colour expected; };
    const Case cases[] = {
        // alpha 128, opacity 255: 200 × 0.50196 = 100.39
        {{200, 100, 0, 128}, {0, 0, 0, 255}, 1.0f, {100, 50, 0, 255}},
        // alpha 255, opacity 255: a plain copy of red, green and blue
        {{9, 8, 7, 255}, {1, 2, 3, 40}, 1.0f, {9, 8, 7, 40}},
        // alpha 255, opacity 127: 200 × 0.49804 + 100 × 0.50196 = 149.80
        {{200, 0, 0, 255}, {100, 0, 0, 9}, 0.5f, {149, 0, 0, 9}},
        // alpha 128, opacity 127: 200 × 0.50196 × 0.49804 + 100 × (1 − 0.50196) = 99.80
        {{200, 0, 0, 128}, {100, 0, 0, 9}, 0.5f, {99, 0, 0, 9}},
        // alpha 0, and opacity 0, change nothing
        {{255, 255, 255, 0}, BACKDROP, 1.0f, BACKDROP},
        {{255, 255, 255, 128}, BACKDROP, 0.0f, BACKDROP},
    };
    for (const Case& c : cases) {
        Image source(1, 1, c.pixel);
        source.setAlpha(c.opacity);
        Image target(1, 1, c.under);
        EXPECT_EQ(target.drawImage(source).getPixel(0, 0), c.expected) << "alpha " << int(c.pixel.getAlpha());
    }
}

TEST(Transparency, KeyColourIsComparedOnAllFourChannels) {
    Image sprite(3, 1, Colour::MAGENTA);
    sprite.plot(1, 0, Colour(255, 0, 255, 254)).plot(2, 0, Colour::GREEN);
    sprite.setTransparentColour(Colour::MAGENTA);
    Image target(3, 1, BACKDROP);
    target.drawImage(sprite);
    EXPECT_EQ(target.getPixel(0, 0), BACKDROP);
    // 255 × 0.99608 + 50 × 0.00392 = 254.2; 60 × 0.00392 = 0.2
    EXPECT_EQ(target.getPixel(1, 0), Colour(254, 0, 254, 255));
    EXPECT_EQ(target.getPixel(2, 0), Colour::GREEN);
}

TEST(Placement, DrawingAnImageIntoItselfLeavesItUnchanged) {
    Image itself(5, 5, BACKDROP), original(5, 5, BACKDROP);
    for (unsigned int i = 0; i < 25; ++i)
        itself.getPixels()[i] = original.getPixels()[i] = Colour(std::uint8_t(i), 7, 7, 255);
    itself.drawImage(itself, 1, 1, 4, 4, 0, 0).drawImage(itself);
    EXPECT_TRUE(samePixels(itself, original));
}

// Runs a check once for every instruction set this processor has, and
// returns to the best afterwards.
template <class Check>
void atEveryLevel(Check check) {
    using lum::RowDrawing;
    for (int level = 0; level <= int(RowDrawing::best()); ++level) {
        RowDrawing::use(RowDrawing::Level(level));
        SCOPED_TRACE(RowDrawing::name(RowDrawing::active()));
        check();
    }
    RowDrawing::use(RowDrawing::best());
}

// Any corners and destination, extremes included, checked against the plain
// rules applied one source pixel at a time at the place the rules give it.
// The images hold every kind of pixel, up to 40 to a row so that rows have
// whole blocks and a rest; rows that are opaque but for one pixel must still
// find that pixel. Under the sanitizers this also shows that nothing outside
// either pixel block is read or written.
TEST(RandomizedDrawing, MatchesThePlainRulesPixelByPixel) {
    atEveryLevel([] {
    std::mt19937 random(20240611u);
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto noise = [&]() {
        const int kind = pick(0, 2); // opaque, alphas 0 and 255, anything
        Image image(unsigned(pick(0, 40)), unsigned(pick(0, 12)), Colour::BLACK);
        for (unsigned int i = 0; i < image.getPixelCount(); ++i) {
            const std::uint32_t bits = random();
            const std::uint8_t alphas[] = {255, 0, std::uint8_t(bits >> 24)};
            image.getPixels()[i] = bits % 11 == 0 ? Colour::MAGENTA
                                                  : Colour(std::uint8_t(bits), std::uint8_t(bits >> 8),
                                                           std::uint8_t(bits >> 16), alphas[bits % (kind + 1)]);
        }
        for (unsigned int y = 0; kind == 0 && y < image.getHeight() && image.getWidth() > 0 && pick(0, 1); ++y)
            image.getPixels()[y * image.getWidth() + random() % image.getWidth()].setAlpha(std::uint8_t(pick(0, 254)));
        return Image(image); // a copy, drawn by the fast paths its pixels allow
    };
    auto coordinate = [&](unsigned int size) {
        const int kind = pick(0, 9);
        return kind == 0 ? INT_MIN + pick(0, 2) : kind == 1 ? INT_MAX - pick(0, 2) : pick(-4, int(size) + 4);
    };
    for (int round = 0; round < 4000; ++round) {
        Image source = noise();
        if (pick(0, 3) == 0) source.setTransparentColour(Colour::MAGENTA);
        if (pick(0, 3) == 0) source.setAlpha(float(pick(0, 255)) / 255.0f);
        Image target = noise();
        Image expected(target);
        const int x1 = coordinate(source.getWidth()), x2 = coordinate(source.getWidth());
        const int y1 = coordinate(source.getHeight()), y2 = coordinate(source.getHeight());
        const int destX = coordinate(target.getWidth()), destY = coordinate(target.getHeight());
        target.drawImage(source, x1, y1, x2, y2, destX, destY);

        // Target pixel (destX + j, destY + k) takes source pixel (x1 ± j, y1 ± k)
        // for j below |x2 − x1| and k below |y2 − y1|, when that pixel exists.
        const std::int64_t stepX = x2 < x1 ? -1 : 1, stepY = y2 < y1 ? -1 : 1;
        for (std::int64_t ty = 0; ty < expected.getHeight(); ++ty) {
            const std::int64_t k = ty - destY, sy = y1 + k * stepY;
            if (k < 0 || k >= stepY * (std::int64_t(y2) - y1) || sy < 0 || sy >= source.getHeight())
                continue;
            for (std::int64_t tx = 0; tx < expected.getWidth(); ++tx) {
                const std::int64_t j = tx - destX, sx = x1 + j * stepX;
                if (j >= 0 && j < stepX * (std::int64_t(x2) - x1) && sx >= 0 && sx < source.getWidth())
                    reference::drawPixel(expected.getPixels()[ty * expected.getWidth() + tx],
                                         source.getPixel(unsigned(sx), unsigned(sy)), source.getTransparentColour(),
                                         source.getOpacity());
            }
        }
        ASSERT_TRUE(samePixels(target, expected)) << "round " << round; // seeded: rounds repeat
    }
    });
}

// Drawing keeps to the alphas an image is known to have, and an image whose
// transparent colour no pixel has draws as if it had none: every way of
// changing pixels after a first draw must be seen by the next. Each change
// brings a partly transparent pixel or the key where the fast paths would miss it.
TEST(KnownPixels, EveryChangeIsSeenByTheNextDraw) {
    const Colour odd(200, 100, 50, 99), key = Colour::MAGENTA;
    using Change = std::function<void(Image&)>;
    const std::pair<const char*, Change> changes[] = {
        {"plot", [&](Image& image) { image.plot(3, 1, odd).plot(4, 1, key); }},
        {"getPixels", [&](Image& image) {
             Colour* pixels = image.getPixels();
             pixels[image.getWidth() + 3] = odd;
             pixels[5] = key;
         }},
        {"clear", [&](Image& image) { image.clear(odd); }},
        {"clear to the key", [&](Image& image) { image.clear(key); }},
        {"assignment", [&](Image& image) { image = Image(20, 4, odd).plot(2, 2, key).setTransparentColour(key); }},
        {"copyRegion", [&](Image& image) { Image(20, 4, odd).copyRegion(image, odd, 0, 0, 20, 4); }},
        {"resize", [&](Image& image) { image.plot(3, 1, odd).resize(30, 3); }},
        {"resize uncovering a black key",
         [](Image& image) { image.setTransparentColour(Colour::BLACK).resize(20, 2).resize(20, 4); }},
        {"loading a file", [&](Image& image) { loadThroughFile(image, Image(20, 4, odd).plot(3, 1, key)); }},
        {"a new key", [](Image& image) { image.setTransparentColour(Colour(10, 20, 30, 255)); }},
        {"drawing onto it", [&](Image& image) { image.drawImage(Image(2, 2, key), 0, 0, 2, 2, 3, 1); }},
    };
    for (const auto& [name, change] : changes) {
        for (const bool changeTarget : {false, true}) {
            SCOPED_TRACE(std::string(name) + (changeTarget ? " of the target" : " of the source"));
            Image source(20, 4, Colour(10, 20, 30, 255)), target(20, 4, BACKDROP);
            source.setTransparentColour(key);
            target.drawImage(source); // both images' facts are known now, no pixel keyed
            change(changeTarget ? target : source);
            Image expected(target);
            target.drawImage(source);
            for (unsigned int y = 0; y < std::min(source.getHeight(), expected.getHeight()); ++y)
                for (unsigned int x = 0; x < std::min(source.getWidth(), expected.getWidth()); ++x)
                    reference::drawPixel(expected.getPixels()[y * expected.getWidth() + x], source.getPixel(x, y),
                                         source.getTransparentColour(), 255);
            EXPECT_TRUE(samePixels(target, expected));
        }
    }
}

// A clear is carried out only when the pixels are next used, or dropped when
// an opaque picture then covers the whole image. Every way of using the image
// after a clear must find what an image filled with that colour gives.
TEST(PendingClear, EveryUseAfterAClearSeesTheClearedColour) {
    const Colour cleared(40, 50, 60, 255);
    const Colour other(1, 2, 3, 255);
    Image keyed(20, 4, other);
    keyed.plot(2, 1, Colour::MAGENTA).setTransparentColour(Colour::MAGENTA);
    Image holes(20, 4, other);
    holes.plot(0, 0, Colour(9, 9, 9, 0)).plot(19, 3, Colour(9, 9, 9, 0));
    Image translucent(20, 4, other);
    translucent.setAlpha(0.5f);
    using Use = std::function<Image(Image&)>;
    const std::pair<const char*, Use> uses[] = {
        {"getPixel", [&](Image& image) { return Image(1, 1, image.getPixel(7, 2)); }},
        {"getPixels to read", [&](Image& image) {
             Image copy(20, 4, other);
             const Image& reader = image;
             std::copy(reader.getPixels(), reader.getPixels() + 80, copy.getPixels());
             return copy;
         }},
        {"getPixels to write one", [&](Image& image) { image.getPixels()[5] = other; return image; }},
        {"plot", [&](Image& image) { return Image(image.plot(3, 1, other)); }},
        {"a copy", [&](Image& image) { return Image(image); }},
        {"assignment from it", [&](Image& image) { Image copy(3, 3, other); copy = image; return copy; }},
        {"resize", [&](Image& image) { return Image(image.resize(30, 5)); }},
        {"drawn onto another", [&](Image& image) { Image target(20, 4, other); target.drawImage(image); return target; }},
        {"a small picture drawn onto it", [&](Image& image) {
             return Image(image.drawImage(Image(2, 2, other), 0, 0, 2, 2, 3, 1)); }},
        {"a whole keyed picture drawn onto it", [&](Image& image) { return Image(image.drawImage(keyed)); }},
        {"a whole picture with holes drawn onto it", [&](Image& image) { return Image(image.drawImage(holes)); }},
        {"a whole translucent picture drawn onto it", [&](Image& image) { return Image(image.drawImage(translucent)); }},
        {"a whole opaque picture, then a clear and a small one", [&](Image& image) {
             image.drawImage(Image(20, 4, other));
             image.clear(cleared);
             return Image(image.drawImage(Image(2, 2, other), 0, 0, 2, 2, 3, 1));
         }},
        {"copyRegion", [&](Image& image) { Image region(1, 1, other); return image.copyRegion(region, other, 2, 1, 9, 3); }},
        {"saved and loaded", [&](Image& image) { Image loaded(1, 1, other); loadThroughFile(loaded, image); return loaded; }},
    };
    atEveryLevel([&] {
        for (const auto& [name, use] : uses) {
            SCOPED_TRACE(name);
            Image image(20, 4, other);
            image.plot(4, 2, Colour::WHITE);
            image.clear(cleared);
            Image filled(20, 4, cleared);
            EXPECT_TRUE(samePixels(use(image), use(filled)));
        }
    });
}

// A presenter compares only the rows the screen hands over as drawn on since
// they were last taken: every row a change reaches must be among them, and
// the drawing the game does each frame should leave the rest alone.
TEST(ChangedRows, EveryRowAChangeReachesIsFlaggedAndNoOther) {
    const Colour back(40, 50, 60, 255), other(1, 2, 3, 255);
    Image picture(20, 8, back);
    picture.plot(5, 6, other);
    Image keyed(20, 8, other);
    keyed.plot(2, 1, Colour::MAGENTA).setTransparentColour(Colour::MAGENTA);
    struct Use {
        const char* name;
        std::function<void(lum::Screen&)> change;
        std::vector<unsigned int> flagged; // exactly these rows; empty with `all`
        bool all;
    };
    const Use uses[] = {
        {"plot", [&](lum::Screen& s) { s.plot(3, 2, other); }, {2}, false},
        {"plot outside", [&](lum::Screen& s) { s.plot(3, 9, other); }, {}, false},
        {"a line", [&](lum::Screen& s) { s.drawLine(0, 1, 19, 3, other); }, {1, 2, 3}, false},
        {"a small picture", [&](lum::Screen& s) { s.drawImage(Image(2, 3, other), 0, 0, 2, 3, 4, 5); }, {5, 6, 7}, false},
        {"a keyed picture", [&](lum::Screen& s) { s.drawImage(keyed, 0, 0, 20, 2, 0, 3); }, {3, 4}, false},
        {"the same picture again", [&](lum::Screen& s) { s.drawImage(picture); }, {}, false},
        {"a picture a row apart", [&](lum::Screen& s) { Image p(picture); p.plot(0, 1, other); s.drawImage(p); }, {1}, false},
        {"the picture over a clear", [&](lum::Screen& s) { s.clear(other); s.drawImage(picture); }, {}, false},
        {"a keyed picture over a clear", [&](lum::Screen& s) { s.clear(back); s.drawImage(keyed); }, {}, true},
        {"a clear", [&](lum::Screen& s) { s.clear(back); }, {}, true},
        {"assignment", [&](lum::Screen& s) { static_cast<Image&>(s) = Image(20, 8, other); }, {}, true},
    };
    for (const Use& use : uses) {
        SCOPED_TRACE(use.name);
        lum::Screen screen(20, 8);
        lum::ChangedRows rows;
        screen.drawImage(picture);
        screen.takeChangedRows(rows);
        const Image before(screen);
        use.change(screen);
        screen.takeChangedRows(rows);
        std::vector<unsigned int> flagged;
        for (unsigned int row = 0; row < 8; ++row) {
            bool rowChanged = false;
            for (unsigned int x = 0; x < 20; ++x)
                rowChanged = rowChanged || !(screen.getPixel(x, row) == before.getPixel(x, row));
            EXPECT_TRUE(!rowChanged || rows.contains(row)) << "row " << row << " changed unflagged";
            if (rows.contains(row))
                flagged.push_back(row);
        }
        const std::vector<unsigned int> everyRow{0, 1, 2, 3, 4, 5, 6, 7};
        EXPECT_EQ(flagged, use.all ? everyRow : use.flagged);
        const lum::RowBand band = rows.band();
        EXPECT_EQ(band.count, flagged.empty() ? 0u : flagged.back() - flagged.front() + 1);
        EXPECT_EQ(band.first, flagged.empty() ? 0u : flagged.front());
        // Taken once, they are gone.
        screen.takeChangedRows(rows);
        EXPECT_EQ(rows.band().count, 0u);
    }
}

// A pixel block handed out for writing stays good until the block is
// replaced: writes through it, before or after a clear, are kept, shown and
// seen by the next draw, however the image was known to look before.
TEST(HandedOutPixels, WritesThroughThemAreNeverUndoneOrOverlooked) {
    const Colour back(40, 50, 60, 255), hole(9, 9, 9, 0);
    lum::Screen screen(4, 3);
    lum::ChangedRows rows;
    Colour* pixels = screen.getPixels();
    screen.clear(back);
    screen.takeChangedRows(rows);
    pixels[4 * 2 + 1] = Colour::MAGENTA; // after the clear and after the rows were taken
    pixels[0] = hole;
    EXPECT_EQ(screen.getPixel(1, 2), Colour::MAGENTA);
    screen.takeChangedRows(rows);
    EXPECT_TRUE(rows.contains(0) && rows.contains(2)) << "writes through the block are shown";
    // Drawn onto another image: the key and the hole count though the image
    // was cleared to an opaque colour without a key.
    screen.setTransparentColour(Colour::MAGENTA);
    Image target(4, 3, Colour::WHITE);
    target.drawImage(screen);
    EXPECT_EQ(target.getPixel(1, 2), Colour::WHITE);
    EXPECT_EQ(target.getPixel(0, 0), Colour::WHITE);
    EXPECT_EQ(target.getPixel(3, 1), Colour(40, 50, 60, 255));
    // A copy has a block of its own, which it knows again.
    Image copy(screen);
    copy.plot(0, 0, back);
    Image second(4, 3, Colour::WHITE);
    EXPECT_EQ(second.drawImage(copy).getPixel(1, 2), Colour::WHITE);
    EXPECT_EQ(second.getPixel(0, 0), back);
}

// Text rows: every coverage over every channel value beneath, for every text
// channel value, against the plain rule; the result is always opaque.
TEST(CoverageRows, EveryCoverageTextAndTargetValueGivesThePlainRule) {
    atEveryLevel([] {
        std::vector<Colour> atlas, row(256, Colour::BLACK);
        for (unsigned int k = 0; k < 256; ++k)
            atlas.emplace_back(7, 7, std::uint8_t(k), 9); // only blue counts
        for (unsigned int text = 0; text < 256; ++text) {
            const Colour colour(std::uint8_t(text), std::uint8_t(255 - text), std::uint8_t(text / 2), 0);
            for (unsigned int under = 0; under < 256; ++under) {
                std::fill(row.begin(), row.end(), Colour(std::uint8_t(under), std::uint8_t(under), std::uint8_t(under), 0));
                // An odd length: whole blocks and a rest.
                lum::RowDrawing::drawCoverage({row.data(), 0, atlas.data(), 0, 255, 1}, colour);
                lum::RowDrawing::drawCoverage({row.data() + 255, 0, atlas.data() + 255, 0, 1, 1}, colour);
                for (unsigned int k = 0; k < 256; ++k) {
                    const Colour expected(reference::coverChannel(colour.getRed(), std::uint8_t(under), std::uint8_t(k)),
                                          reference::coverChannel(colour.getGreen(), std::uint8_t(under), std::uint8_t(k)),
                                          reference::coverChannel(colour.getBlue(), std::uint8_t(under), std::uint8_t(k)), 255);
                    ASSERT_EQ(row[k], expected) << "text " << text << ", beneath " << under << ", coverage " << k;
                }
            }
        }
    });
}

// The presenters' copy into windows that keep blue first, and its comparison:
// every length, so whole blocks and rests; nothing past the count is written.
TEST(SwappedCopy, RedAndBlueTradePlacesAndNothingElseChanges) {
    atEveryLevel([] {
        std::mt19937 random(77u);
        std::vector<Colour> source;
        for (int i = 0; i < 40; ++i)
            source.emplace_back(std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()));
        for (std::size_t count = 0; count < 40; ++count) {
            std::vector<Colour> target(40, BACKDROP);
            lum::RowDrawing::copySwappingRedAndBlue(target.data(), source.data(), count);
            for (std::size_t i = 0; i < 40; ++i) {
                const Colour& s = source[i];
                ASSERT_EQ(target[i], i < count ? Colour(s.getBlue(), s.getGreen(), s.getRed(), s.getAlpha()) : BACKDROP)
                    << "count " << count << ", pixel " << i;
            }
            // The copy is recognised as held; a change to any byte of it is
            // seen, and bytes past the count are not looked at.
            EXPECT_TRUE(lum::RowDrawing::holdsSwappedCopy(target.data(), source.data(), count));
            auto* bytes = reinterpret_cast<unsigned char*>(target.data());
            for (std::size_t byte = 0; byte < 40 * 4; ++byte) {
                bytes[byte] ^= 0x10;
                ASSERT_EQ(lum::RowDrawing::holdsSwappedCopy(target.data(), source.data(), count), byte >= count * 4)
                    << "count " << count << ", byte " << byte;
                bytes[byte] ^= 0x10;
            }
        }
    });
}
