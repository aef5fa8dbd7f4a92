// The page's input as the main loop's messages. The browser delivers DOM
// keyboard and mouse events only while the program sleeps between steps; each
// becomes one queued message, and the step takes them out one at a time, as a
// desktop platform takes its window messages. Keys are read on the whole
// window, so they reach the game wherever the page's focus is; the keys the
// game plays with keep their browser action (moving the focus, scrolling,
// help) from happening. The mouse is read on the canvas, and a position, as
// the viewport's size on a resize, is given in the viewport's device pixels,
// where the framework places the picture. The window's blur and the page
// being hidden (another tab) lose the focus; the window's focus regains it.
#pragma once

#include "framework/IKeyEvent.h"
#include "framework/IMouseEvent.h"

#include <cstddef>
#include <deque>
#include <string>

namespace lum {

struct WebMessage {
    enum Kind { Key, MouseMove, MouseButtonChange, Resize, Focus, Quit };
    Kind kind = Quit;
    unsigned int key = 0;       // Key: the framework's code
    ButtonState state = PRESSED; // Key, MouseButtonChange
    bool altHeld = false;        // Key
    bool repeated = false;       // Key: repeated by a key held down
    bool focused = false;        // Focus: gained rather than lost
    MouseButton button = LEFT;   // MouseButtonChange
    int column = 0;              // mouse: from the viewport's left; Resize: its width
    int row = 0;                 // mouse: from the viewport's top; Resize: its height
};

class WebInput {
public:
    // A page that stops reading (a stalled tab) cannot make the queue grow
    // without end: past this many messages, new mouse moves are dropped. A
    // resize replaces one still waiting at the queue's end.
    static constexpr std::size_t MAX_QUEUED = 1024;

    // Starts listening on the window (keys, resizes, focus), the document
    // (visibility) and the canvas (mouse).
    void listen(const std::string& canvas);
    void stopListening();

    bool empty() const { return queue.empty(); }
    bool pop(WebMessage& message);
    void push(const WebMessage& message);
    void pushQuit();

private:
    std::deque<WebMessage> queue;
    std::string canvas;
    bool listening = false;
};

} // namespace lum
