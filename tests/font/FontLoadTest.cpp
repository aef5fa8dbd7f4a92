// Loading fonts: the extension rules, the failure messages, finding the files
// the game names by Windows paths, loading from memory, the shared handle and
// the lazily loaded framework fonts.
#include "framework/graphics/Font.h"
#include "framework/graphics/FontImpl.h"
#include "framework/graphics/FontLocator.h"
#include "framework/graphics/TrueTypeFont.h"
#include "tests/font/FontFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <stdexcept>

namespace {

using font_test::liberationMono;

const std::string NOT_FOUND = "TrueType font not found on standard search paths, or in local directory.";

// The message of the runtime_error the action throws, or "(nothing thrown)".
std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

void expectSameFont(const lum::FontImpl& expected, const lum::FontImpl& actual) {
    ASSERT_EQ(expected.getAtlas().getWidth(), actual.getAtlas().getWidth());
    ASSERT_EQ(expected.getAtlas().getHeight(), actual.getAtlas().getHeight());
    for (unsigned int code = 0; code < lum::FontImpl::GLYPH_COUNT; ++code) {
        const auto& a = *expected.findGlyph(static_cast<char>(code));
        const auto& b = *actual.findGlyph(static_cast<char>(code));
        EXPECT_EQ(a.atlasX, b.atlasX) << code;
        EXPECT_EQ(a.atlasY, b.atlasY) << code;
        EXPECT_EQ(a.width, b.width) << code;
        EXPECT_EQ(a.height, b.height) << code;
        EXPECT_EQ(a.bearingX, b.bearingX) << code;
        EXPECT_EQ(a.baselineOffset, b.baselineOffset) << code;
    }
    const lum::Colour* pixelsA = expected.getAtlas().getPixels();
    const lum::Colour* pixelsB = actual.getAtlas().getPixels();
    EXPECT_TRUE(std::equal(pixelsA, pixelsA + expected.getAtlas().getPixelCount(), pixelsB));
}

// A fresh folder under the system's temporary folder, removed afterwards.
class TemporaryFolder {
public:
    TemporaryFolder()
        : path(std::filesystem::temp_directory_path() / ("vellorin-font-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~TemporaryFolder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    const std::filesystem::path path;
};

// Runs in another working directory and returns to the old one on scope exit.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& folder) : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous); }

private:
    const std::filesystem::path previous;
};

TEST(FontFactory, RefusesNamesByExtensionBeforeLookingForTheFile) {
    EXPECT_EQ("Unable to determine file type, file has no extension", messageOf([] { lum::Font("cour", 12); }));
    EXPECT_EQ("Font type is not supported: TTF", messageOf([] { lum::Font("C:/Windows/Fonts/COUR.TTF", 12); }));
    EXPECT_EQ("Font type is not supported: otf", messageOf([] { lum::Font("font.otf", 12); }));
    // The last dot of the whole name counts, folders included.
    EXPECT_EQ("Font type is not supported: bak", messageOf([] { lum::Font("cour.ttf.bak", 12); }));
    EXPECT_EQ("Font type is not supported: d/cour", messageOf([] { lum::Font("fonts.d/cour", 12); }));
    EXPECT_EQ("Font type is not supported: ", messageOf([] { lum::Font("cour.", 12); }));
}

TEST(FontFactory, MissingOrUnreadableFilesAreNotFound) {
    EXPECT_EQ(NOT_FOUND, messageOf([] { lum::Font("C:/Windows/Fonts/nosuchfont.ttf", 12); }));
    EXPECT_EQ(NOT_FOUND, messageOf([] { lum::Font("/no/such/folder/font.ttf", 12); }));

    TemporaryFolder folder;
    const std::string notAFont = (folder.path / "notes.ttf").string();
    std::ofstream(notAFont) << "these are not the glyphs you are looking for\n";
    EXPECT_EQ(NOT_FOUND, messageOf([&] { lum::Font(notAFont, 12); }));
    // A folder named like a font is not a font file either.
    const std::string folderName = (folder.path / "folder.ttf").string();
    std::filesystem::create_directory(folderName);
    EXPECT_EQ(NOT_FOUND, messageOf([&] { lum::Font(folderName, 12); }));
}

TEST(FontLocator, WindowsNamesResolveThroughFontconfig) {
    REQUIRE_FONT(liberationMono(), "fonts-liberation");
    EXPECT_EQ("LiberationMono-Regular.ttf", fileNameOf(lum::FontLocator::locate("C:\\Windows\\Fonts\\cour.ttf")));
    EXPECT_EQ("LiberationMono-Regular.ttf", fileNameOf(lum::FontLocator::locate("C:/Windows/Fonts/cour.ttf")));
    EXPECT_EQ("LiberationMono-Bold.ttf", fileNameOf(lum::FontLocator::locate("C:/Windows/Fonts/courbd.ttf")));
    // Windows file names ignore letter case.
    EXPECT_EQ("LiberationSans-Regular.ttf", fileNameOf(lum::FontLocator::locate("C:\\WINDOWS\\Fonts\\ARIAL.TTF")));
    EXPECT_EQ("", lum::FontLocator::locate("C:/Windows/Fonts/nosuchfont.ttf"));
    EXPECT_EQ(liberationMono(), lum::FontLocator::locate(liberationMono()));
}

TEST(FontLocator, TheGamesFontNameLoadsTheMatchedFont) {
    REQUIRE_FONT(liberationMono(), "fonts-liberation");
    const lum::Font windowsName("C:\\Windows\\Fonts\\cour.ttf", 24);
    const lum::Font installed(liberationMono(), 24);
    expectSameFont(installed.getImpl(), windowsName.getImpl());
}

TEST(FontLocator, AFileInTheWorkingDirectoryComesBeforeFontconfig) {
    const std::string sans = font_test::liberationSans();
    REQUIRE_FONT(sans, "fonts-liberation");
    TemporaryFolder folder;
    std::filesystem::copy_file(sans, folder.path / "cour.ttf");
    const WorkingDirectory inFolder(folder.path);

    EXPECT_EQ("cour.ttf", lum::FontLocator::locate("C:\\Windows\\Fonts\\cour.ttf"));
    const lum::Font local("C:/Windows/Fonts/cour.ttf", 18);
    const lum::Font expected(sans, 18);
    expectSameFont(expected.getImpl(), local.getImpl());
}

TEST(TrueTypeFont, SpacingFollowsTheSizeInAnyFont) {
    // Half the size for a space and an eighth between glyphs, whatever the font.
    const std::string other =
        font_test::dejaVuSans().empty() ? font_test::liberationSans() : font_test::dejaVuSans();
    REQUIRE_FONT(other, "fonts-liberation");
    const lum::TrueTypeFont size14(other, 14);
    EXPECT_EQ(7u, size14.getSpaceWidth());
    EXPECT_EQ(1u, size14.getCharacterGap());
    EXPECT_EQ(14u + size14.findGlyph('V')->width, size14.measureText("  V").width);
    const lum::TrueTypeFont size7(other, 7);
    EXPECT_EQ(3u, size7.getSpaceWidth());
    EXPECT_EQ(0u, size7.getCharacterGap());
}

TEST(TrueTypeFont, BytesInMemoryGiveTheSameFontAsTheFile) {
    REQUIRE_FONT(liberationMono(), "fonts-liberation");
    const std::vector<unsigned char> bytes = font_test::readBytes(liberationMono());
    const lum::TrueTypeFont fromMemory(bytes.data(), bytes.size(), 18);
    const lum::TrueTypeFont fromFile(liberationMono(), 18);
    expectSameFont(fromFile, fromMemory);
}

TEST(TrueTypeFont, DamagedBytesAreRefusedWithAMessage) {
    EXPECT_EQ(NOT_FOUND, messageOf([] { lum::TrueTypeFont(nullptr, 0, 12); }));
    std::mt19937 random(1234);
    std::vector<unsigned char> noise(4096);
    for (unsigned char& byte : noise) {
        byte = static_cast<unsigned char>(random());
    }
    EXPECT_EQ(NOT_FOUND, messageOf([&] { lum::TrueTypeFont(noise.data(), noise.size(), 12); }));

    REQUIRE_FONT(liberationMono(), "fonts-liberation");
    // Cut short: the font either still serves (the glyphs needed may lie before
    // the cut) or fails with one of the font messages; the sanitizers see no
    // read past the bytes and nothing leak.
    std::vector<unsigned char> bytes = font_test::readBytes(liberationMono());
    for (std::size_t length : {std::size_t{12}, std::size_t{2000}, bytes.size() / 2}) {
        const std::string message = messageOf([&] { lum::TrueTypeFont(bytes.data(), length, 12); });
        EXPECT_TRUE(message == NOT_FOUND || message == "Unable to load glyph" || message == "Unable to get glyph" ||
                    message == "(nothing thrown)")
            << "length " << length << ": " << message;
    }
}

// The fuzz seed: a tiny hand-built font with A, g and a space.
std::vector<unsigned char> seedFont() {
    return font_test::readBytes(std::string(FONT_SEED_DIR) + "/simple.ttf");
}

// Where a table starts, from the font's table directory.
std::size_t tableOffset(const std::vector<unsigned char>& font, const char* tag) {
    const auto word = [&](std::size_t at) {
        return std::uint32_t{font[at]} << 24 | std::uint32_t{font[at + 1]} << 16 | std::uint32_t{font[at + 2]} << 8 |
               font[at + 3];
    };
    const unsigned int tables = font[4] << 8 | font[5];
    for (unsigned int i = 0; i < tables; ++i) {
        if (std::equal(tag, tag + 4, font.begin() + 12 + 16 * i)) {
            return word(12 + 16 * i + 8);
        }
    }
    ADD_FAILURE() << "no table " << tag;
    return 0;
}

TEST(TrueTypeFont, GlyphsFarLargerThanTheEmAreRefusedBeforeRendering) {
    std::vector<unsigned char> font = seedFont();
    ASSERT_FALSE(font.empty());
    const lum::TrueTypeFont seed(font.data(), font.size(), 24);
    EXPECT_LT(seed.findGlyph('g')->baselineOffset, 0);
    EXPECT_GT(seed.measureText("A").width, 10u);

    // 16 units to the em instead of 1000: the 600-unit A becomes 37 ems wide,
    // a bitmap of some 1200 x 1400 pixels at 24 points, for every glyph.
    const std::size_t unitsPerEm = tableOffset(font, "head") + 18;
    font[unitsPerEm] = 0;
    font[unitsPerEm + 1] = 16;
    EXPECT_EQ("Unable to get glyph", messageOf([&] { lum::TrueTypeFont(font.data(), font.size(), 24); }));
}

TEST(FontHandle, CopiesShareOneImplementationThatOutlivesTheOriginal) {
    REQUIRE_FONT(liberationMono(), "fonts-liberation");
    auto* original = new lum::Font(liberationMono(), 24);
    const lum::FontSize before = original->measureText("AB");
    lum::Font copy(*original);
    EXPECT_EQ(&original->getImpl(), &copy.getImpl());
    EXPECT_EQ(2u, copy.getImpl().getReferenceCount());

    delete original;
    EXPECT_EQ(1u, copy.getImpl().getReferenceCount());
    EXPECT_EQ(before.width, copy.measureText("AB").width);
    lum::Image image(40, 40, lum::Colour(0, 0, 0, 0));
    copy.drawText(image, 2, 10, lum::Colour(255, 255, 255, 255), "AB");
    EXPECT_EQ(255, image.getPixel(2 + copy.getImpl().findGlyph('A')->width / 2, 10).getAlpha());
}

TEST(FontHandle, AssignmentReleasesTheOldImplementationAndSharesTheNew) {
    REQUIRE_FONT(liberationMono(), "fonts-liberation");
    lum::Font large(liberationMono(), 24);
    lum::Font small(liberationMono(), 8);
    lum::Font third(large);
    large = small;
    EXPECT_EQ(&small.getImpl(), &large.getImpl());
    EXPECT_EQ(2u, small.getImpl().getReferenceCount());
    EXPECT_EQ(1u, third.getImpl().getReferenceCount());
    EXPECT_EQ(12u, third.measureText(" ").width);
    EXPECT_EQ(4u, large.measureText(" ").width);

    const lum::Font& same = large;
    large = same;
    EXPECT_EQ(2u, large.getImpl().getReferenceCount());
    third = small;
    EXPECT_EQ(3u, large.getImpl().getReferenceCount());
}

TEST(FrameworkFonts, LoadFromTheWindowsNameOnFirstUse) {
    REQUIRE_FONT(liberationMono(), "fonts-liberation");
    const lum::Font::Preset* presets[] = {&lum::Font::TINY, &lum::Font::SMALL, &lum::Font::MEDIUM,
                                          &lum::Font::LARGE, &lum::Font::VERY_LARGE, &lum::Font::MASSIVE,
                                          &lum::Font::ENORMOUS};
    const unsigned int sizes[] = {4, 8, 14, 18, 24, 36, 48};
    for (int i = 0; i < 7; ++i) {
        EXPECT_STREQ("C:/Windows/Fonts/cour.ttf", presets[i]->getFileName());
        EXPECT_EQ(sizes[i], presets[i]->getSize());
        EXPECT_EQ(sizes[i] / 2, presets[i]->measureText(" ").width);
    }
    const lum::Font& veryLarge = lum::Font::VERY_LARGE;
    EXPECT_EQ(&veryLarge, &lum::Font::VERY_LARGE.get());
    expectSameFont(lum::Font(liberationMono(), 24).getImpl(), veryLarge.getImpl());
}

TEST(FrameworkFonts, AMissingFileThrowsAtEachUseInsteadOfAtStartUp) {
    const lum::Font::Preset missing("C:/Windows/Fonts/nosuchfont.ttf", 10);
    EXPECT_EQ(NOT_FOUND, messageOf([&] { missing.get(); }));
    EXPECT_EQ(NOT_FOUND, messageOf([&] { missing.measureText("again"); }));
}

} // namespace
