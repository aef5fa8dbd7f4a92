// The pause screen. Its backdrop snake moves only in the frames this state
// draws, so every pause continues the snake's run where the last one left it.
#include "shell/gamePaused.h"

#include "framework/App.h"
#include "framework/graphics/Screen.h"
#include "game/aiController.h"
#include "game/gameState.h"
#include "game/centredText.h"
#include "shell/choiceList.h"

const lum::Colour gamePaused::lineColour(255, 0, 0, 255);
const std::vector<std::string> gamePaused::lines{"Resume Game", "Exit Game"};

gamePaused::gamePaused() : bigFont(centredText::FONT_FILE, 32), smallFont(centredText::FONT_FILE, 16) {
    backdropSnake.control = new aiController(&backdropSnake, nullptr);
    backdropSnake.name = "Computer";
}

gamePaused::~gamePaused() {
    delete backdropSnake.control;
}

bool gamePaused::onCreate() {
    return true;
}

bool gamePaused::onDestroy() {
    return true;
}

void gamePaused::onActivate() {
    if (playState != nullptr) playState->paused = true;
    lum::application.addKeyListener(*this);
}

void gamePaused::onDeactivate() {
    // The paused flag stays set; the play state clears it when it resumes.
    lum::application.removeKeyListener(*this);
}

void gamePaused::onUpdate() {}

void gamePaused::onRender(lum::Screen& screen) {
    backdropSnake.move();
    backdropSnake.draw(screen);
    choiceList::drawChoices(screen, lines, selectedItem, bigFont, smallFont, lineColour);
}

void gamePaused::onTimer(lum::Timer&) {}

bool gamePaused::onKey(const lum::KeyEvent& event) {
    // After "Resume Game" the release of Space reaches the play state, which
    // ignores it.
    choiceList::twoLineKeys(selectedItem, "main", event);
    return true;
}
