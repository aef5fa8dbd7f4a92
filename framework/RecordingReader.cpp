#include "framework/RecordingReader.h"

#include <cstdio>

namespace lum {

namespace {

constexpr std::uint64_t MAX_TEXT = 256;
constexpr std::uint64_t MAX_SIDE = 1u << 15;
constexpr std::uint64_t MAX_SEEDS = 64;
constexpr std::uint64_t MAX_UINT = 0xFFFFFFFFu;
constexpr std::uint64_t MAX_COORDINATE = 1u << 20; // zigzagged

std::int64_t unzigzag(std::uint64_t value) {
    return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

} // namespace

RecordingReader::RecordingReader(std::vector<std::uint8_t> bytes) : bytes(std::move(bytes)) {}

RecordingReader RecordingReader::fromFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw Error("Cannot read the recording " + path);
    std::vector<std::uint8_t> content;
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (content.size() + got > MAX_FILE_SIZE) {
            std::fclose(file);
            throw Error("The recording " + path + " is larger than any recording can be");
        }
        content.insert(content.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return RecordingReader(std::move(content));
}

void RecordingReader::fail(const std::string& what, std::size_t at) const {
    throw Error("The recording is damaged at byte " + std::to_string(at) + ": " + what);
}

std::uint8_t RecordingReader::byte() {
    if (position >= bytes.size()) {
        throw Error("The recording is cut off at byte " + std::to_string(bytes.size()));
    }
    return bytes[position++];
}

// At most ten bytes, the tenth holding the top bit only.
std::uint64_t RecordingReader::varint() {
    const std::size_t start = position;
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        const std::uint8_t part = byte();
        if (shift == 63 && part > 1) break;
        value |= static_cast<std::uint64_t>(part & 0x7F) << shift;
        if ((part & 0x80) == 0) return value;
    }
    fail("a number runs past 64 bits", start);
}

std::uint64_t RecordingReader::bounded(std::uint64_t limit, const char* what) {
    const std::size_t start = position;
    const std::uint64_t value = varint();
    if (value > limit) fail(std::string(what) + " is out of range", start);
    return value;
}

std::int64_t RecordingReader::zigzag() { return unzigzag(varint()); }

std::string RecordingReader::text(const char* what) {
    const std::size_t length = bounded(MAX_TEXT, what);
    if (bytes.size() - position < length) {
        throw Error("The recording is cut off at byte " + std::to_string(bytes.size()));
    }
    std::string value(bytes.begin() + static_cast<std::ptrdiff_t>(position),
                      bytes.begin() + static_cast<std::ptrdiff_t>(position + length));
    position += length;
    return value;
}

RecordingHeader RecordingReader::readHeader() {
    position = 0;
    for (const char expected : {'L', 'U', 'M', 'R'}) {
        if (byte() != static_cast<std::uint8_t>(expected)) fail("it is not a recording", position - 1);
    }
    RecordingHeader header;
    const std::size_t versionAt = position;
    header.formatVersion = static_cast<unsigned int>(bounded(MAX_UINT, "the format version"));
    if (header.formatVersion != RecordingHeader::FORMAT_VERSION) {
        throw Error("The recording is in format version " + std::to_string(header.formatVersion) + " (byte " +
                    std::to_string(versionAt) + "); this program reads version " +
                    std::to_string(RecordingHeader::FORMAT_VERSION));
    }
    header.program = text("the program's name");
    header.platform = text("the platform's name");
    for (auto& output : header.generator) output = static_cast<std::uint32_t>(bounded(MAX_UINT, "the generator"));
    header.build = text("the build's version");
    header.width = static_cast<unsigned int>(bounded(MAX_SIDE, "the screen's width"));
    header.height = static_cast<unsigned int>(bounded(MAX_SIDE, "the screen's height"));
    header.seeds.resize(bounded(MAX_SEEDS, "the number of seeds"));
    for (auto& seed : header.seeds) seed = static_cast<unsigned int>(bounded(MAX_UINT, "a seed"));
    return header;
}

RecordedItem RecordingReader::next() {
    using Kind = RecordedItem::Kind;
    const std::size_t start = position;
    RecordedItem item;
    const std::uint64_t head = varint();
    if (head & 1) {
        item.kind = Kind::Step;
        item.frameDrawn = (head & 2) != 0;
        item.microseconds = (head & 4) != 0;
        item.clock = unzigzag(head >> 3);
        if (item.frameDrawn) {
            for (int shift = 0; shift < 32; shift += 8) item.hash |= static_cast<std::uint64_t>(byte()) << shift;
        }
        return item;
    }
    if ((head >> 1) > static_cast<std::uint64_t>(Kind::End) || head == 0) fail("an entry of unknown kind", start);
    item.kind = static_cast<Kind>(head >> 1);
    switch (item.kind) {
    case Kind::Key:
        item.code = static_cast<unsigned int>(bounded(MAX_UINT, "a key code"));
        item.state = static_cast<unsigned int>(bounded(2, "a key's state"));
        break;
    case Kind::MouseButton:
        item.code = static_cast<unsigned int>(bounded(3, "a mouse button"));
        item.state = static_cast<unsigned int>(bounded(2, "a button's state"));
        [[fallthrough]];
    case Kind::MouseMove: {
        const std::size_t at = position;
        const std::uint64_t column = varint();
        const std::uint64_t row = varint();
        if (column > MAX_COORDINATE || row > MAX_COORDINATE) fail("a mouse position is out of range", at);
        item.column = static_cast<int>(unzigzag(column));
        item.row = static_cast<int>(unzigzag(row));
        break;
    }
    case Kind::Focus:
    case Kind::FocusAtSwitch: item.state = static_cast<unsigned int>(bounded(1, "a focus change")); break;
    case Kind::Clock: item.clock = zigzag(); break;
    case Kind::Seed: item.code = static_cast<unsigned int>(bounded(MAX_UINT, "a seed")); break;
    default: break;
    }
    return item;
}

RecordedItem RecordingReader::peek() {
    const std::size_t start = position;
    const RecordedItem item = next();
    position = start;
    return item;
}

} // namespace lum
