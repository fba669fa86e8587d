// Window services: what the frame driver asks of the window it runs in: the
// title, the picture and a turn of the pacing wait. The desktop program
// implements them with its main window; tests and the headless runner use the
// silent implementation, which remembers the title.
#pragma once

#include <cstdint>
#include <string>

namespace tov {

class window_services {
public:
    virtual ~window_services() = default;

    // The window title.
    virtual void set_title(const std::string& text) = 0;

    // Marks the whole window for repainting.
    virtual void invalidate() = 0;

    // Shows the 160 x 144 frame (3 bytes per pixel, blue, green, red, rows
    // top to bottom) scaled into the rectangle x, y, width, height.
    virtual void present(const uint8_t* frame, int x, int y, int width, int height) = 0;

    // One turn of the frame pacing wait at clock time `now_ms`, with the time
    // left until the next frame is due. The window may deliver pending input
    // here, and may sleep for a moment when much time is left.
    virtual void wait_turn(double now_ms, double remaining_ms) = 0;
};

// A window that shows nothing: it remembers what it was told, for tests and
// the headless runner.
class silent_window : public window_services {
public:
    void set_title(const std::string& text) override { title = text; }
    void invalidate() override {}
    void present(const uint8_t*, int, int, int, int) override { ++presented; }
    void wait_turn(double, double) override {}

    std::string title;
    long presented = 0;
};

// The window the emulation talks to; a silent one until the program sets its own.
window_services& window();
void set_window(window_services* services);

}  // namespace tov
