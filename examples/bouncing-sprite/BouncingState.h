// The example's only state: a ball that moves every frame and bounces off the
// window's edges. Escape quits; so does the end of a frame budget, when one is
// given (the headless build runs a fixed number of frames).
#pragma once

#include "framework/IAppState.h"
#include "framework/IKeyEvent.h"
#include "framework/graphics/Image.h"

class BouncingState : public lum::IAppState, public lum::IKeyEvent {
public:
    // frameBudget 0 runs until Escape.
    explicit BouncingState(unsigned long frameBudget);

    bool onCreate() override;
    bool onDestroy() override;
    void onActivate() override;
    void onDeactivate() override;
    void onUpdate() override;
    void onRender(lum::Screen& screen) override;
    bool onKey(const lum::KeyEvent& event) override;

    unsigned long getFrames() const { return frames; }
    int getX() const { return x; }
    int getY() const { return y; }

private:
    lum::Image sprite;
    unsigned long frameBudget;
    unsigned long frames = 0;
    int x = 40, y = 30;
    int stepX = 3, stepY = 2;
};
