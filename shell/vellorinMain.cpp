// Builds, registers and links the game's four states, runs the frame loop for
// an 800 x 600 window and destroys the states again. Any standard exception on
// the way is reported on standard error as one line, and the status is 1.
#include "shell/vellorinMain.h"

#include "framework/App.h"
#include "game/gameState.h"
#include "shell/gameOver.h"
#include "shell/gamePaused.h"
#include "shell/mainMenu.h"
#include "shell/musicSwitch.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>

namespace {

// Each option names a file; false for anything else.
bool applyOptions(int argc, const char* const* argv) {
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) return false;
        const char* option = argv[i];
        const char* file = argv[i + 1];
        if (std::strcmp(option, "--record") == 0) {
            lum::application.record(file);
        } else if (std::strcmp(option, "--replay") == 0) {
            lum::application.replay(file);
        } else if (std::strcmp(option, "--replay-verify") == 0) {
            lum::application.verifyReplay(file);
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int vellorinMain(int argc, const char* const* argv) {
    if (!applyOptions(argc, argv)) {
        std::cerr << "Usage: vellorin [--record FILE | --replay FILE | --replay-verify FILE]" << std::endl;
        return 2;
    }
    bool matched = true;
    try {
        // The constructors below draw from this seed (the first piece of food);
        // the App seeds again when it starts running. The seed is the time,
        // taken through the App so that a recording keeps it.
        std::srand(lum::application.randomSeed());

        mainMenu menu;
        gameState play;
        gamePaused pause;
        gameOver over;
        musicSwitch muteKey;

        // The first state registered is the one the program opens at.
        lum::application.addState("menu", menu)
            .addState("main", play)
            .addState("pause", pause)
            .addState("game_over", over);

        play.gameOverState = &over;
        menu.playState = &play;
        pause.playState = &play;
        over.playerSnake = &play.playerSnake;
        over.computerSnake = &play.computerSnake;

        // Registered first and never removed: M works on every screen.
        lum::application.addKeyListener(muteKey);
        lum::application.setClearColour(lum::Colour(0, 0, 0, 255));
        matched = lum::application.run(800, 600, "Vellorin", "q4417093");
        lum::application.removeKeyListener(muteKey);
    } catch (const std::exception& e) {
        std::cerr << "Exception caught: " << e.what() << std::endl;
        // Whatever started the program (a launcher, a script) must see the failure.
        return 1;
    }
    return matched ? 0 : 1;
}
