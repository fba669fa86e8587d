#include "shell/commands.h"

#include <string>

#include "core/machine.h"
#include "host/command_ids.h"
#include "host/window.h"
#include "memory/cartridge.h"
#include "persist/battery.h"
#include "sound/output_device.h"

namespace tov {

namespace {

// Checks item `chosen` of a group of `count` consecutive command ids.
void check_one_of(int first_id, int count, int chosen) {
    for (int item = 0; item < count; ++item) {
        window().check_menu_item(first_id + item, item == chosen);
    }
}

}  // namespace

void set_frame_skip(int frames) {
    if (frames < 0 || frames > 3) {
        return;
    }
    frame_skip = static_cast<uint8_t>(frames);
    check_one_of(id_frameskip_0, 4, frames);
}

void toggle_full_throttle() {
    full_throttle = full_throttle == 1 ? 0 : 1;
    window().check_menu_item(id_full_throttle, full_throttle == 1);
}

void toggle_timer_option() {
    if (timer_option == 1) {
        timer_option = 0;
        timer_running = 0;
    } else {
        timer_option = 1;
    }
    window().check_menu_item(id_timer_enable, timer_option == 1);
}

void set_timing(int item) {
    if (item != 1 && item != 2) {
        return;
    }
    timing_variant = item - 1;
    check_one_of(id_timing_1, 2, item - 1);
}

void set_zoom(int factor) {
    if (factor < 1 || factor > 4) {
        return;
    }
    check_one_of(id_zoom_1, 4, factor - 1);
    zoom = static_cast<uint8_t>(factor);
    window().set_picture_size(160 * factor, 144 * factor);
}

void close_rom() {
    stop_playback();
    if (rom_loaded == 1) {
        save_battery();
    }
    rom_loaded = 0;
    emulation_running = 0;
}

void reset_machine() {
    silence_squares();
    if (rom_loaded != 1) {
        return;
    }
    std::string reason;
    if (!load_cartridge(&reason)) {
        window().show_message("TOV", "The cartridge could not be reset: " + reason);
    }
}

}  // namespace tov
