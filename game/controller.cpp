// The steering rule shared by every controller.
#include "game/controller.h"

#include "game/snake.h"

controller::controller(snake* controlledSnake) : controlledSnake(controlledSnake) {}

void controller::steer(int direction) {
    // Opposite directions differ by exactly 2.
    const int opposite = (direction + 2) % 4;
    if (controlledSnake->direction != opposite) controlledSnake->direction = direction;
}
