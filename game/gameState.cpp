// A match from start to end. The play state is deactivated both when the match
// is paused and when it ends, and the pause state only says so afterwards, so
// the play state remembers whether it asked for "game_over" itself: that
// deactivation disposes of the match's controllers and music; any other one
// only silences them until the match resumes.
#include "game/gameState.h"

#include "framework/App.h"
#include "framework/graphics/Screen.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"
#include "game/aiController.h"
#include "game/centredText.h"
#include "game/playerController.h"
#include "game/spriteFile.h"
#include "shell/gameOver.h"

namespace {

constexpr int SOUND_CHANNELS = 32;

} // namespace

const lum::Colour gameState::scoreColour(20, 255, 20, 255);

gameState::gameState() : largeFont(centredText::FONT_FILE, 24), smallFont(centredText::FONT_FILE, 16) {
    spriteFile::load(background, "gameBackground.bmp");
}

gameState::~gameState() {
    disposeControllers();
    releaseMusic();
    delete countdown;
}

bool gameState::onCreate() {
    return true;
}

bool gameState::onDestroy() {
    return true;
}

void gameState::onActivate() {
    if (paused) {
        resumeMatch();
    } else {
        startMatch();
    }
}

void gameState::startMatch() {
    // Whatever a match left behind (none when it ended normally) goes first.
    disposeControllers();
    releaseMusic();
    matchOver = false;
    if (gameOverState != nullptr) {
        gameOverState->mode = mode;
        gameOverState->winner = nullptr;
    }

    soundSystem = new lum::SoundSystem();
    soundSystem->init(SOUND_CHANNELS);

    if (mode == TWO_PLAYER) {
        foodManager.reset();
        playerSnake.reset();
        computerSnake.reset();
        playerControl = new playerController(&playerSnake, &foodManager);
        playerSnake.control = playerControl;
        playerSnake.name = "Player 1";
        computerControl = new aiController(&computerSnake, &foodManager);
        computerSnake.control = computerControl;
        computerSnake.name = "Computer";
        startMusic("GameMusic2.mp3");
    } else {
        secondsLeft = MATCH_SECONDS;
        if (countdown == nullptr) countdown = new lum::Timer(0, 1000, *this);
        countdown->start();
        foodManager.reset();
        playerSnake.reset();
        playerControl = new playerController(&playerSnake, &foodManager);
        playerSnake.control = playerControl;
        playerSnake.name = "Player 1";
        startMusic("GameMusic.mp3");
    }
}

void gameState::resumeMatch() {
    paused = false;
    if (mode != TWO_PLAYER && countdown != nullptr) countdown->start();
    if (channel != nullptr) channel->setPaused(false);
    if (playerControl != nullptr) playerControl->resume();
    if (computerControl != nullptr) computerControl->resume();
}

void gameState::onDeactivate() {
    if (channel != nullptr) channel->setPaused(true);
    if (countdown != nullptr) countdown->stop();
    if (matchOver) {
        disposeControllers();
        releaseMusic();
        return;
    }
    if (playerControl != nullptr) playerControl->suspend();
    if (computerControl != nullptr) computerControl->suspend();
}

void gameState::startMusic(const std::string& fileName) {
    // A missing file or no sound device gives a silent match.
    music = soundSystem->createSound(fileName);
    if (music == nullptr) return;
    music->setMode(lum::Sound::LOOP_OFF);
    channel = soundSystem->playSound(music, false);
}

void gameState::releaseMusic() {
    if (music != nullptr) music->release();
    music = nullptr;
    channel = nullptr;
    if (soundSystem != nullptr) {
        soundSystem->close();
        delete soundSystem;
    }
    soundSystem = nullptr;
}

void gameState::disposeControllers() {
    // The player's controller also disposes of a computer it handed over to.
    delete playerControl;
    delete computerControl;
    playerControl = nullptr;
    computerControl = nullptr;
    playerSnake.control = nullptr;
    computerSnake.control = nullptr;
}

void gameState::finishMatch(snake* winner) {
    if (gameOverState != nullptr) gameOverState->winner = winner;
    matchOver = true;
    lum::application.setState("game_over");
}

void gameState::onUpdate() {
    if (soundSystem != nullptr) soundSystem->update();
    if (mode == TWO_PLAYER) {
        updateTwoPlayer();
    } else {
        updateOnePlayer();
    }
}

void gameState::updateTwoPlayer() {
    playerSnake.move();
    computerSnake.move();
    snake* winner = snake::collide(&playerSnake, &computerSnake);
    if (winner == nullptr) winner = snake::collide(&computerSnake, &playerSnake);
    // The winner is decided before anyone eats: a meal in this frame stacks
    // segments on the eater's head, which must not count as a crash.
    if (winner != nullptr) finishMatch(winner);
    foodManager.collide(&playerSnake);
    foodManager.collide(&computerSnake);
}

void gameState::updateOnePlayer() {
    tuneFood();
    playerSnake.move();
    if (snake::collide(&playerSnake, nullptr) != nullptr) finishMatch(&playerSnake);
    foodManager.collide(&playerSnake);
}

void gameState::tuneFood() {
    // Exactly 60 and 30 seconds left count with the calmer row above them.
    struct limits {
        unsigned int fromSeconds;
        unsigned int maxPieces;
        unsigned int maxDelay;
    };
    static const limits table[] = {{90, 5, 10}, {60, 10, 6}, {30, 20, 3}, {0, 40, 1}};
    for (const limits& row : table) {
        if (secondsLeft >= row.fromSeconds) {
            foodManager.maxPieces = row.maxPieces;
            foodManager.maxDelay = row.maxDelay;
            return;
        }
    }
}

void gameState::onTimer(lum::Timer&) {
    // The display reaches 0, and the match ends one tick later.
    if (secondsLeft == 0) {
        finishMatch(&playerSnake);
    } else {
        --secondsLeft;
    }
}

void gameState::onRender(lum::Screen& screen) {
    screen.drawImage(background, 0, 0, spriteFile::BACKGROUND_WIDTH, spriteFile::BACKGROUND_HEIGHT, 0, 0);

    const int width = static_cast<int>(lum::application.getScreenWidth());
    const int height = static_cast<int>(lum::application.getScreenHeight());
    drawCentredText(screen, "Player 1: ", 60, height - 25, true);
    drawCentredText(screen, std::to_string(playerSnake.length), 120, height - 25, true);
    if (mode == TWO_PLAYER) {
        drawCentredText(screen, "Computer: ", width - 120, height - 30, true);
        drawCentredText(screen, std::to_string(computerSnake.length), width - 60, height - 30, true);
    } else {
        drawCentredText(screen, std::to_string(secondsLeft), centredText::screenCentreX(), height - 30, false);
    }

    for (const food::foodPiece* p = foodManager.first; p != nullptr; p = p->next) {
        screen.drawImage(p->image, 0, 0, food::PIECE_SIZE, food::PIECE_SIZE, p->x, p->y);
    }

    playerSnake.draw(screen);
    if (mode == TWO_PLAYER) computerSnake.draw(screen);
}

void gameState::drawCentredText(lum::Image& target, const std::string& text, int x, int y, bool small) {
    centredText::draw(target, small ? smallFont : largeFont, text, scoreColour, x, y);
}
