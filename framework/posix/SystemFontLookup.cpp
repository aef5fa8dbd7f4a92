// The installed font fontconfig matches best to a family.
#include "framework/graphics/SystemFontLookup.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace lum {

namespace {

struct PatternDestroyer {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternHandle = std::unique_ptr<FcPattern, PatternDestroyer>;

} // namespace

// fontconfig's best match always names some font; only a scalable one is
// accepted.
SystemFont SystemFontLookup::find(const char* family, bool bold, bool italic) {
    SystemFont found;
    PatternHandle pattern(FcPatternCreate());
    if (!pattern) {
        return found;
    }
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) {
        return found;
    }
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    PatternHandle match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match || result != FcResultMatch) {
        return found;
    }
    FcChar8* file = nullptr;
    FcBool scalable = FcFalse;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr ||
        FcPatternGetBool(match.get(), FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable) {
        return found;
    }
    found.path = reinterpret_cast<const char*>(file);
    return found;
}

} // namespace lum
