// The installed font fontconfig matches best to a family. The program never
// changes fontconfig's configuration, so a family's match stays the same for
// the whole run: each is asked for once, and later fonts take the answer.
#include "framework/graphics/SystemFontLookup.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <mutex>
#include <tuple>

namespace lum {

namespace {

struct PatternDestroyer {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternHandle = std::unique_ptr<FcPattern, PatternDestroyer>;

// fontconfig's best match always names some font; only a scalable one is
// accepted.
SystemFont matchFont(const char* family, bool bold, bool italic) {
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

} // namespace

// Families without a match are remembered too. Whether the file still exists
// is for the caller to check each time.
SystemFont SystemFontLookup::find(const char* family, bool bold, bool italic) {
    static std::mutex mutex;
    static std::map<std::tuple<std::string, bool, bool>, SystemFont> matches;
    if (family == nullptr) {
        return SystemFont();
    }
    const std::lock_guard<std::mutex> lock(mutex);
    const auto key = std::make_tuple(std::string(family), bold, italic);
    auto match = matches.find(key);
    if (match == matches.end()) {
        match = matches.emplace(key, matchFont(family, bold, italic)).first;
    }
    return match->second;
}

} // namespace lum
