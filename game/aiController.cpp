// Greedy steering: close the horizontal gap to the target first, then the
// vertical one, turning across instead of reversing. It never looks ahead, so
// the computer's snake crashes wherever the greedy path leads into something.
#include "game/aiController.h"

#include "framework/App.h"
#include "game/food.h"
#include "game/randomDraw.h"
#include "game/snake.h"

namespace {

// Corner zones reach this far in from each edge.
constexpr int CORNER = 40;
// The backdrop snake grows in the top-right corner until it is this long.
constexpr int CORNER_GROWTH_LIMIT = 40;
// A random target keeps this far from the top and right edges.
constexpr unsigned int WANDER_MARGIN = 200;

} // namespace

aiController::aiController(snake* controlledSnake, food* foodManager)
    : controller(controlledSnake), lastY(controlledSnake->head->y), foodManager(foodManager) {
    timer = new lum::Timer(0, INTERVAL_MS, *this);
    timer->start();
}

aiController::~aiController() {
    timer->stop();
    delete timer;
}

void aiController::onTimer(lum::Timer&) {
    if (foodManager != nullptr) {
        steerToFood();
    } else {
        steerAroundCorners();
    }
}

void aiController::suspend() {
    timer->stop();
}

void aiController::resume() {
    timer->start();
}

void aiController::steerToFood() {
    int tx;
    int ty;
    if (foodManager->first != nullptr) {
        tx = foodManager->first->x;
        ty = foodManager->first->y;
    } else {
        // No food: wander toward a fresh random point on every tick.
        const unsigned int width = lum::application.getScreenWidth();
        const unsigned int height = lum::application.getScreenHeight();
        tx = static_cast<int>(randomDraw::below(width > WANDER_MARGIN ? width - WANDER_MARGIN : 0) + 1);
        ty = static_cast<int>(randomDraw::below(height > WANDER_MARGIN ? height - WANDER_MARGIN : 0) + 1);
    }

    const int size = food::PIECE_SIZE;
    const int hx = controlledSnake->head->x;
    const int hy = controlledSnake->head->y;
    const int d = controlledSnake->direction;
    if (hx < tx) {
        steer(d == snake::LEFT ? snake::DOWN : snake::RIGHT);
    } else if (hx > tx + size) {
        steer(d == snake::RIGHT ? snake::DOWN : snake::LEFT);
    } else if (hx > tx && hx < tx + size) {
        // In the target's column: close the vertical gap. A snake heading away
        // turns aside only once it has really moved since the last tick.
        if (hy < ty) {
            if (d != snake::DOWN) {
                steer(snake::UP);
            } else if (lastY > hy) {
                steer(snake::RIGHT);
            }
        } else if (hy > ty + size) {
            if (d != snake::UP) {
                steer(snake::DOWN);
            } else if (lastY < hy) {
                steer(snake::LEFT);
            }
        }
    }
    lastY = hy;
}

void aiController::steerAroundCorners() {
    const int width = static_cast<int>(lum::application.getScreenWidth());
    const int height = static_cast<int>(lum::application.getScreenHeight());
    const int hx = controlledSnake->head->x;
    const int hy = controlledSnake->head->y;
    const bool top = hy > height - CORNER;
    const bool bottom = hy < CORNER;
    const bool left = hx < CORNER;
    const bool right = hx > width - CORNER;

    if (top && right) {
        steer(snake::DOWN);
        if (controlledSnake->length < CORNER_GROWTH_LIMIT) {
            controlledSnake->grow(static_cast<int>(randomDraw::below(5)) + 1);
        }
    } else if (bottom && right) {
        steer(snake::LEFT);
    } else if (bottom && left) {
        steer(snake::UP);
    } else if (left && top) {
        steer(snake::RIGHT);
    }
}
