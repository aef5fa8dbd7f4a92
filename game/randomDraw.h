// The game's random draws: every range is rand() % n on the one generator that
// the program seeds with the time, so the order of the draws decides the game.
#pragma once

class randomDraw {
public:
    // rand() % n in unsigned arithmetic; an empty range gives 0 without a draw
    // instead of dividing by zero.
    static unsigned int below(unsigned int n);
};
