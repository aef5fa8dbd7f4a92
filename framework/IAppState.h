// One screen of a game, registered with the App under a name.
#pragma once

namespace lum {

class Screen;

class IAppState {
public:
    virtual ~IAppState() = default;
    virtual bool onCreate() = 0;
    virtual bool onDestroy() = 0;
    virtual void onActivate() = 0;
    virtual void onDeactivate() = 0;
    virtual void onUpdate() = 0;
    // The screen has already been cleared to the App's clear colour.
    virtual void onRender(Screen& screen) = 0;
};

} // namespace lum
