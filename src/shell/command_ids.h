// The menu commands by id, as the main window's menu sends them and its
// check marks are named.
#pragma once

#include <iterator>

namespace tov {

enum command_id : int {
    id_open_rom = 57601,
    id_close_rom = 40011,
    id_load_state = 40017,
    id_save_state = 40016,
    id_exit = 40003,
    id_resume = 40004,
    id_stop = 40005,
    id_reset = 40006,
    id_debug = 40008,
    id_cheating = 40009,
    id_joypad = 40010,
    id_frameskip_0 = 40024,  // 0-3: 40024-40027
    id_full_throttle = 40030,
    id_sound_enable = 40023,
    id_channel_0 = 40035,  // channels 1-4: 40035-40038
    id_timer_enable = 40031,
    id_timing_1 = 40032,
    id_timing_2 = 40033,
    id_zoom_1 = 40012,  // X 1 - X 4: 40012-40015
    id_about = 40007,

    // Items beside the resource's own.
    id_pause = 41000,
    id_fast_forward = 41001,
    id_speed_max = 41010,  // as fast as possible; 2x-4x: 41012-41014
    id_pause_when_inactive = 41020,
    id_screenshot = 41021,
    id_full_screen = 41022,
    id_quick_load_1 = 41031,  // slots 1-9: 41031-41039
    id_quick_save_1 = 41041,  // slots 1-9: 41041-41049
    id_accurate_sound = 41050,
    id_accurate_machine = 41060,
    id_model_auto = 41061,  // Auto, Game Boy, Game Boy Color: 41061-41063
    id_import_battery = 41070,
    id_export_battery = 41071,
    id_palette_first = 41080,  // Zoom > Palette's items: 41080-41089
    id_cheat_codes = 41090,
    id_frame_blending = 41100,
    id_colour_correction = 41101,
    id_rewind_off = 41110,  // Emulation > Rewind's lengths: 41110-41113
    id_developer_tools = 41120,
};

constexpr int quick_state_slots = 9;

// The seconds of play each Rewind item keeps; 0 is off.
constexpr int rewind_lengths[] = {0, 10, 30, 60};
constexpr int rewind_items = static_cast<int>(std::size(rewind_lengths));

}  // namespace tov
