// Rendering happens outside the lock, so fonts of different files load side by
// side; two threads rendering the same font at once both render, and the
// second to finish takes the first one's glyphs.
#include "framework/graphics/FontGlyphCache.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <utility>

namespace lum {

namespace {

using Key = std::pair<std::string, unsigned int>;

struct Entries {
    std::mutex mutex;
    std::map<Key, std::weak_ptr<const FontImpl::GlyphSet>> glyphs;
};

Entries& entries() {
    static Entries instance;
    return instance;
}

// A path found in the working directory is made absolute, so the same name
// in another working directory is another file.
bool keyOf(const std::string& path, unsigned int size, Key& key) {
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return false;
    }
    key = Key(absolute.lexically_normal().string(), size);
    return true;
}

FontGlyphCache::GlyphSetPointer findLive(Entries& cache, const Key& key) {
    const auto entry = cache.glyphs.find(key);
    return entry == cache.glyphs.end() ? nullptr : entry->second.lock();
}

// Entries of fonts all gone are dropped as new ones come, so the map holds
// about as many entries as fonts are alive.
void keep(Entries& cache, const Key& key, const FontGlyphCache::GlyphSetPointer& glyphs) {
    for (auto entry = cache.glyphs.begin(); entry != cache.glyphs.end();) {
        entry = entry->second.expired() ? cache.glyphs.erase(entry) : std::next(entry);
    }
    cache.glyphs[key] = glyphs;
}

} // namespace

FontGlyphCache::GlyphSetPointer FontGlyphCache::share(const std::string& path, unsigned int size,
                                                      const std::function<GlyphSetPointer()>& render) {
    Key key;
    if (!keyOf(path, size, key)) {
        return render();
    }
    Entries& cache = entries();
    {
        const std::lock_guard<std::mutex> lock(cache.mutex);
        if (GlyphSetPointer live = findLive(cache, key)) {
            return live;
        }
    }
    GlyphSetPointer rendered = render();
    const std::lock_guard<std::mutex> lock(cache.mutex);
    if (GlyphSetPointer live = findLive(cache, key)) {
        return live;
    }
    keep(cache, key, rendered);
    return rendered;
}

} // namespace lum
