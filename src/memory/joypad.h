// The joypad register FF00, composed from the host keyboard at every read,
// the key mapping of the eight console buttons, and the controls beside them:
// Turbo A and Turbo B, which press A or B in bursts, and Rewind.
#pragma once

#include <array>
#include <cstdint>

#include "host/keyboard.h"

namespace tov {

enum joypad_button : int {
    button_up,
    button_down,
    button_left,
    button_right,
    button_a,
    button_b,
    button_start,
    button_select,
    button_count
};

using key_mapping = std::array<int32_t, button_count>;

// The default mapping: the arrow keys, A, S, D and F.
constexpr key_mapping default_key_map = {vk_up, vk_down, vk_left, vk_right, 'A', 'S', 'D', 'F'};

// Virtual-key code of each button, in joypad_button order.
extern key_mapping key_map;

// The controls beside the console's buttons. A game controller's button for
// one presses vk_controller_turbo_a + its index.
enum extra_control : int { control_turbo_a, control_turbo_b, control_rewind, extra_control_count };

// Virtual-key code of each extra control, in extra_control order; -1 for none.
using extra_key_mapping = std::array<int32_t, extra_control_count>;
constexpr extra_key_mapping default_extra_keys = {-1, -1, vk_back};
extern extra_key_mapping extra_key_map;

// Turbo presses per second of emulated time (60 frames).
constexpr int lowest_turbo_rate = 1;
constexpr int highest_turbo_rate = 30;
constexpr int default_turbo_rate = 15;
extern int turbo_rate;

// Whether the control's key or its controller button counts as pressed now
// (down, or pressed since the previous query).
bool control_held(extra_control control);

// Rewrites FF00 from the rows selected by bits 5-4 and the keys held now: a
// button counts as pressed when its mapped key or a game controller's button
// for it (vk_controller_first + its index) does, and A and B also while
// Turbo A or Turbo B is held and its burst is down. A cleared bit is a
// pressed button.
void read_joypad();

}  // namespace tov
