// Random draws in a range.
#include "game/randomDraw.h"

#include <cstdlib>

unsigned int randomDraw::below(unsigned int n) {
    return n == 0 ? 0 : static_cast<unsigned int>(std::rand()) % n;
}
