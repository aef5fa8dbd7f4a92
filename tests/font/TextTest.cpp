// Measuring and drawing text with a real font: the glyph atlas against
// FreeType's own rendering, the measuring rules, the blend, clipping at every
// edge, codes above 127, and a golden hash of a drawn score line.
#include "framework/graphics/Font.h"
#include "framework/graphics/FontImpl.h"
#include "tests/font/AllocationCounter.h"
#include "tests/font/FontFiles.h"
#include "tests/font/ReferenceText.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <climits>
#include <memory>
#include <vector>

namespace {

using font_test::blendChannel;
using font_test::patternedImage;
using font_test::pixelHash;
using font_test::referenceDrawText;
using lum::Colour;
using lum::Font;
using lum::FontImpl;
using lum::Image;

class LiberationMonoText : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_FONT(font_test::liberationMono(), "fonts-liberation");
        font = std::make_unique<Font>(font_test::liberationMono(), 24);
    }
    const FontImpl& impl() const { return font->getImpl(); }
    const FontImpl::GlyphRecord& glyph(char c) const { return *impl().findGlyph(c); }

    std::unique_ptr<Font> font;
};

// FreeType's own rendering of one character, as the font is meant to be built:
// size in 26.6 points at 96 dpi, 8-bit anti-aliased, top row first.
struct FreeTypeGlyph {
    unsigned int width = 0;
    unsigned int rows = 0;
    int left = 0;
    int top = 0;
    std::vector<unsigned char> coverage;
};

FreeTypeGlyph renderWithFreeType(const std::string& path, unsigned int size, char character) {
    FreeTypeGlyph result;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        ADD_FAILURE() << "FreeType did not start";
        return result;
    }
    if (FT_New_Face(library, path.c_str(), 0, &face) == 0 &&
        FT_Set_Char_Size(face, 0, size * 64, 96, 96) == 0 &&
        FT_Load_Char(face, static_cast<unsigned char>(character), FT_LOAD_DEFAULT) == 0 &&
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        result.width = bitmap.width;
        result.rows = bitmap.rows;
        result.left = face->glyph->bitmap_left;
        result.top = face->glyph->bitmap_top;
        for (unsigned int row = 0; row < bitmap.rows; ++row) {
            const unsigned char* line = bitmap.buffer + row * bitmap.pitch;
            result.coverage.insert(result.coverage.end(), line, line + bitmap.width);
        }
    } else {
        ADD_FAILURE() << "FreeType could not render " << character;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return result;
}

TEST_F(LiberationMonoText, AtlasHoldsFreeTypesGlyphsUprightInTheBlueChannel) {
    const lum::ImageImpl& atlas = impl().getAtlas();
    ASSERT_NE(nullptr, atlas.getTransparentColour());
    EXPECT_EQ(Colour(0, 0, 0, 0), *atlas.getTransparentColour());

    for (char character : std::string("Ag|_j~")) {
        SCOPED_TRACE(character);
        const FreeTypeGlyph expected = renderWithFreeType(font_test::liberationMono(), 24, character);
        const FontImpl::GlyphRecord& record = glyph(character);
        ASSERT_EQ(expected.width, record.width);
        ASSERT_EQ(expected.rows, record.height);
        EXPECT_EQ(expected.left, record.bearingX);
        EXPECT_EQ(expected.top - static_cast<int>(expected.rows), record.baselineOffset);
        // FreeType's row 0 is the top; the atlas keeps the glyph's bottom row at atlas y.
        for (unsigned int row = 0; row < expected.rows; ++row) {
            for (unsigned int column = 0; column < expected.width; ++column) {
                const Colour pixel = atlas.getPixel(record.atlasX + column, record.atlasY + expected.rows - 1 - row);
                ASSERT_EQ(Colour(0, 0, expected.coverage[row * expected.width + column], 0), pixel)
                    << "row " << row << " column " << column;
            }
        }
    }
}

TEST_F(LiberationMonoText, GlyphBoxesLieInsideTheAtlasWithoutOverlapping) {
    const lum::ImageImpl& atlas = impl().getAtlas();
    std::vector<int> owner(atlas.getPixelCount(), -1);
    for (int code = 0; code < 128; ++code) {
        const FontImpl::GlyphRecord& record = glyph(static_cast<char>(code));
        ASSERT_LE(std::uint64_t{record.atlasX} + record.width, atlas.getWidth()) << code;
        ASSERT_LE(std::uint64_t{record.atlasY} + record.height, atlas.getHeight()) << code;
        for (unsigned int y = record.atlasY; y < record.atlasY + record.height; ++y) {
            for (unsigned int x = record.atlasX; x < record.atlasX + record.width; ++x) {
                int& cell = owner[y * atlas.getWidth() + x];
                ASSERT_EQ(-1, cell) << "glyphs " << cell << " and " << code << " overlap";
                cell = code;
            }
        }
    }
}

TEST_F(LiberationMonoText, DescendersReachBelowTheBaseline) {
    EXPECT_LT(glyph('g').baselineOffset, 0);
    EXPECT_LT(glyph('j').baselineOffset, 0);
    EXPECT_EQ(0, glyph('A').baselineOffset);

    Image image(40, 60, Colour(0, 0, 0, 0));
    font->drawText(image, 5, 30, Colour(255, 255, 255, 255), "g");
    bool drawnBelow = false;
    for (unsigned int x = 0; x < 40; ++x) {
        drawnBelow = drawnBelow || image.getPixel(x, 29).getAlpha() == 255;
    }
    EXPECT_TRUE(drawnBelow);
    EXPECT_EQ(255, image.getPixel(5, static_cast<unsigned int>(30 + glyph('g').baselineOffset)).getAlpha());
}

TEST_F(LiberationMonoText, MeasuresGlyphsGapsAndSpaces) {
    const unsigned int widthA = glyph('A').width;
    const unsigned int widthB = glyph('B').width;
    auto measure = [&](const std::string& text) {
        const lum::FontSize size = font->measureText(text);
        return std::make_pair(size.width, size.height);
    };
    EXPECT_EQ(std::make_pair(0u, 0u), measure(""));
    EXPECT_EQ(std::make_pair(12u, 0u), measure(" "));
    EXPECT_EQ(std::make_pair(36u, 0u), measure("   "));
    EXPECT_EQ(std::make_pair(widthA, glyph('A').height), measure("A"));
    const unsigned int tallest = std::max(glyph('A').height, glyph('B').height);
    EXPECT_EQ(std::make_pair(widthA + 3 + widthB, tallest), measure("AB"));
    // The gap follows every glyph but the text's last character, even before a space.
    EXPECT_EQ(widthA + 3 + 12 + widthB, measure("A B").first);
    EXPECT_EQ(widthA + 3 + widthB + 3 + 12, measure("AB ").first);
    EXPECT_EQ(12 + widthA, measure(" A").first);
    // Heights come from glyph rows, descenders included; spaces add none.
    EXPECT_EQ(glyph('g').height, measure(" g ").second);
    // A newline is a glyph like any other.
    EXPECT_EQ(widthA + 3 + glyph('\n').width + 3 + widthB, measure("A\nB").first);
}

TEST_F(LiberationMonoText, CodesAbove127AreSkipped) {
    EXPECT_EQ(font->measureText("AB").width, font->measureText("A\xC3\xA9" "B").width);
    EXPECT_EQ(font->measureText("AB").width, font->measureText("\x80" "AB\xFF").width);
    EXPECT_EQ(0u, font->measureText("\xFF\x80").width);
    EXPECT_EQ(0u, font->measureText("\xFF\x80").height);

    Image plain = patternedImage(120, 40);
    Image accented = plain;
    font->drawText(plain, 3, 10, Colour(250, 40, 90, 255), "AB");
    font->drawText(accented, 3, 10, Colour(250, 40, 90, 255), "\xC3\xA9" "A\xE2\x82\xAC" "B\xFF");
    EXPECT_EQ(pixelHash(plain), pixelHash(accented));
}

TEST_F(LiberationMonoText, DrawingMatchesThePixelByPixelReference) {
    const std::string text = "Score: 42 gjq|~{}";
    const Colour colour(20, 255, 20, 255);
    Image drawn = patternedImage(320, 50);
    Image expected = drawn;
    const Image before = drawn;
    font->drawText(drawn, 5, 20, colour, text);
    referenceDrawText(impl(), expected, 5, 20, colour, text);
    EXPECT_NE(pixelHash(before), pixelHash(drawn));
    EXPECT_EQ(pixelHash(expected), pixelHash(drawn));
}

TEST_F(LiberationMonoText, ClipsAtEveryEdgeOfTheTarget) {
    const std::string text = "Wg|Wg";
    const Colour colour(255, 200, 10, 255);
    struct Place {
        int x;
        int y;
    };
    const Place places[] = {{50, 10},  {-17, 10}, {10, -8},  {10, 30},         {-30, -12},
                            {55, 33},  {-200, 10}, {70, 10}, {INT_MAX - 3, 10}, {INT_MIN, INT_MIN},
                            {10, INT_MAX}, {-1, -1}};
    for (const Place& place : places) {
        SCOPED_TRACE(std::to_string(place.x) + ", " + std::to_string(place.y));
        Image drawn = patternedImage(70, 40);
        Image expected = drawn;
        font->drawText(drawn, place.x, place.y, colour, text);
        referenceDrawText(impl(), expected, place.x, place.y, colour, text);
        EXPECT_EQ(pixelHash(expected), pixelHash(drawn));
    }
}

TEST_F(LiberationMonoText, PartlyVisibleTextShowsTheVisiblePart) {
    const unsigned int widthW = glyph('W').width;
    // Beyond the right edge: the first W is whole, the rest cut off.
    Image right(60, 40, Colour(0, 0, 0, 0));
    font->drawText(right, 60 - static_cast<int>(widthW) - 2, 10, Colour(255, 255, 255, 255), "WWWW");
    unsigned int opaqueColumns = 0;
    for (unsigned int x = 0; x < 60; ++x) {
        opaqueColumns += right.getPixel(x, 12).getAlpha() == 255 ? 1 : 0;
    }
    EXPECT_EQ(widthW, opaqueColumns);

    // At a negative x: the first W is gone, the second starts at its pen.
    Image left(60, 40, Colour(0, 0, 0, 0));
    const int x = -static_cast<int>(widthW) - 3;
    font->drawText(left, x, 10, Colour(255, 255, 255, 255), "WW");
    EXPECT_EQ(255, left.getPixel(0, 12).getAlpha());
    EXPECT_EQ(255, left.getPixel(widthW - 1, 12).getAlpha());
    EXPECT_EQ(0, left.getPixel(widthW, 12).getAlpha());
}

TEST_F(LiberationMonoText, EveryPixelOfAGlyphBoxBecomesOpaqueAndZeroCoverageKeepsItsColour) {
    const Colour background(10, 20, 30, 77);
    Image image(60, 60, background);
    font->drawText(image, 4, 20, Colour(200, 100, 50, 255), "A");
    const FontImpl::GlyphRecord& record = glyph('A');
    const lum::ImageImpl& atlas = impl().getAtlas();
    unsigned int untouchedCoverage = 0;
    for (unsigned int y = 0; y < 60; ++y) {
        for (unsigned int x = 0; x < 60; ++x) {
            const Colour pixel = image.getPixel(x, y);
            const bool inBox = x >= 4 && x < 4 + record.width && y >= 20 && y < 20 + record.height;
            if (!inBox) {
                ASSERT_EQ(background, pixel) << x << ", " << y;
                continue;
            }
            ASSERT_EQ(255, pixel.getAlpha());
            if (atlas.getPixel(record.atlasX + x - 4, record.atlasY + y - 20).getBlue() == 0) {
                ASSERT_EQ(Colour(10, 20, 30, 255), pixel) << x << ", " << y;
                ++untouchedCoverage;
            }
        }
    }
    EXPECT_GT(untouchedCoverage, 0u);
}

TEST_F(LiberationMonoText, BlendsOnePixelExactlyFromItsCoverage) {
    // Find a partly covered pixel of A and work its colour out by hand.
    const FontImpl::GlyphRecord& record = glyph('A');
    const lum::ImageImpl& atlas = impl().getAtlas();
    unsigned int column = 0;
    unsigned int row = 0;
    unsigned int coverage = 0;
    for (unsigned int r = 0; r < record.height && coverage == 0; ++r) {
        for (unsigned int c = 0; c < record.width && coverage == 0; ++c) {
            const unsigned int k = atlas.getPixel(record.atlasX + c, record.atlasY + r).getBlue();
            if (k > 0 && k < 255) {
                column = c;
                row = r;
                coverage = k;
            }
        }
    }
    ASSERT_NE(0u, coverage);

    Image image(60, 60, Colour(10, 20, 30, 0));
    font->drawText(image, 7, 11, Colour(200, 100, 50, 255), "A");
    const float a = static_cast<float>(coverage) / 255.0f;
    const float b = static_cast<float>(255 - coverage) / 255.0f;
    const Colour expected(static_cast<std::uint8_t>(200.0 * a + 10.0 * b),
                          static_cast<std::uint8_t>(100.0 * a + 20.0 * b),
                          static_cast<std::uint8_t>(50.0 * a + 30.0 * b), 255);
    EXPECT_EQ(expected, image.getPixel(7 + column, 11 + row)) << "coverage " << coverage;
}

TEST_F(LiberationMonoText, TheTextColoursAlphaPlaysNoPart) {
    Image opaque = patternedImage(150, 40);
    Image invisible = opaque;
    font->drawText(opaque, 2, 12, Colour(90, 180, 240, 255), "Alpha 0");
    font->drawText(invisible, 2, 12, Colour(90, 180, 240, 0), "Alpha 0");
    EXPECT_EQ(pixelHash(opaque), pixelHash(invisible));
}

TEST_F(LiberationMonoText, DrawingAllocatesNothing) {
    Image image = patternedImage(800, 600);
    const std::string text = "Player 1: 42   Computer: 17";
    const Colour green(20, 255, 20, 255);
    const std::size_t before = font_test::allocationCount();
    font->drawText(image, 10, 570, green, text);
    font->drawText(image, -40, -5, green, text);
    font->measureText(text);
    EXPECT_EQ(before, font_test::allocationCount());
}

TEST(TextGolden, ScoreLineInLiberationMonoSixteen) {
    REQUIRE_FONT(font_test::liberationMono(), "fonts-liberation");
    // The hash belongs to the Liberation Mono and FreeType of the build image;
    // a new version of either changes glyph coverage and needs a new constant.
    const Font font(font_test::liberationMono(), 16);
    Image image(200, 40, Colour(0, 0, 60, 255));
    font.drawText(image, 4, 12, Colour(20, 255, 20, 255), "Player 1: 42 gj");
    EXPECT_EQ(0x7f73a29b77726a9dull, pixelHash(image));
}

// A font built by hand: the blend and the measuring rules with numbers worked
// out on paper, independent of any font file.
class HandMadeFont : public FontImpl {
public:
    explicit HandMadeFont(std::uint8_t coverage) {
        spaceWidth = 5;
        characterGap = 2;
        atlas.resize(4, 2);
        atlas.setTransparentColour(Colour(0, 0, 0, 0));
        atlas.plot(0, 0, Colour(0, 0, coverage, 0));
        atlas.plot(1, 0, Colour(0, 0, 0, 0));
        atlas.plot(2, 0, Colour(0, 0, 255, 0));
        atlas.plot(2, 1, Colour(0, 0, 255, 0));
        glyphs['x'] = GlyphRecord{0, 0, 1, 1, 0, 0};  // one pixel of the given coverage
        glyphs['y'] = GlyphRecord{1, 0, 2, 2, 0, -1}; // 2 x 2, one row below the baseline
    }
};

TEST(HandMadeFontText, BlendsByTheWorkedExample) {
    // Coverage 128: 200 x 128/255 + 10 x 127/255 = 105.37..., and so on.
    const HandMadeFont font(128);
    Image image(3, 3, Colour(10, 20, 30, 0));
    font.drawText(image, 1, 1, Colour(200, 100, 50, 9), "x");
    EXPECT_EQ(Colour(105, 60, 40, 255), image.getPixel(1, 1));
    EXPECT_EQ(Colour(10, 20, 30, 0), image.getPixel(0, 1));
    EXPECT_EQ(Colour(10, 20, 30, 0), image.getPixel(2, 1));

    const HandMadeFont full(255);
    full.drawText(image, 0, 0, Colour(200, 100, 50, 9), "x");
    EXPECT_EQ(Colour(200, 100, 50, 255), image.getPixel(0, 0));
}

TEST(HandMadeFontText, PlacesGlyphsByPenAndBaselineOffset) {
    const HandMadeFont font(255);
    EXPECT_EQ(1u + 2 + 5 + 2u, font.measureText("x y").width);
    EXPECT_EQ(2u, font.measureText("x y").height);

    Image image(12, 4, Colour(0, 0, 0, 0));
    font.drawText(image, 1, 2, Colour(9, 9, 9, 255), "x y");
    // x at pen 0; the space moves the pen by 1 + 2 + 5 = 8; y's bottom row at 2 - 1.
    EXPECT_EQ(Colour(9, 9, 9, 255), image.getPixel(1, 2));
    EXPECT_EQ(Colour(0, 0, 0, 255), image.getPixel(9, 1));   // coverage 0
    EXPECT_EQ(Colour(9, 9, 9, 255), image.getPixel(10, 1));
    EXPECT_EQ(Colour(9, 9, 9, 255), image.getPixel(10, 2));
    EXPECT_EQ(Colour(0, 0, 0, 255), image.getPixel(9, 2));   // atlas (1, 1) was never covered
    EXPECT_EQ(Colour(0, 0, 0, 0), image.getPixel(2, 2));
}

TEST(HandMadeFontText, EmptyTargetsAndEmptyFontsDrawNothing) {
    const HandMadeFont font(200);
    Image empty;
    font.drawText(empty, 0, 0, Colour(1, 2, 3, 4), "xyx");
    EXPECT_EQ(0u, empty.getPixelCount());

    const FontImpl blank;
    Image image(4, 4, Colour(5, 5, 5, 5));
    blank.drawText(image, 0, 0, Colour(1, 2, 3, 4), "abc");
    EXPECT_EQ(Colour(5, 5, 5, 5), image.getPixel(0, 0));
    EXPECT_EQ(1u, blank.measureText("ab").width); // empty glyphs, the default gap of 1 between them
}

} // namespace
