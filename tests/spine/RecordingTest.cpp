// Recordings: what is written reads back the same, a damaged or cut-off file
// is an error naming its byte, a header refuses what cannot be replayed, and
// the frame hash kept row by row agrees with one taken over the whole frame.
#include "framework/FrameHash.h"
#include "framework/RecordingReader.h"
#include "framework/RecordingWriter.h"
#include "framework/graphics/ChangedRows.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageAccess.h"
#include "framework/graphics/ImageImpl.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace lum {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = RecordedItem::Kind;

RecordingHeader header() {
    RecordingHeader header = RecordingHeader::ofThisBuild();
    header.program = "vellorin";
    header.width = 800;
    header.height = 600;
    header.seeds = {1765000000, 0xFFFFFFFFu};
    return header;
}

// A run with every kind of entry: steps drawn late (in nanoseconds and in
// microseconds), one early and undrawn,
// clocks at both ends of their range, the mouse outside the picture.
const std::vector<RecordedItem> ENTRIES = {
    {Kind::Clock, std::numeric_limits<std::int64_t>::min()}, {Kind::Clock, std::numeric_limits<std::int64_t>::max()},
    {Kind::Step, 0, 0xDEADBEEF, true}, {Kind::Step, -2500000},
    {Kind::Step, 1ll << 40, 0, true}, {Kind::Step, -3, 7, true, 0, 0, 0, 0, true}, {Kind::Key, 0, 0, false, 1073741904u, 1},
    {Kind::MouseMove, 0, 0, false, 0, 0, -7, 900}, {Kind::MouseButton, 0, 0, false, 3, 0, 801, -1},
    {Kind::Focus, 0, 0, false, 0, 0}, {Kind::FocusAtSwitch, 0, 0, false, 0, 1},
    {Kind::Seed, 0, 0, false, 0xFFFFFFFFu}, {Kind::Quit}, {Kind::Terminate}, {Kind::End},
};

Bytes run() {
    Bytes bytes = RecordingWriter::encode(header());
    for (const RecordedItem& item : ENTRIES) RecordingWriter::encode(item, bytes);
    return bytes;
}

auto fields(const RecordedItem& item) {
    return std::tuple(item.kind, item.clock, item.hash, item.frameDrawn, item.code, item.state, item.column, item.row,
                      item.microseconds);
}

// The error reading the whole file gives, each entry peeked at first.
std::string errorReading(const Bytes& bytes) {
    return test::thrown<RecordingReader::Error>([&] {
        RecordingReader reader(bytes);
        reader.readHeader();
        do {
            reader.peek();
        } while (reader.next().kind != Kind::End);
    });
}

TEST(Recording, EveryEntryAndTheHeaderReadBackAsWritten) {
    RecordingReader reader(run());
    // Every field of the header is written, so one lost in reading shows.
    EXPECT_EQ(RecordingWriter::encode(reader.readHeader()), RecordingWriter::encode(header()));
    for (const RecordedItem& item : ENTRIES) {
        EXPECT_EQ(fields(reader.peek()), fields(item));
        EXPECT_EQ(fields(reader.next()), fields(item));
    }
    EXPECT_EQ(reader.offset(), run().size());
}

TEST(Recording, CutAtAnyByteIsAnErrorNamingTheEnd) {
    const Bytes whole = run();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        EXPECT_EQ(errorReading(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length))),
                  "The recording is cut off at byte " + std::to_string(length));
    }
    EXPECT_EQ(errorReading(whole), "(nothing thrown)");
}

TEST(Recording, DamagedBytesAreNamedWithTheirPlace) {
    const auto damaged = [](std::size_t at, const std::string& what) {
        return "The recording is damaged at byte " + std::to_string(at) + ": " + what;
    };
    const auto withEntry = [](const Bytes& entry) {
        Bytes bytes = RecordingWriter::encode(header());
        bytes.insert(bytes.end(), entry.begin(), entry.end());
        return bytes;
    };
    const auto changed = [](std::size_t at, std::uint8_t value) {
        Bytes bytes = run();
        bytes[at] = value;
        return bytes;
    };
    const std::size_t entryAt = RecordingWriter::encode(header()).size();
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {changed(2, 'X'), damaged(2, "it is not a recording")},
        {changed(4, 2), "The recording is in format version 2 (byte 4); this program reads version 1"},
        {withEntry({22}), damaged(entryAt, "an entry of unknown kind")},
        {withEntry({12, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02}),
         damaged(entryAt + 1, "a number runs past 64 bits")},
        {withEntry({2, 97, 3}), damaged(entryAt + 2, "a key's state is out of range")},
        {withEntry({6, 4, 1}), damaged(entryAt + 1, "a mouse button is out of range")},
        {withEntry({4, 0x80, 0x80, 0x80, 0x01, 0}), damaged(entryAt + 1, "a mouse position is out of range")},
    };
    for (const auto& [bytes, message] : cases) EXPECT_EQ(errorReading(bytes), message);
}

TEST(RecordingHeader, RefusesAnotherPlatformGeneratorProgramOrScreenButNotAnotherBuild) {
    RecordingHeader other = header();
    other.build = "lum 0.1 (elsewhere)";
    EXPECT_EQ(other.refusalHere(), "");
    EXPECT_EQ(other.refusalFor("vellorin", 800, 600), "");
    EXPECT_EQ(other.refusalFor("snake", 800, 600), "it is a recording of vellorin, not of snake");
    EXPECT_EQ(other.refusalFor("vellorin", 800, 601), "its screen is 800 x 600, not 800 x 601");
    other.generator[3] ^= 1;
    EXPECT_EQ(other.refusalHere(), "it was recorded with another random number generator");
    other.platform = "amiga";
    EXPECT_EQ(other.refusalHere(), "it was recorded on amiga, and this is " + header().platform);
}

// Random drawing, each frame hashed from the rows the image marked as drawn
// on; the width leaves pixels past the last whole block of eight.
TEST(FrameHash, RowByRowAgreesWithTheWholeFrameAndSeesOnePixel) {
    Image frame(61, 37, Colour(0, 0, 0, 255));
    const Image sprite(5, 3, Colour(200, 10, 10, 128));
    FrameHash hash;
    ChangedRows changed;
    std::mt19937 random(7);
    const auto any = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto channel = [&] { return static_cast<std::uint8_t>(any(0, 255)); };
    const auto colour = [&] { return Colour(channel(), channel(), channel(), channel()); };
    const auto hashed = [&] {
        ImageAccess::of(frame).takeChangedRows(changed);
        return hash.update(frame, changed);
    };
    std::uint64_t last = 0;
    for (int step = 0; step < 300; ++step) {
        switch (any(0, 5)) {
        case 0: frame.plot(any(0, 60), any(0, 36), colour()); break;
        case 1: frame.drawLine(any(-9, 70), any(-9, 45), any(-9, 70), any(-9, 45), colour()); break;
        case 2: frame.drawCircle(any(-5, 65), any(-5, 40), any(1, 12), colour()); break;
        case 3: frame.drawImage(sprite, 0, 0, 5, 3, any(-4, 60), any(-2, 36)); break;
        case 4: frame.clear(colour()); break;
        default: break; // a frame with nothing drawn
        }
        last = hashed();
        ASSERT_EQ(last, FrameHash::ofWhole(frame)) << "at step " << step;
    }
    for (const auto& [column, row] : {std::pair{3u, 0u}, {60u, 36u}}) {
        const Colour was = frame.getPixel(column, row);
        Colour next = was;
        next.setRed(was.getRed() ^ 1);
        frame.plot(column, row, next);
        EXPECT_NE(hashed(), last);
        frame.plot(column, row, was);
        EXPECT_EQ(hashed(), last);
    }
}

} // namespace
} // namespace lum
