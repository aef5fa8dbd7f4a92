// The main menu ("menu"), the first screen of every run: start a match, switch
// between the two-player and the timed one-player match, or leave. Looping
// music plays while it is shown.
#pragma once

#include "framework/IAppState.h"
#include "framework/IKeyEvent.h"
#include "framework/ITimerEvent.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Image.h"

#include <string>
#include <vector>

namespace lum {
class Sound;
class SoundSystem;
} // namespace lum

class gameState;

class mainMenu : public lum::IAppState, public lum::ITimerEvent, public lum::IKeyEvent {
public:
    enum { PLAY_GAME = 0, PLAYER_MODE = 1, EXIT_GAME = 2 };
    static const lum::Colour highlightColour;
    static const lum::Colour lineColour;

    // Reads the font and "mainMenu.bmp"; throws when either cannot be read.
    mainMenu();
    ~mainMenu() override;

    bool onCreate() override;
    bool onDestroy() override;
    void onActivate() override;
    void onDeactivate() override;
    void onUpdate() override;
    void onRender(lum::Screen& screen) override;
    void onTimer(lum::Timer& timer) override;
    bool onKey(const lum::KeyEvent& event) override;

    int selectedItem = PLAY_GAME; // kept between visits
    lum::Font bigFont;
    lum::Font smallFont;
    gameState* playState = nullptr; // whose mode the middle line sets
    lum::Image background;
    std::vector<std::string> menuItems;

    // The music of the current visit; null while the menu is not shown.
    lum::SoundSystem* soundSystem = nullptr;
    lum::Sound* menuMusic = nullptr;

private:
    void choose();
    void togglePlayerMode();
    void stopMusic();
};
