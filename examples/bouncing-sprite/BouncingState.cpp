#include "BouncingState.h"

#include "framework/App.h"
#include "framework/graphics/Colour.h"
#include "framework/graphics/Screen.h"

namespace {

constexpr int SIZE = 32;
const lum::Colour CLEAR(255, 0, 255, 255);

// Moves one coordinate a step and turns it back at either edge.
void bounce(int& position, int& step, int limit) {
    position += step;
    if (position < 0 || position > limit) {
        step = -step;
        position += 2 * step;
    }
}

} // namespace

// The sprite is drawn once: a yellow disc on magenta, which is made transparent.
BouncingState::BouncingState(unsigned long frameBudget)
    : sprite(SIZE, SIZE, CLEAR), frameBudget(frameBudget) {
    for (int radius = SIZE / 2 - 1; radius > 0; --radius) {
        sprite.drawCircle(SIZE / 2, SIZE / 2, radius, lum::Colour(250, 210, 40, 255));
    }
    sprite.setTransparentColour(CLEAR);
}

bool BouncingState::onCreate() { return true; }
bool BouncingState::onDestroy() { return true; }
void BouncingState::onActivate() { lum::application.addKeyListener(*this); }
void BouncingState::onDeactivate() { lum::application.removeKeyListener(*this); }

void BouncingState::onUpdate() {
    const int width = static_cast<int>(lum::application.getScreenWidth());
    const int height = static_cast<int>(lum::application.getScreenHeight());
    bounce(x, stepX, width - SIZE);
    bounce(y, stepY, height - SIZE);
    if (++frames == frameBudget) lum::application.exit();
}

void BouncingState::onRender(lum::Screen& screen) {
    screen.drawImage(sprite, 0, 0, SIZE, SIZE, x, y);
}

bool BouncingState::onKey(const lum::KeyEvent& event) {
    if (event.key == lum::KEY_ESCAPE && event.state == lum::PRESSED) lum::application.exit();
    return true;
}
