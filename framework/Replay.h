// A recorded run played again: hands the program the recorded seeds, clock
// readings and messages in the order it asks for them, and checks each step
// against the recording, whether it drew a frame and the frame's hash. The
// first difference, or damage to the file, ends the replay with a verdict
// naming the step and frame.
#pragma once

#include "framework/RecordedItem.h"
#include "framework/RecordingHeader.h"
#include "framework/RecordingReader.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace lum {

class Replay {
public:
    // In the window at the pace it was recorded, or without one as fast as it goes.
    enum class Pace { Recorded, Unpaced };

    struct Step {
        std::vector<RecordedItem> messages;
        RecordedItem entry;
        bool quit = false; // the platform's quit message ended the loop here
    };

    // Reads the file and its header; throws RecordingReader::Error with a
    // message fit for the player when it cannot be replayed in this build.
    Replay(const std::string& path, Pace pace);
    ~Replay();
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    // Whether a replay without a window is under way in this program: the
    // sound layer then opens no device, as the music would race.
    static bool unpacedUnderway();

    const RecordingHeader& getHeader() const { return header; }
    Pace getPace() const { return pace; }

    // The seeds in the order they were handed out; 0 past the last.
    unsigned int nextSeed();
    // A clock reading taken outside the steps, and the input that came before it.
    std::int64_t nextClock(std::vector<RecordedItem>& inputBefore);
    // What the next step took; false when the replay is over.
    bool nextStep(Step& step);
    // Whether the step just run drew a frame, and its hash: a difference from
    // the recording ends the replay.
    void checkStep(bool frameDrawn, std::uint64_t hash);
    // A focus change told once a state switch was over, when the recording has one here.
    bool takeFocusAtSwitch(bool& focused);
    // Whether a termination signal ended the recorded loop here.
    bool takeTerminate();
    // The loop ended: the recording must end here too, unless the player stopped it.
    void finish(bool stoppedByPlayer);

    bool isOver() const { return !ending.empty(); }
    bool failed() const { return !ending.empty() && !matched; }
    // One line for the log and the terminal.
    std::string verdict() const;

private:
    bool take(RecordedItem::Kind kind, RecordedItem& item);
    RecordedItem::Kind peekKind();
    void conclude(const std::string& why);
    std::string where() const;

    std::string path;
    Pace pace;
    RecordingReader reader;
    RecordingHeader header;
    std::deque<unsigned int> seeds;
    RecordedItem expected;
    std::uint64_t steps = 0;
    std::uint64_t frames = 0;
    std::string ending; // why the replay is over, when it is: a success is over too
    bool matched = false;
};

} // namespace lum
