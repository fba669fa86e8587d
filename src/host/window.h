// Window services: what the emulation asks of the window it runs in. The
// desktop program implements them with its main window; tests and the
// headless runner use the silent implementation, which remembers the title.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

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

    // One turn of the frame pacing wait, with the time left until the next
    // frame is due. The window may deliver pending input here, and may sleep
    // for a moment when much time is left.
    virtual void wait_turn(double remaining_ms) = 0;

    // Sets or clears the check mark of the menu item with command `id`.
    virtual void check_menu_item(int id, bool checked) = 0;

    // Sizes the window so that the picture area is exactly width x height,
    // keeping the window's top-left corner.
    virtual void set_picture_size(int width, int height) = 0;

    // Tells the user something in a message box with an OK button.
    virtual void show_message(const std::string& caption, const std::string& text) = 0;
};

// A window that shows nothing: it remembers what it was told, for tests and
// the headless runner.
class silent_window : public window_services {
public:
    void set_title(const std::string& text) override { title = text; }
    void invalidate() override {}
    void present(const uint8_t*, int, int, int, int) override { ++presented; }
    void wait_turn(double) override {}
    void check_menu_item(int id, bool checked) override { checks[id] = checked; }
    void set_picture_size(int width, int height) override {
        picture_width = width;
        picture_height = height;
    }
    void show_message(const std::string& caption, const std::string& text) override {
        messages.push_back(caption + ": " + text);
    }

    std::string title;
    long presented = 0;
    std::map<int, bool> checks;
    int picture_width = 0;
    int picture_height = 0;
    std::vector<std::string> messages;
};

// The window the emulation talks to; a silent one until the program sets its own.
window_services& window();
void set_window(window_services* services);

}  // namespace tov
