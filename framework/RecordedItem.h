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

    Kind kind = Kind::End;
    std::int64_t clock = 0;  // Step: lateness past the deadline; Clock: the reading
    std::uint64_t hash = 0;  // Step: the frame's hash when frameDrawn
    bool frameDrawn = false; // Step
    unsigned int code = 0;   // Key code, mouse button, seed
    unsigned int state = 0;  // Key / button state, focus
    int column = 0;
    int row = 0;
};

} // namespace lum
