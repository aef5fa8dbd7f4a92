// Building a TrueType font: render codes 0-127 with FreeType, release FreeType,
// then pack the coverage into an atlas of 8 rows of 16 glyphs, stored upright
// for the bottom-up image rows. Every size read from the font is checked before
// anything is allocated for it.
#include "framework/graphics/TrueTypeFont.h"

#include "framework/graphics/FontGlyphCache.h"
#include "framework/graphics/FontLocator.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_GLYPH_H

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace lum {

namespace {

constexpr unsigned int GLYPHS_PER_ROW = 16;
constexpr unsigned int DOTS_PER_INCH = 96;

const char* const NOT_FOUND = "TrueType font not found on standard search paths, or in local directory.";
const char* const CANNOT_GET_GLYPH = "Unable to get glyph";

struct LibraryCloser {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct GlyphCloser {
    void operator()(FT_Glyph glyph) const { FT_Done_Glyph(glyph); }
};
struct BitmapCloser {
    FT_Library library;
    void operator()(FT_Bitmap* bitmap) const { FT_Bitmap_Done(library, bitmap); }
};
using LibraryHandle = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryCloser>;
using FaceHandle = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;
using GlyphHandle = std::unique_ptr<std::remove_pointer_t<FT_Glyph>, GlyphCloser>;

// One rendered glyph: 8-bit coverage, FreeType's top row first.
struct GlyphBitmap {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::vector<std::uint8_t> coverage;
};
using GlyphBitmaps = std::array<GlyphBitmap, FontImpl::GLYPH_COUNT>;

// ASCII glyphs of real fonts stay within about one em; four ems and a margin
// bound what a damaged or hostile file can make us allocate.
std::uint64_t maximumGlyphSide(unsigned int size) {
    const std::uint64_t pixelsPerEm = (std::uint64_t{size} * DOTS_PER_INCH + 71) / 72;
    return 4 * pixelsPerEm + 64;
}

// Scales a bitmap of fewer than 256 grey levels (1-bit embedded bitmaps have 2)
// to 0-255 coverage.
std::uint8_t coverageOf(unsigned int value, unsigned int levels) {
    if (levels < 2 || levels >= 256) {
        return static_cast<std::uint8_t>(std::min(value, 255u));
    }
    return static_cast<std::uint8_t>(std::min(value * 255 / (levels - 1), 255u));
}

// Copies an 8-bit bitmap row by row through its pitch, which may exceed the
// width (padding) or be negative (bottom row first in memory).
void copyGreyBitmap(const FT_Bitmap& bitmap, GlyphBitmap& glyph) {
    glyph.width = bitmap.width;
    glyph.rows = bitmap.rows;
    if (bitmap.width == 0 || bitmap.rows == 0) {
        return;
    }
    const std::int64_t pitch = bitmap.pitch;
    const std::uint64_t stride = static_cast<std::uint64_t>(pitch < 0 ? -pitch : pitch);
    if (bitmap.buffer == nullptr || stride < bitmap.width) {
        throw std::runtime_error(CANNOT_GET_GLYPH);
    }
    glyph.coverage.resize(std::size_t{bitmap.width} * bitmap.rows);
    for (std::uint32_t row = 0; row < bitmap.rows; ++row) {
        const std::uint64_t memoryRow = pitch >= 0 ? row : bitmap.rows - 1 - row;
        const unsigned char* line = bitmap.buffer + memoryRow * stride;
        std::uint8_t* out = glyph.coverage.data() + std::size_t{row} * bitmap.width;
        for (std::uint32_t column = 0; column < bitmap.width; ++column) {
            out[column] = coverageOf(line[column], bitmap.num_grays);
        }
    }
}

// Outlines render to 8-bit grey; embedded bitmaps may come in other depths and
// are converted first.
void copyCoverage(FT_Library library, const FT_Bitmap& bitmap, std::uint64_t maximumSide, GlyphBitmap& glyph) {
    if (bitmap.width > maximumSide || bitmap.rows > maximumSide) {
        throw std::runtime_error(CANNOT_GET_GLYPH);
    }
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        copyGreyBitmap(bitmap, glyph);
        return;
    }
    FT_Bitmap grey;
    FT_Bitmap_Init(&grey);
    const std::unique_ptr<FT_Bitmap, BitmapCloser> releaseGrey(&grey, BitmapCloser{library});
    if (FT_Bitmap_Convert(library, &bitmap, &grey, 1) != 0) {
        throw std::runtime_error(CANNOT_GET_GLYPH);
    }
    copyGreyBitmap(grey, glyph);
}

bool isWithin(FT_Pos low, FT_Pos high, std::uint64_t maximumSide) {
    return high >= low && static_cast<std::uint64_t>(high - low) <= maximumSide;
}

GlyphBitmap renderGlyph(FT_Library library, FT_Face face, FT_ULong code, std::uint64_t maximumSide) {
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, code), FT_LOAD_DEFAULT) != 0) {
        throw std::runtime_error("Unable to load glyph");
    }
    FT_Glyph loaded = nullptr;
    if (FT_Get_Glyph(face->glyph, &loaded) != 0) {
        throw std::runtime_error(CANNOT_GET_GLYPH);
    }
    GlyphHandle glyph(loaded);

    // Rendering allocates the bitmap, so its size is checked beforehand.
    FT_BBox box;
    FT_Glyph_Get_CBox(glyph.get(), FT_GLYPH_BBOX_PIXELS, &box);
    if (!isWithin(box.xMin, box.xMax, maximumSide) || !isWithin(box.yMin, box.yMax, maximumSide)) {
        throw std::runtime_error(CANNOT_GET_GLYPH);
    }
    // On success the bitmap glyph replaces the outline; on failure the outline
    // stays and must not be read as a bitmap.
    FT_Glyph rendered = glyph.release();
    const FT_Error error = FT_Glyph_To_Bitmap(&rendered, FT_RENDER_MODE_NORMAL, nullptr, 1);
    glyph.reset(rendered);
    if (error != 0 || glyph->format != FT_GLYPH_FORMAT_BITMAP) {
        throw std::runtime_error(CANNOT_GET_GLYPH);
    }

    const auto* bitmapGlyph = reinterpret_cast<const FT_BitmapGlyphRec*>(glyph.get());
    GlyphBitmap result;
    result.left = bitmapGlyph->left;
    result.top = bitmapGlyph->top;
    copyCoverage(library, bitmapGlyph->bitmap, maximumSide, result);
    return result;
}

GlyphBitmaps renderGlyphs(FT_Library library, FT_Face face, unsigned int size) {
    // Width 0 means "as high"; 26.6 fixed point, so the size is in points. A
    // size FreeType refuses makes every glyph load fail below.
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(size) * 64, DOTS_PER_INCH, DOTS_PER_INCH);
    const std::uint64_t maximumSide = maximumGlyphSide(size);
    GlyphBitmaps glyphs;
    for (unsigned int code = 0; code < FontImpl::GLYPH_COUNT; ++code) {
        glyphs[code] = renderGlyph(library, face, code, maximumSide);
    }
    return glyphs;
}

unsigned int clampToUnsigned(std::uint64_t value) {
    return static_cast<unsigned int>(std::min<std::uint64_t>(value, std::numeric_limits<unsigned int>::max()));
}

// Each glyph is followed by a spare column and each row of 16 by a spare row.
// The first row starts one column in, which its spare columns pay for.
void measureAtlas(const GlyphBitmaps& bitmaps, unsigned int& width, unsigned int& height) {
    std::uint64_t atlasWidth = 0;
    std::uint64_t atlasHeight = 0;
    std::uint64_t rowWidth = 0;
    std::uint64_t rowHeight = 0;
    for (unsigned int code = 0; code < FontImpl::GLYPH_COUNT; ++code) {
        rowWidth += std::uint64_t{bitmaps[code].width} + 1;
        if (bitmaps[code].rows > rowHeight) {
            rowHeight = std::uint64_t{bitmaps[code].rows} + 1;
        }
        if ((code + 1) % GLYPHS_PER_ROW == 0) {
            atlasWidth = std::max(atlasWidth, rowWidth);
            atlasHeight += rowHeight + 1;
            rowWidth = 0;
            rowHeight = 0;
        }
    }
    // Beyond 32 bits the pixel count overflows too, and the check refuses it.
    width = clampToUnsigned(atlasWidth);
    height = clampToUnsigned(atlasHeight);
    Image::checkedPixelCount(width, height);
}

void packAtlas(const GlyphBitmaps& bitmaps, ImageImpl& atlas,
               std::array<FontImpl::GlyphRecord, FontImpl::GLYPH_COUNT>& records) {
    unsigned int width = 0;
    unsigned int height = 0;
    measureAtlas(bitmaps, width, height);
    atlas.resize(width, height);
    atlas.setTransparentColour(Colour(0, 0, 0, 0));

    Colour* pixels = atlas.beginWrite(ImageImpl::Write{0, height, ImageImpl::Effect::Anything});
    std::uint32_t penX = 1;
    std::uint32_t penY = 0;
    std::uint32_t tallest = 0;
    for (unsigned int code = 0; code < FontImpl::GLYPH_COUNT; ++code) {
        const GlyphBitmap& bitmap = bitmaps[code];
        FontImpl::GlyphRecord& record = records[code];
        record.atlasX = penX;
        record.atlasY = penY;
        record.width = bitmap.width;
        record.height = bitmap.rows;
        record.bearingX = bitmap.left;
        record.baselineOffset = static_cast<std::int32_t>(std::int64_t{bitmap.top} - bitmap.rows);

        // FreeType's top row lands on the glyph's highest atlas row.
        for (std::uint32_t row = 0; row < bitmap.rows; ++row) {
            const std::size_t atlasRow = std::size_t{penY} + bitmap.rows - 1 - row;
            Colour* out = pixels + atlasRow * width + penX;
            const std::uint8_t* in = bitmap.coverage.data() + std::size_t{row} * bitmap.width;
            for (std::uint32_t column = 0; column < bitmap.width; ++column) {
                out[column] = Colour(0, 0, in[column], 0);
            }
        }

        tallest = std::max(tallest, bitmap.rows);
        penX += bitmap.width + 1;
        if ((code + 1) % GLYPHS_PER_ROW == 0) {
            penY += tallest + 1;
            tallest = 0;
            penX = 0;
        }
    }
}

} // namespace

struct TrueTypeFont::FaceSource {
    std::string path;              // empty when the file was not found
    const unsigned char* data;     // used when not null
    std::size_t length;

    FT_Error open(FT_Library library, FT_Face* face) const {
        if (data != nullptr) {
            if (length > static_cast<std::size_t>(std::numeric_limits<FT_Long>::max())) {
                return FT_Err_Invalid_Argument;
            }
            return FT_New_Memory_Face(library, data, static_cast<FT_Long>(length), 0, face);
        }
        if (path.empty()) {
            return FT_Err_Cannot_Open_Resource;
        }
        return FT_New_Face(library, path.c_str(), 0, face);
    }
};

TrueTypeFont::TrueTypeFont(const std::string& fileName, unsigned int size)
    : TrueTypeFont(glyphsOf(FontLocator::find(fileName), size)) {}

TrueTypeFont::TrueTypeFont(const unsigned char* data, std::size_t length, unsigned int size)
    : TrueTypeFont(render(FaceSource{std::string(), data, length}, size)) {}

TrueTypeFont::TrueTypeFont(std::shared_ptr<const GlyphSet> glyphSet) : FontImpl(std::move(glyphSet)) {}

// A file is shared by the path it was found at (none when it was not found);
// bytes the system handed out are rendered, kept by `font` until that ends.
std::shared_ptr<const FontImpl::GlyphSet> TrueTypeFont::glyphsOf(const SystemFont& font, unsigned int size) {
    if (!font.bytes.empty()) {
        return render(FaceSource{std::string(), font.bytes.data(), font.bytes.size()}, size);
    }
    return FontGlyphCache::share(font.path, size, [&] { return render(FaceSource{font.path, nullptr, 0}, size); });
}

std::shared_ptr<const FontImpl::GlyphSet> TrueTypeFont::render(const FaceSource& source, unsigned int size) {
    auto glyphSet = std::make_unique<GlyphSet>();
    glyphSet->spaceWidth = size / 2;
    glyphSet->characterGap = size / 8;

    GlyphBitmaps bitmaps;
    {
        // Declared library first, so the face is closed before the library.
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0) {
            throw std::runtime_error("Freetype initialisation problem.");
        }
        const LibraryHandle libraryHandle(library);
        FT_Face face = nullptr;
        if (source.open(library, &face) != 0 || face == nullptr) {
            throw std::runtime_error(NOT_FOUND);
        }
        const FaceHandle faceHandle(face);
        bitmaps = renderGlyphs(library, face, size);
    }
    packAtlas(bitmaps, glyphSet->atlas, glyphSet->glyphs);
    // The atlas works these out on first asking; asked now, they are only read
    // by the fonts that share it, whichever thread they are on.
    glyphSet->atlas.getAlphaClass();
    glyphSet->atlas.containsTransparentColour();
    // Not made with make_shared: a lingering weak reference would keep the
    // whole set's memory.
    return std::shared_ptr<const GlyphSet>(std::move(glyphSet));
}

} // namespace lum
