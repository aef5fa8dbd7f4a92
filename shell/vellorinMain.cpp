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
#include <ctime>
#include <exception>
#include <iostream>

int vellorinMain() {
    try {
        // The constructors below draw from this seed (the first piece of food);
        // the App seeds again when it starts running.
        std::srand(static_cast<unsigned int>(std::time(nullptr)));

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
        lum::application.run(800, 600, "Vellorin", "q4417093");
        lum::application.removeKeyListener(muteKey);
    } catch (const std::exception& e) {
        std::cerr << "Exception caught: " << e.what() << std::endl;
        // Whatever started the program (a launcher, a script) must see the failure.
        return 1;
    }
    return 0;
}
