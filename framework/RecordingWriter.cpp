#include "framework/RecordingWriter.h"

#include "framework/Log.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace lum {

namespace {

void putVarint(std::vector<std::uint8_t>& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(value));
}

std::uint64_t zigzag(std::int64_t value) {
    return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}

void putString(std::vector<std::uint8_t>& out, const std::string& text) {
    putVarint(out, text.size());
    out.insert(out.end(), text.begin(), text.end());
}

} // namespace

RecordingWriter::RecordingWriter(const std::string& path) : file(std::fopen(path.c_str(), "wb")), path(path) {
    if (!file) throw std::runtime_error("Cannot write the recording " + path + ": " + std::strerror(errno));
}

RecordingWriter::~RecordingWriter() {
    flush();
    std::fclose(file);
}

std::vector<std::uint8_t> RecordingWriter::encode(const RecordingHeader& header) {
    std::vector<std::uint8_t> out{'L', 'U', 'M', 'R'};
    putVarint(out, header.formatVersion);
    putString(out, header.program);
    putString(out, header.platform);
    for (const std::uint32_t output : header.generator) putVarint(out, output);
    putString(out, header.build);
    putVarint(out, header.width);
    putVarint(out, header.height);
    putVarint(out, header.seeds.size());
    for (const unsigned int seed : header.seeds) putVarint(out, seed);
    return out;
}

// A step's entry is told by its lowest bit, 1; the others carry their kind
// above a 0 bit. A step's clock is its lateness past the deadline, which is
// small, and only the low 32 bits of the frame's hash are kept.
void RecordingWriter::encode(const RecordedItem& item, std::vector<std::uint8_t>& out) {
    using Kind = RecordedItem::Kind;
    if (item.kind == Kind::Step) {
        putVarint(out, (zigzag(item.clock) << 3) | (item.microseconds ? 4u : 0u) | (item.frameDrawn ? 2u : 0u) | 1u);
        if (item.frameDrawn) {
            for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(item.hash >> shift));
        }
        return;
    }
    putVarint(out, static_cast<std::uint64_t>(item.kind) << 1);
    switch (item.kind) {
    case Kind::Key:
        putVarint(out, item.code);
        putVarint(out, item.state);
        break;
    case Kind::MouseButton:
        putVarint(out, item.code);
        putVarint(out, item.state);
        putVarint(out, zigzag(item.column));
        putVarint(out, zigzag(item.row));
        break;
    case Kind::MouseMove:
        putVarint(out, zigzag(item.column));
        putVarint(out, zigzag(item.row));
        break;
    case Kind::Focus:
    case Kind::FocusAtSwitch: putVarint(out, item.state); break;
    case Kind::Clock: putVarint(out, zigzag(item.clock)); break;
    case Kind::Seed: putVarint(out, item.code); break;
    default: break;
    }
}

void RecordingWriter::writeHeader(const RecordingHeader& header) {
    const std::vector<std::uint8_t> bytes = encode(header);
    buffer.insert(buffer.end(), bytes.begin(), bytes.end());
    flush();
}

void RecordingWriter::write(const RecordedItem& item) {
    encode(item, buffer);
    using Kind = RecordedItem::Kind;
    if ((item.kind == Kind::Step && item.frameDrawn) || item.kind == Kind::End) flush();
}

// A full disk is told once; the run goes on unrecorded rather than stopping.
void RecordingWriter::flush() {
    if (broken) buffer.clear();
    if (buffer.empty()) return;
    if (std::fwrite(buffer.data(), 1, buffer.size(), file) != buffer.size() || std::fflush(file) != 0) {
        broken = true;
        log.warning("The recording " + path + " could not be written on: " + std::strerror(errno));
        return;
    }
    written += buffer.size();
    buffer.clear();
}

} // namespace lum
