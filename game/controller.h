// What steers a snake: a controller only writes its snake's direction; the
// snake's owner moves it.
#pragma once

class snake;

class controller {
public:
    explicit controller(snake* controlledSnake);
    virtual ~controller() = default;
    controller(const controller&) = delete;
    controller& operator=(const controller&) = delete;

    snake* controlledSnake; // not owned

protected:
    // Turns the snake to `direction` unless that would reverse it onto itself.
    void steer(int direction);
};
