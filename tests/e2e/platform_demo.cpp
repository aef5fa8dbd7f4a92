// A small program on the desktop platform for the end-to-end tests. It shows a
// fixed picture (red upper half, blue lower half, a green square in the
// bottom-left corner, a white one in the top-left corner) and writes every key
// and mouse event it receives to standard output, one line each, so a script
// driving it through the window system can check the codes. The key 'w' also
// places the mouse pointer at (100, 100) in screen-image coordinates, and 'b'
// shows or hides a yellow bar over rows 100 to 109 (counted upwards). It ends
// when the window is closed.
#include "framework/App.h"
#include "framework/IAppState.h"
#include "framework/graphics/Screen.h"

#include <cstdio>

namespace {

constexpr unsigned int WIDTH = 320;
constexpr unsigned int HEIGHT = 240;

class EchoState : public lum::IAppState, public lum::IKeyEvent, public lum::IMouseEvent {
public:
    bool onCreate() override { return true; }
    bool onDestroy() override { return true; }
    void onActivate() override {
        lum::application.addKeyListener(*this);
        lum::application.addMouseListener(*this);
        std::printf("active\n");
    }
    void onDeactivate() override {
        lum::application.removeKeyListener(*this);
        lum::application.removeMouseListener(*this);
    }
    void onUpdate() override {}

    void onRender(lum::Screen& screen) override {
        const lum::Colour red(200, 0, 0, 255), blue(0, 0, 200, 255), green(0, 200, 0, 255), white(255, 255, 255, 255);
        for (unsigned int y = 0; y < HEIGHT; ++y) {
            for (unsigned int x = 0; x < WIDTH; ++x) {
                const bool bottomLeft = x < 10 && y < 10, topLeft = x < 10 && y >= HEIGHT - 10;
                screen.plot(x, y, bottomLeft ? green : topLeft ? white : y >= HEIGHT / 2 ? red : blue);
            }
        }
        // The bar's rows are drawn twice a frame, blue and then yellow.
        for (unsigned int y = 100; barShown && y < 110; ++y)
            for (unsigned int x = 0; x < WIDTH; ++x) screen.plot(x, y, lum::Colour(220, 220, 0, 255));
    }

    bool onKey(const lum::KeyEvent& event) override {
        std::printf("key %u %s\n", event.key, event.state == lum::PRESSED ? "pressed" : "released");
        if (event.key == 'w' && event.state == lum::PRESSED) lum::application.setMousePosition(100, 100);
        if (event.key == 'b' && event.state == lum::PRESSED) barShown = !barShown;
        return true;
    }
    bool onMouseMove(const lum::MouseEvent& event) override {
        std::printf("move %d %d\n", event.x, event.y);
        return true;
    }
    bool onMouseButton(const lum::MouseEvent& event) override {
        std::printf("button %u %s %d %d\n", event.button, event.state == lum::PRESSED ? "pressed" : "released", event.x,
                    event.y);
        return true;
    }

private:
    bool barShown = false;
};

} // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ); // each line reaches the script as it is written
    EchoState echo;
    lum::application.addState("echo", echo);
    lum::application.run(WIDTH, HEIGHT, "Platform Demo", "tester");
    std::printf("ended\n");
    return 0;
}
