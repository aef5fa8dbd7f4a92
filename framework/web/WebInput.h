// The page's input as the main loop's messages. The browser delivers DOM
// keyboard and mouse events only while the program sleeps between steps; each
// becomes one queued message, and the step takes them out one at a time, as a
// desktop platform takes its window messages. Keys are read on the whole
// window, so they reach the game wherever the page's focus is; the keys the
// game plays with keep their browser action (moving the focus, scrolling,
// help) from happening. The mouse is read on the canvas, in its pixels.
#pragma once

#include "framework/IKeyEvent.h"
#include "framework/IMouseEvent.h"

#include <cstddef>
#include <deque>
#include <string>

namespace lum {

struct WebMessage {
    enum Kind { Key, MouseMove, MouseButtonChange, Quit };
    Kind kind = Quit;
    unsigned int key = 0;       // Key: the framework's code
    ButtonState state = PRESSED; // Key, MouseButtonChange
    MouseButton button = LEFT;   // MouseButtonChange
    int column = 0;              // mouse: canvas pixel, from the left
    int row = 0;                 // mouse: canvas pixel, from the top
};

class WebInput {
public:
    // A page that stops reading (a stalled tab) cannot make the queue grow
    // without end: past this many messages, new mouse moves are dropped.
    static constexpr std::size_t MAX_QUEUED = 1024;

    // Starts listening on the window (keys) and on the canvas (mouse), which
    // is width × height pixels.
    void listen(const std::string& canvas, int width, int height);
    void stopListening();

    bool empty() const { return queue.empty(); }
    bool pop(WebMessage& message);
    void push(const WebMessage& message);
    void pushQuit();

    // Canvas pixel of a position in CSS pixels from the canvas's top-left
    // corner, for a canvas shown at cssWidth × cssHeight.
    static int toPixel(long css, double cssExtent, int pixels);

    const std::string& getCanvas() const { return canvas; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }

private:
    std::deque<WebMessage> queue;
    std::string canvas;
    int width = 0;
    int height = 0;
    bool listening = false;
};

} // namespace lum
