// A sprite bouncing in a 320 × 240 window; Escape quits. An optional argument
// is a number of frames after which the program ends by itself.
//
// Like every lum program it can be recorded and replayed with no code of its
// own: LUM_RECORD=bounce.rec records a run, LUM_REPLAY=bounce.rec shows it
// again, and LUM_REPLAY_VERIFY=bounce.rec replays it without a window and
// checks every frame; run then returns false at the first difference.
#include "BouncingState.h"

#include "framework/App.h"
#include "framework/graphics/Colour.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const unsigned long frames = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 0;
    BouncingState bouncing(frames);
    lum::application.addState("bounce", bouncing);
    lum::application.setClearColour(lum::Colour(20, 30, 60, 255));
    const bool matched = lum::application.run(320, 240, "Bouncing sprite", "example");
    std::printf("%lu frames, sprite at %d,%d\n", bouncing.getFrames(), bouncing.getX(), bouncing.getY());
    return matched ? 0 : 1;
}
