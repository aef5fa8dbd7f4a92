#include "framework/Replay.h"

namespace lum {

namespace {

const char* describe(RecordedItem::Kind kind) {
    using Kind = RecordedItem::Kind;
    switch (kind) {
    case Kind::Step: return "a step";
    case Kind::Key: return "a key";
    case Kind::MouseMove: return "a mouse move";
    case Kind::MouseButton: return "a mouse button";
    case Kind::Focus: return "a focus change";
    case Kind::FocusAtSwitch: return "a focus change after a state switch";
    case Kind::Clock: return "a clock reading";
    case Kind::Seed: return "a seed";
    case Kind::Quit: return "the window's closing";
    case Kind::Terminate: return "a termination signal";
    case Kind::End: return "its end";
    }
    return "an unknown entry";
}

int unpacedReplays = 0;

} // namespace

Replay::Replay(const std::string& path, Pace pace)
    : path(path), pace(pace), reader(RecordingReader::fromFile(path)) {
    try {
        header = reader.readHeader();
    } catch (const RecordingReader::Error& error) {
        throw RecordingReader::Error("Cannot replay " + path + ". " + error.what());
    }
    const std::string refusal = header.refusalHere();
    if (!refusal.empty()) throw RecordingReader::Error("Cannot replay " + path + ": " + refusal);
    seeds.assign(header.seeds.begin(), header.seeds.end());
    if (pace == Pace::Unpaced) ++unpacedReplays;
}

Replay::~Replay() {
    if (pace == Pace::Unpaced) --unpacedReplays;
}

bool Replay::unpacedUnderway() { return unpacedReplays > 0; }

std::string Replay::where() const {
    return "step " + std::to_string(steps) + " (frame " + std::to_string(frames) + ")";
}

void Replay::conclude(const std::string& why) {
    if (ending.empty()) ending = why;
}

// The next entry when it is of `kind`; otherwise the program and the
// recording have parted, and the replay is over.
bool Replay::take(RecordedItem::Kind kind, RecordedItem& item) {
    if (isOver()) return false;
    try {
        item = reader.next();
    } catch (const RecordingReader::Error& error) {
        conclude(std::string(error.what()) + ", at " + where());
        return false;
    }
    if (item.kind == kind) return true;
    conclude("At " + where() + " the program asks for " + describe(kind) + " where the recording has " +
         describe(item.kind));
    return false;
}

unsigned int Replay::nextSeed() {
    if (seeds.empty()) {
        RecordedItem item;
        if (!take(RecordedItem::Kind::Seed, item)) return 0;
        return item.code;
    }
    const unsigned int seed = seeds.front();
    seeds.pop_front();
    return seed;
}

std::int64_t Replay::nextClock(std::vector<RecordedItem>& inputBefore) {
    using Kind = RecordedItem::Kind;
    RecordedItem item;
    for (;;) {
        if (isOver()) return 0;
        const Kind kind = peekKind();
        if (kind != Kind::Key && kind != Kind::MouseMove && kind != Kind::MouseButton && kind != Kind::Focus) break;
        take(kind, item);
        inputBefore.push_back(item);
    }
    return take(Kind::Clock, item) ? item.clock : 0;
}

bool Replay::nextStep(Step& step) {
    using Kind = RecordedItem::Kind;
    step = Step{};
    ++steps;
    for (;;) {
        if (isOver()) return false;
        RecordedItem item;
        try {
            item = reader.next();
        } catch (const RecordingReader::Error& error) {
            conclude(std::string(error.what()) + ", at " + where());
            return false;
        }
        switch (item.kind) {
        case Kind::Key:
        case Kind::MouseMove:
        case Kind::MouseButton:
        case Kind::Focus: step.messages.push_back(item); break;
        case Kind::Seed: seeds.push_back(item.code); break;
        case Kind::Quit: step.quit = true; return true;
        case Kind::Step:
            step.entry = expected = item;
            return true;
        default:
            conclude("At " + where() + " the program goes on where the recording has " + describe(item.kind));
            return false;
        }
    }
}

void Replay::checkStep(bool frameDrawn, std::uint64_t hash) {
    if (isOver()) return;
    if (frameDrawn) ++frames;
    if (frameDrawn != expected.frameDrawn) {
        conclude(frameDrawn ? "Frame " + std::to_string(frames) + " (step " + std::to_string(steps) +
                              ") was drawn where the recording has none"
                        : "At " + where() + " the recording has a frame that was not drawn");
    } else if (frameDrawn && (hash & 0xFFFFFFFFu) != expected.hash) {
        conclude("Frame " + std::to_string(frames) + " (step " + std::to_string(steps) + ") differs from the recording");
    }
}

// The end stands in for an entry that cannot be read: the next read tells why.
RecordedItem::Kind Replay::peekKind() {
    try {
        return reader.peek().kind;
    } catch (const RecordingReader::Error&) {
        return RecordedItem::Kind::End;
    }
}

bool Replay::takeFocusAtSwitch(bool& focused) {
    if (isOver() || peekKind() != RecordedItem::Kind::FocusAtSwitch) return false;
    RecordedItem item;
    take(RecordedItem::Kind::FocusAtSwitch, item);
    focused = item.state != 0;
    return true;
}

bool Replay::takeTerminate() {
    if (isOver() || peekKind() != RecordedItem::Kind::Terminate) return false;
    RecordedItem item;
    return take(RecordedItem::Kind::Terminate, item);
}

void Replay::finish(bool stoppedByPlayer) {
    if (isOver()) return;
    if (stoppedByPlayer) {
        matched = true;
        conclude("stopped at " + where() + " before its end, every frame until then matching");
        return;
    }
    RecordedItem item;
    if (!take(RecordedItem::Kind::End, item)) {
        ending = "The program left its loop at " + where() + ", where the recording goes on";
        return;
    }
    matched = true;
    conclude("every one of its " + std::to_string(frames) + " frames matches (" + std::to_string(steps) + " steps)");
}

std::string Replay::verdict() const {
    if (matched) return "Replay of " + path + ": " + ending + ".";
    return "Replay of " + path + " failed: " + ending + ".";
}

} // namespace lum
