// The eight named colours. The constructor is constexpr, so these are constant
// initialised: they hold their values before any dynamic initialiser (a font or
// the application) could look at them.
#include "framework/graphics/Colour.h"

namespace lum {

const Colour Colour::BLACK(0, 0, 0, 255);
const Colour Colour::WHITE(255, 255, 255, 255);
const Colour Colour::GREY(127, 127, 127, 255); // 127, not 128
const Colour Colour::RED(255, 0, 0, 255);
const Colour Colour::GREEN(0, 255, 0, 255);
const Colour Colour::BLUE(0, 0, 255, 255);
const Colour Colour::YELLOW(255, 255, 0, 255);
const Colour Colour::MAGENTA(255, 0, 255, 255);

} // namespace lum
