// One entry of a recording's stream: what a step took from outside the
// program (its messages and its clock reading), a seed handed out, or where
// the run ended. A step's entry comes last among its own and carries the
// hash of the frame it drew, if it drew one.
#pragma once

#include <cstdint>

namespace lum {

struct RecordedItem {
    enum class Kind : std::uint8_t {
        Step,          // clock = the step's reading; frame drawn, its hash
        Key,           // code, state
        MouseMove,     // column, row: picture pixels from the top left
        MouseButton,   // button, state, column, row
        Focus,         // state: 1 gained, 0 lost
        FocusAtSwitch, // a focus change told once a state switch was over
        Clock,         // a reading outside the steps (start, loop start)
        Seed,          // a seed handed out once the recording had begun
        Quit,          // the platform's quit message ended the loop
        Terminate,     // a termination signal ended the loop
        End,           // the program left its loop
    };

    // A step's reading as an entry: in whole microseconds from the deadline's
    // microsecond when it is a whole microsecond, else in nanoseconds from
    // the deadline. Either is a small number.
    static RecordedItem step(std::int64_t reading, std::int64_t deadline) {
        RecordedItem item{Kind::Step};
        item.microseconds = reading % 1000 == 0;
        item.clock = item.microseconds ? reading / 1000 - floorMicroseconds(deadline) : reading - deadline;
        return item;
    }
    // The reading back from a step's entry and the same deadline.
    std::int64_t stepReading(std::int64_t deadline) const {
        return microseconds ? (floorMicroseconds(deadline) + clock) * 1000 : deadline + clock;
    }
    static std::int64_t floorMicroseconds(std::int64_t ns) { return ns >= 0 ? ns / 1000 : -((999 - ns) / 1000); }

    Kind kind = Kind::End;
    std::int64_t clock = 0;  // Step: see step(); Clock: the reading
    std::uint64_t hash = 0;  // Step: the frame's hash when frameDrawn
    bool frameDrawn = false; // Step
    unsigned int code = 0;   // Key code, mouse button, seed
    unsigned int state = 0;  // Key / button state, focus
    int column = 0;
    int row = 0;
    bool microseconds = false; // Step: see step()
};

} // namespace lum
