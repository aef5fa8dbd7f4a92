// Fonts with the real font files of the build machine: the name rules and
// failure messages, finding the files the game names by Windows paths, damaged
// font data, the shared handle, glyphs shared by fonts of one file and size
// and the lazily loaded framework fonts; then measuring and drawing: spacing,
// descenders, clipping at every edge and the rows text flags; and the blend,
// the glyph boxes and codes above 127 by a font made by hand.
#include "framework/graphics/Font.h"
#include "framework/graphics/FontImpl.h"
#include "framework/graphics/ImageAccess.h"
#include "framework/graphics/FontLocator.h"
#include "framework/graphics/TrueTypeFont.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>


#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <tuple>

namespace lum::test {
namespace {

using Bytes = std::vector<unsigned char>;

const std::string NOT_FOUND = "TrueType font not found on standard search paths, or in local directory.";

// An installed Liberation font (fonts-liberation or fonts-liberation2), or "" when absent.
std::string liberation(const std::string& name) {
    for (const std::string folder : {"/usr/share/fonts/truetype/liberation/", "/usr/share/fonts/truetype/liberation2/"})
        if (std::filesystem::is_regular_file(folder + name)) return folder + name;
    return "";
}

Bytes readBytes(const std::string& path) { return readFile<Bytes>(path); }

// FNV-1a over the RGBA bytes, bottom row first.
std::uint64_t pixelHash(const Image& image) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const Colour* pixel = image.getPixels(); pixel != image.getPixels() + image.getPixelCount(); ++pixel)
        for (std::uint8_t byte : {pixel->getRed(), pixel->getGreen(), pixel->getBlue(), pixel->getAlpha()})
            hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

// What a font draws of every printable character: equal for the same font.
std::uint64_t drawnHash(const FontImpl& font) {
    std::string all;
    for (char c = '!'; c <= '~'; ++c) all += c;
    Image image(2400, 60, Colour(0, 0, 0, 255));
    font.drawText(lum::ImageAccess::of(image), 0, 20, Colour(255, 255, 255, 255), all);
    return pixelHash(image);
}

// Liberation Mono at 24 points: space 12, gap 3.
class Fonts : public ::testing::Test {
protected:
    const std::string mono = liberation("LiberationMono-Regular.ttf");
    std::unique_ptr<Font> font;

    void SetUp() override {
        if (mono.empty()) GTEST_SKIP() << "Liberation Mono is not installed (Debian package fonts-liberation)";
        font = std::make_unique<Font>(mono, 24);
    }
    const FontImpl::GlyphRecord& glyph(char c) const { return *font->getImpl().findGlyph(c); }
};

// ---- Loading

TEST(FontNames, AreRefusedByExtensionBeforeAnyFileIsSought) {
    const std::pair<const char*, std::string> cases[] = {
        {"cour", "Unable to determine file type, file has no extension"},
        {"C:/Windows/Fonts/COUR.TTF", "Font type is not supported: TTF"},
        {"font.otf", "Font type is not supported: otf"},
        {"cour.ttf.bak", "Font type is not supported: bak"},
        {"fonts.d/cour", "Font type is not supported: d/cour"}, // the last dot of the whole name counts
        {"C:/Windows/Fonts/nosuchfont.ttf", NOT_FOUND},
        {"/no/such/folder/font.ttf", NOT_FOUND}};
    for (const auto& c : cases) EXPECT_EQ(thrown([&] { Font(c.first, 12); }), c.second) << c.first;
}

TEST_F(Fonts, WindowsNamesResolveThroughFontconfig) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Windows\\Fonts\\cour.ttf", "LiberationMono-Regular.ttf"},
        {"C:/Windows/Fonts/courbd.ttf", "LiberationMono-Bold.ttf"},
        {"C:\\WINDOWS\\Fonts\\ARIAL.TTF", "LiberationSans-Regular.ttf"}, // Windows ignores letter case
        {"C:/Windows/Fonts/nosuchfont.ttf", ""}};
    // The second round gets the answers fontconfig gave the first.
    for (int round = 0; round < 2; ++round)
        for (const auto& [name, file] : cases)
            EXPECT_EQ(std::filesystem::path(lum::FontLocator::locate(name)).filename().string(), file) << name;
    EXPECT_EQ(lum::FontLocator::locate(mono), mono);
    EXPECT_STREQ(Font::VERY_LARGE.getFileName(), "C:/Windows/Fonts/cour.ttf"); // the framework's own fonts
    EXPECT_EQ(Font::VERY_LARGE.measureText(" ").width, 12u);
    EXPECT_EQ(drawnHash(Font("C:\\Windows\\Fonts\\cour.ttf", 24).getImpl()), drawnHash(font->getImpl()));
}

// A font file standing in the working directory under the Windows file name
// wins over fontconfig's match; a text file named like a font is not found.
// The same name in another working directory is another file, even while a
// font of the first is alive.
TEST_F(Fonts, AFileInTheWorkingDirectoryComesBeforeFontconfig) {
    const std::string sans = liberation("LiberationSans-Regular.ttf");
    if (sans.empty()) GTEST_SKIP() << "Liberation Sans is not installed";
    std::filesystem::create_directories("other");
    // Left by an earlier run in the same folder; MinGW's copy_file refuses to
    // overwrite a file even when asked to.
    std::filesystem::remove("cour.ttf");
    std::filesystem::remove("other/cour.ttf");
    std::filesystem::copy_file(sans, "cour.ttf");
    std::filesystem::copy_file(mono, "other/cour.ttf");
    std::ofstream("notes.ttf") << "these are not the glyphs you are looking for\n";
    // Back in the test's own folder afterwards, whatever the test's end.
    const std::shared_ptr<void> back(nullptr, [first = std::filesystem::current_path()](void*) {
        std::filesystem::current_path(first);
    });

    EXPECT_EQ(lum::FontLocator::locate("C:\\Windows\\Fonts\\cour.ttf"), "cour.ttf");
    const Font local("C:/Windows/Fonts/cour.ttf", 18);
    EXPECT_EQ(drawnHash(local.getImpl()), drawnHash(Font(sans, 18).getImpl()));
    EXPECT_EQ(thrown([] { Font("notes.ttf", 12); }), NOT_FOUND);
    std::filesystem::current_path("other");
    EXPECT_EQ(drawnHash(Font("C:/Windows/Fonts/cour.ttf", 18).getImpl()), drawnHash(Font(mono, 18).getImpl()));
}

// Damaged data is refused with one of the font messages (or, cut after the
// glyphs it needs, still serves); the sanitizers see no stray read and no leak.
TEST(FontData, DamagedBytesAreRefusedCleanly) {
    EXPECT_EQ(thrown([] { lum::TrueTypeFont(nullptr, 0, 12); }), NOT_FOUND);
    std::mt19937 random(1234);
    Bytes noise(4096);
    for (unsigned char& byte : noise) byte = static_cast<unsigned char>(random());
    EXPECT_EQ(thrown([&] { lum::TrueTypeFont(noise.data(), noise.size(), 12); }), NOT_FOUND);

    // The fuzzer's tiny seed font (A, g and a space, 1000 units to the em,
    // built by fuzz/font/make-seeds.py) with 16 units to the em: its A would be a bitmap of some 1200 x
    // 1400 pixels for every glyph, and the font is refused before rendering.
    Bytes font = readBytes(std::string(FONT_SEED_DIR) + "/simple.ttf");
    const std::string tag = "head"; // its table directory entry: tag, checksum, offset, length
    const std::size_t entry = std::search(font.begin(), font.end(), tag.begin(), tag.end()) - font.begin();
    ASSERT_LT(entry + 12, font.size());
    std::size_t head = 0;
    for (std::size_t i = entry + 8; i < entry + 12; ++i) head = head << 8 | font[i];
    ASSERT_LT(head + 20, font.size());
    font[head + 18] = 0, font[head + 19] = 16; // unitsPerEm, big-endian
    EXPECT_EQ(thrown([&] { lum::TrueTypeFont(font.data(), font.size(), 24); }), "Unable to get glyph");

    const Bytes mono = readBytes(liberation("LiberationMono-Regular.ttf"));
    if (mono.empty()) GTEST_SKIP() << "Liberation Mono is not installed";
    for (std::size_t length : {std::size_t{12}, std::size_t{2000}, mono.size() / 2}) {
        const std::string message = thrown([&] { lum::TrueTypeFont(mono.data(), length, 12); });
        EXPECT_TRUE(message == NOT_FOUND || message == "Unable to load glyph" || message == "Unable to get glyph" ||
                    message == "(nothing thrown)")
            << length << ": " << message;
    }
}

// Copies share one implementation. Fonts of one file and size are separate
// implementations drawing from one atlas, which stays while any of them uses
// it (the sanitizers would see a read of freed glyphs); another size, or the
// same font from bytes, has its own. All draw exactly what a font rendered on
// its own from the file's bytes draws.
TEST_F(Fonts, CopiesShareTheImplementationAndFontsOfOneFileAndSizeTheirGlyphs) {
    const Bytes bytes = readBytes(mono);
    const lum::TrueTypeFont alone(bytes.data(), bytes.size(), 18);
    auto first = std::make_unique<Font>(mono, 18);
    auto copy = std::make_unique<Font>(*first);
    const Font second(mono, 18);
    EXPECT_EQ(&copy->getImpl(), &first->getImpl());
    EXPECT_EQ(first->getImpl().getReferenceCount(), 2u);
    EXPECT_NE(&second.getImpl(), &first->getImpl());
    EXPECT_EQ(second.getImpl().getReferenceCount(), 1u);
    EXPECT_EQ(&second.getImpl().getAtlas(), &first->getImpl().getAtlas());
    EXPECT_EQ(second.getImpl().findGlyph('A'), first->getImpl().findGlyph('A'));
    EXPECT_NE(&font->getImpl().getAtlas(), &second.getImpl().getAtlas());
    EXPECT_NE(&alone.getAtlas(), &second.getImpl().getAtlas());
    first.reset();
    EXPECT_EQ(copy->getImpl().getReferenceCount(), 1u);
    EXPECT_EQ(drawnHash(copy->getImpl()), drawnHash(alone));
    copy.reset();
    EXPECT_EQ(drawnHash(second.getImpl()), drawnHash(alone));
    EXPECT_EQ(second.measureText("Score: 42").width, alone.measureText("Score: 42").width);
    font.reset(); // the last font of size 24: the next is rendered again
    EXPECT_EQ(drawnHash(Font(mono, 24).getImpl()), drawnHash(lum::TrueTypeFont(bytes.data(), bytes.size(), 24)));
}

// ---- Measuring and drawing

TEST_F(Fonts, MeasuresGlyphsGapsSpacesAndDescenders) {
    const unsigned int a = glyph('A').width, b = glyph('B').width;
    const auto size = [this](const std::string& text) {
        const lum::FontSize measured = font->measureText(text);
        return std::make_pair(measured.width, measured.height);
    };
    EXPECT_EQ(size(""), std::make_pair(0u, 0u));
    EXPECT_EQ(size(" "), std::make_pair(12u, 0u));
    EXPECT_EQ(size("AB"), std::make_pair(a + 3 + b, std::max(glyph('A').height, glyph('B').height)));
    // The gap follows every glyph but the text's last character, even before a space.
    EXPECT_EQ(size("AB ").first, a + 3 + b + 3 + 12);
    // Heights come from glyph rows, descenders included; spaces add none.
    EXPECT_EQ(size(" g ").second, glyph('g').height);
    EXPECT_LT(glyph('g').baselineOffset, 0); // a descender reaches below the baseline
    EXPECT_EQ(glyph('A').baselineOffset, 0);
    // Space and gap follow the size.
    const std::tuple<unsigned int, unsigned int, unsigned int> sizes[] = {{24, 12, 3}, {14, 7, 1}, {7, 3, 0}};
    for (const auto& [size, space, gap] : sizes) {
        const lum::TrueTypeFont sized(mono, size);
        EXPECT_EQ(std::make_pair(sized.getSpaceWidth(), sized.getCharacterGap()), std::make_pair(space, gap)) << size;
    }
}

// The atlas turns FreeType's top-down bitmaps upright: g draws ink below the
// baseline, and T's bar is its top row. Text flags the rows it draws on, for
// presenters that compare only those, and no others.
TEST_F(Fonts, GlyphsStandUprightOnTheBaselineAndFlagTheRowsTheyDrawOn) {
    const Colour background(0, 0, 0, 255);
    Image image(70, 60, background);
    lum::ChangedRows rows;
    lum::ImageAccess::of(image).takeChangedRows(rows);
    font->drawText(image, 5, 30, Colour(255, 255, 255, 255), "gT");
    lum::ImageAccess::of(image).takeChangedRows(rows);
    unsigned int belowBaseline = 0;
    for (unsigned int x = 5; x < 5 + glyph('g').width; ++x) belowBaseline += image.getPixel(x, 29).getRed();
    EXPECT_GT(belowBaseline, 0u);
    const unsigned int left = 5 + glyph('g').width + 3, top = 30 + glyph('T').height - 1;
    unsigned int topInk = 0, bottomInk = 0;
    for (unsigned int x = left; x < left + glyph('T').width; ++x) {
        topInk += image.getPixel(x, top).getRed();
        bottomInk += image.getPixel(x, 30).getRed();
    }
    EXPECT_GT(topInk, 2 * bottomInk);
    unsigned int flagged = 0;
    for (unsigned int row = 0; row < 60; ++row) {
        const Colour* pixels = image.getPixels() + row * 70;
        EXPECT_TRUE(std::count(pixels, pixels + 70, background) == 70 || rows.contains(row)) << "row " << row;
        flagged += rows.contains(row);
    }
    EXPECT_GT(flagged, 10u);
    EXPECT_FALSE(rows.contains(0));  // below the descenders
    EXPECT_FALSE(rows.contains(59)); // above the capitals
}

// What lands in a small target is exactly the matching part of what lands in
// a large one: partly visible text shows its visible part, at every edge.
TEST_F(Fonts, ClipsAtEveryEdgeOfTheTarget) {
    const Colour background(10, 20, 30, 40), colour(255, 200, 10, 255);
    const std::pair<int, int> partly[] = {{50, 10}, {-17, 10}, {10, -8}, {10, 30}, {-30, -12}, {55, 33}, {-1, -1}};
    for (const auto& [x, y] : partly) {
        Image small(70, 40, background), large(270, 240, background);
        font->drawText(small, x, y, colour, "Wg|Wg");
        font->drawText(large, x + 100, y + 100, colour, "Wg|Wg");
        for (unsigned int row = 0; row < 40; ++row)
            for (unsigned int column = 0; column < 70; ++column)
                ASSERT_EQ(small.getPixel(column, row), large.getPixel(column + 100, row + 100)) << x << ", " << y;
    }
    // Far outside, or where the pen's sums would overflow an int, nothing is drawn.
    const std::uint64_t untouched = pixelHash(Image(70, 40, background));
    const std::pair<int, int> outside[] = {{-200, 10}, {70, 10}, {10, 60}, {INT_MAX - 3, 10}, {INT_MIN, INT_MIN}};
    for (const auto& [x, y] : outside) {
        Image small(70, 40, background);
        font->drawText(small, x, y, colour, "Wg|Wg");
        EXPECT_EQ(pixelHash(small), untouched) << x << ", " << y;
    }
}

// A font made by hand, with numbers worked out on paper: space 5, gap 2; x is
// one pixel of the given coverage; y is 2 x 2 with one row below the baseline,
// covered only in its right column.
std::shared_ptr<const FontImpl::GlyphSet> handMadeGlyphs(std::uint8_t coverage) {
    auto glyphs = std::make_shared<FontImpl::GlyphSet>();
    glyphs->spaceWidth = 5;
    glyphs->characterGap = 2;
    glyphs->atlas.resize(4, 2);
    glyphs->atlas.plot(0, 0, Colour(0, 0, coverage, 0));
    glyphs->atlas.plot(2, 0, Colour(0, 0, 255, 0));
    glyphs->atlas.plot(2, 1, Colour(0, 0, 255, 0));
    glyphs->glyphs['x'] = FontImpl::GlyphRecord{0, 0, 1, 1, 0, 0};
    glyphs->glyphs['y'] = FontImpl::GlyphRecord{1, 0, 2, 2, 0, -1};
    return glyphs;
}

// Every pixel of a glyph box becomes opaque, and where the coverage is zero
// keeps its colour; nothing outside the boxes changes. The text colour's alpha
// plays no part, and codes above 127 are skipped, in measuring too.
TEST(HandMadeFontText, BlendsAndPlacesByTheWorkedExample) {
    const Colour under(10, 20, 30, 0), text(201, 100, 50, 9);
    Image image(12, 4, under);
    FontImpl(handMadeGlyphs(128)).drawText(lum::ImageAccess::of(image), 1, 2, text, "x\xC3\xA9 y\xFF");
    for (unsigned int y = 0; y < 4; ++y) {
        for (unsigned int x = 0; x < 12; ++x) {
            // Coverage 128: red 201 x 128/255 + 10 x 127/255 = 105.87..., green 60.1..., blue 40.03..., all
            // truncated. The space moves the pen by 1 + 2 + 5 = 8; y's bottom row lies at 2 - 1.
            const Colour expected = x == 1 && y == 2                ? Colour(105, 60, 40, 255)
                                    : x == 9 && (y == 1 || y == 2)  ? Colour(10, 20, 30, 255)
                                    : x == 10 && (y == 1 || y == 2) ? Colour(201, 100, 50, 255)
                                                                    : under;
            EXPECT_EQ(image.getPixel(x, y), expected) << x << ", " << y;
        }
    }
    const FontImpl font(handMadeGlyphs(0));
    EXPECT_EQ(font.measureText("x\x80 y\xE2\x82\xAC").width, 1u + 2 + 5 + 2); // no gap after y
    EXPECT_EQ(font.measureText("\xFF\x80").height, 0u);
}

} // namespace
} // namespace lum::test
