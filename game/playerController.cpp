// Keys to directions, and the hand-over to the computer. The controller that
// was handed over stays alive, silent, until the match ends, and disposes of
// its successor then, so every controller of a match is disposed of once.
#include "game/playerController.h"

#include "framework/App.h"
#include "game/aiController.h"
#include "game/snake.h"

playerController::playerController(snake* controlledSnake, food* foodManager)
    : controller(controlledSnake), foodManager(foodManager) {
    listen(true);
}

playerController::~playerController() {
    listen(false);
    delete successor;
}

void playerController::listen(bool on) {
    if (on) {
        lum::application.addKeyListener(*this);
        lum::application.addFocusListener(*this);
    } else {
        lum::application.removeKeyListener(*this);
        lum::application.removeFocusListener(*this);
    }
    listening = on;
}

bool playerController::onKey(const lum::KeyEvent& event) {
    switch (event.key) {
    case lum::KEY_TAB: lum::application.setState("pause"); break;
    case lum::KEY_F1: handOver(); break;
    case lum::KEY_LEFT: steer(snake::LEFT); break;
    case lum::KEY_UP: steer(snake::UP); break;
    case lum::KEY_RIGHT: steer(snake::RIGHT); break;
    case lum::KEY_DOWN: steer(snake::DOWN); break;
    default: break;
    }
    return true;
}

bool playerController::onFocusChange(bool focused) {
    if (!focused) lum::application.setState("pause");
    return true;
}

void playerController::handOver() {
    if (successor != nullptr) return;
    // Made first: when no timer is free this throws and the player keeps control.
    successor = new aiController(controlledSnake, foodManager);
    listen(false);
    controlledSnake->control = successor;
    controlledSnake->name = "Computer";
}

void playerController::suspend() {
    if (successor != nullptr) {
        successor->suspend();
    } else if (listening) {
        listen(false);
    }
}

void playerController::resume() {
    if (successor != nullptr) {
        successor->resume();
    } else if (!listening) {
        listen(true);
    }
}
