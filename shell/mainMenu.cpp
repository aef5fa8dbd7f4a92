// The main menu. Every visit opens its own sound system and starts the music
// from the beginning; leaving the menu releases both.
#include "shell/mainMenu.h"

#include "framework/App.h"
#include "framework/graphics/Screen.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundSystem.h"
#include "game/centredText.h"
#include "game/gameState.h"
#include "game/spriteFile.h"
#include "shell/choiceList.h"

namespace {

const char* const SET_ONE_PLAYER = "Set One Player";
const char* const SET_TWO_PLAYER = "Set Two Player";

} // namespace

const lum::Colour mainMenu::highlightColour(255, 51, 51, 255);
const lum::Colour mainMenu::lineColour(255, 255, 255, 255);

mainMenu::mainMenu()
    : bigFont(centredText::FONT_FILE, 32), smallFont(centredText::FONT_FILE, 16),
      menuItems{"Play Game", SET_ONE_PLAYER, "Exit Game"} {
    spriteFile::load(background, "mainMenu.bmp");
}

mainMenu::~mainMenu() {
    stopMusic();
}

bool mainMenu::onCreate() {
    return true;
}

bool mainMenu::onDestroy() {
    return true;
}

void mainMenu::onActivate() {
    soundSystem = new lum::SoundSystem();
    soundSystem->init(32);
    // Without the file or a sound device the menu works on in silence.
    menuMusic = soundSystem->createSound("MenuMusic.mp3");
    if (menuMusic != nullptr) {
        menuMusic->setMode(lum::Sound::LOOP_NORMAL);
        soundSystem->playSound(menuMusic, false);
    }
    lum::application.addKeyListener(*this);
}

void mainMenu::onDeactivate() {
    stopMusic();
    lum::application.removeKeyListener(*this);
}

void mainMenu::stopMusic() {
    if (menuMusic != nullptr) menuMusic->release();
    menuMusic = nullptr;
    if (soundSystem != nullptr) {
        soundSystem->close();
        delete soundSystem;
    }
    soundSystem = nullptr;
}

void mainMenu::onUpdate() {}

void mainMenu::onRender(lum::Screen& screen) {
    screen.drawImage(background, 0, 0, spriteFile::BACKGROUND_WIDTH, spriteFile::BACKGROUND_HEIGHT, 0, 0);
    for (std::size_t i = 0; i < menuItems.size(); ++i) {
        const int index = static_cast<int>(i);
        if (index == selectedItem) {
            choiceList::drawLine(screen, bigFont, highlightColour, "> " + menuItems[i] + " <", index);
        } else {
            choiceList::drawLine(screen, smallFont, lineColour, menuItems[i], index);
        }
    }
}

void mainMenu::onTimer(lum::Timer&) {}

bool mainMenu::onKey(const lum::KeyEvent& event) {
    if (event.key == lum::KEY_ESCAPE) {
        lum::application.exit();
    } else if (event.key == lum::KEY_SPACE && event.state == lum::PRESSED) {
        choose();
    } else {
        choiceList::moveHighlight(selectedItem, static_cast<int>(menuItems.size()), event);
    }
    return true;
}

void mainMenu::choose() {
    switch (selectedItem) {
    case PLAY_GAME: lum::application.setState("main"); break;
    case PLAYER_MODE: togglePlayerMode(); break;
    case EXIT_GAME: lum::application.exit(); break;
    default: break;
    }
}

void mainMenu::togglePlayerMode() {
    // The line names the mode that choosing it switches to.
    for (std::string& item : menuItems) {
        if (item == SET_ONE_PLAYER) {
            item = SET_TWO_PLAYER;
            if (playState != nullptr) playState->mode = gameState::ONE_PLAYER;
        } else if (item == SET_TWO_PLAYER) {
            item = SET_ONE_PLAYER;
            if (playState != nullptr) playState->mode = gameState::TWO_PLAYER;
        }
    }
}
