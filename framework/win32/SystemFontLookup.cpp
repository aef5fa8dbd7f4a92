// The installed font the Windows font mapper picks for a family, read back as
// the bytes of its font file (GetFontData), since the mapper names no file.
#include "framework/graphics/SystemFontLookup.h"

#include <windows.h>

#include <cstring>

namespace lum {

namespace {

// Any real font file is far smaller; a larger answer is not trusted.
constexpr DWORD MAXIMUM_FONT_BYTES = 64u * 1024u * 1024u;

struct ScreenDc {
    HDC dc = CreateCompatibleDC(nullptr);
    ~ScreenDc() {
        if (dc) DeleteDC(dc);
    }
};

struct FontObject {
    HFONT font;
    ~FontObject() {
        if (font) DeleteObject(font);
    }
};

} // namespace

SystemFont SystemFontLookup::find(const char* family, bool bold, bool italic) {
    SystemFont found;
    ScreenDc screen;
    if (!screen.dc) return found;
    LOGFONTA request{};
    request.lfHeight = -16;
    request.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    request.lfItalic = italic ? TRUE : FALSE;
    request.lfCharSet = DEFAULT_CHARSET;
    request.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    request.lfQuality = ANTIALIASED_QUALITY;
    std::strncpy(request.lfFaceName, family, LF_FACESIZE - 1);
    const FontObject font{CreateFontIndirectA(&request)};
    if (!font.font) return found;
    const HGDIOBJ previous = SelectObject(screen.dc, font.font);
    // Table 0 means the whole font file.
    const DWORD size = GetFontData(screen.dc, 0, 0, nullptr, 0);
    if (size != GDI_ERROR && size > 0 && size <= MAXIMUM_FONT_BYTES) {
        found.bytes.resize(size);
        if (GetFontData(screen.dc, 0, 0, found.bytes.data(), size) != size) found.bytes.clear();
    }
    SelectObject(screen.dc, previous);
    return found;
}

} // namespace lum
