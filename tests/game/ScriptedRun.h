// One run of the whole program, in-process on the headless platform, driven by
// a script of phases. Each phase is called at the start of every loop step
// until it reports that it is done; then the next phase takes over. The states
// are picked up as the program shows them, so phases can read and check them.
#pragma once

#include "framework/App.h"
#include "framework/graphics/Screen.h"
#include "framework/headless/HeadlessAppImpl.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class gameOver;
class gamePaused;
class gameState;
class mainMenu;

class ScriptedRun {
public:
    using Phase = std::function<bool(ScriptedRun&)>;

    // Puts the App back to its just-built state; the destructor does it again.
    ScriptedRun();
    ~ScriptedRun();
    ScriptedRun(const ScriptedRun&) = delete;
    ScriptedRun& operator=(const ScriptedRun&) = delete;

    ScriptedRun& then(Phase phase);
    // Runs the program to its end; the result of vellorinMain.
    int run();

    // ---- phases -----------------------------------------------------------
    // Done once the named state ("menu", "main", "pause", "game_over") is active.
    static Phase until(const std::string& stateName);
    // Queues the keys, pressed and released one after another; done at once.
    static Phase press(std::vector<unsigned int> keys);
    static Phase pressOnly(unsigned int key);
    static Phase releaseOnly(unsigned int key);
    // Done after this many more frames have been presented.
    static Phase frames(std::uint64_t count);
    // Runs the action once; done at once.
    static Phase act(std::function<void(ScriptedRun&)> action);
    // From the menu, starts a match; a one-player match first switches the mode.
    static Phase startMatch(bool onePlayer);
    // Done after this many more frames, the player's snake kept going round.
    static Phase playFrames(std::uint64_t count);

    // Keeps the player's snake going clockwise round a rectangle well inside
    // the field, turning with the arrow keys like a player would.
    void steerRound();

    // ---- what a phase may look at ------------------------------------------
    std::string activeName() const; // "menu", "main", "pause", "game_over" or ""
    double seconds() const;         // fake time since the run started
    lum::HeadlessAppImpl& app;
    mainMenu* menu = nullptr;
    gameState* play = nullptr;
    gamePaused* pause = nullptr;
    gameOver* over = nullptr;
    std::size_t phasesDone() const { return next; }

    // Called with every presented frame.
    std::function<void(const lum::Screen&)> onFrame;
    // A run still going at this fake time fails and is ended.
    double timeLimitSeconds = 900.0;

private:
    void step();
    void findStates();

    std::vector<Phase> phases;
    std::size_t next = 0;
};
