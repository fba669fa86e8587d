#include "run/frame_driver.h"

#include <cmath>
#include <cstdio>

#include "host/clock.h"
#include "host/window.h"
#include "machine/options.h"
#include "machine/shell_flags.h"
#include "machine/timing.h"
#include "sound/channels.h"
#include "video/frame.h"

namespace tov {

namespace {

// Busy-waits until a frame period has passed since the previous wait ended,
// ticking the sound on every turn. Time lost elsewhere is not made up.
// Fast-forward at a speed waits a shorter period and does not tick the sound,
// as the unthrottled mode does not.
void throttle_wait() {
    if (full_throttle || (fast_forward && fast_forward_speed == 0)) {
        return;
    }
    const double period = fast_forward ? frame_period_ms / fast_forward_speed : frame_period_ms;
    const bool second_reading = timing_variant != 0;
    while (true) {
        now_ms = clock_time_ms();
        if (!fast_forward) {
            sound_tick();
        }
        if (second_reading) {
            now_ms = clock_time_ms();
        }
        const double remaining = period - (now_ms - last_frame_ms);
        if (remaining <= 0) {
            break;
        }
        window().wait_turn(now_ms, remaining);
    }
    last_frame_ms = now_ms;
}

void present_or_skip() {
    if (frame_drawn()) {
        window().invalidate();
        present_frame(0, 0, screen_width * zoom, screen_height * zoom);
        skip_counter = 0;
    } else {
        ++skip_counter;
    }
    ++fps_count;
    ++frame_counter;
}

}  // namespace

void (*at_vertical_blank)() = nullptr;

bool frame_drawn() {
    return skip_counter >= frame_skip;
}

void finish_frame() {
    if (at_vertical_blank) {
        at_vertical_blank();
    }
    throttle_wait();
    present_or_skip();
}

void frame_tick(void (*run)()) {
    if (rom_loaded != 1) {
        return;
    }
    if (emulation_running != 1) {
        window().set_title("TOV");
        return;
    }
    run();
    const double t = clock_time_ms();
    const double window_ms = t - fps_window_start;
    if (window_ms >= 1000.0) {
        fps_window_start = t;
        // The window is checked only between slices and so runs over a
        // second: the count is scaled to frames per second of the window.
        const long fps = std::lround(fps_count * 1000.0 / window_ms);
        char title[32];
        std::snprintf(title, sizeof title, "TOV (%ld FPS)", fps);
        window().set_title(title);
        fps_count = 0;
    }
}

}  // namespace tov
