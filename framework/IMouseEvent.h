// Mouse listeners and the mouse event record.
#pragma once

#include "framework/IKeyEvent.h"

namespace lum {

enum MouseButton : unsigned int { LEFT = 1, MIDDLE = 2, RIGHT = 3 };

// One record owned by the App, zero-filled at start and reused for every mouse
// event. y counts upwards like the images: the top client row gives the screen
// height, the bottom row 1. A move leaves button and state as the last button
// event left them.
struct MouseEvent {
    int prevX;
    int prevY;
    int x;
    int y;
    unsigned int button; // a MouseButton
    unsigned int state;  // a ButtonState
};

class IMouseEvent {
public:
    virtual ~IMouseEvent() = default;
    virtual bool onMouseMove(const MouseEvent& event) = 0;
    virtual bool onMouseButton(const MouseEvent& event) = 0;
};

} // namespace lum
