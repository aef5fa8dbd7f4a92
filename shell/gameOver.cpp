// The game-over screen. The play state records the winner at the moment of the
// crash: asking the snakes again afterwards would count the segments of a meal
// eaten in that same frame, stacked on the eater's head, as a crash of its own.
#include "shell/gameOver.h"

#include "framework/App.h"
#include "framework/graphics/Screen.h"
#include "game/snake.h"
#include "game/centredText.h"
#include "shell/choiceList.h"

const lum::Colour gameOver::lineColour(255, 0, 0, 255);
const std::vector<std::string> gameOver::lines{"Main Menu", "Exit Game"};

gameOver::gameOver() : bigFont(centredText::FONT_FILE, 32), smallFont(centredText::FONT_FILE, 16) {}

gameOver::~gameOver() = default;

bool gameOver::onCreate() {
    return true;
}

bool gameOver::onDestroy() {
    return true;
}

void gameOver::onActivate() {
    lum::application.addKeyListener(*this);
}

void gameOver::onDeactivate() {
    lum::application.removeKeyListener(*this);
}

void gameOver::onUpdate() {}

snake* gameOver::findWinner() const {
    if (winner != nullptr) return winner;
    if (mode != 0) return playerSnake;
    if (playerSnake == nullptr || computerSnake == nullptr) return nullptr;
    snake* found = snake::collide(playerSnake, computerSnake);
    return found != nullptr ? found : snake::collide(computerSnake, playerSnake);
}

std::string gameOver::resultLine() const {
    const snake* found = findWinner();
    if (found == nullptr) return "The match ended without a winner.";
    return found->getName() + " has won with " + std::to_string(found->length) + " points.";
}

void gameOver::onRender(lum::Screen& screen) {
    choiceList::drawLine(screen, smallFont, lineColour, resultLine(), -1);
    choiceList::drawChoices(screen, lines, selectedItem, bigFont, smallFont, lineColour);
}

void gameOver::onTimer(lum::Timer&) {}

bool gameOver::onKey(const lum::KeyEvent& event) {
    choiceList::twoLineKeys(selectedItem, "menu", event);
    return true;
}
