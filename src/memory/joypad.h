// The joypad register FF00, composed from the host keyboard at every read,
// and the key mapping of the eight console buttons.
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

// Rewrites FF00 from the rows selected by bits 5-4 and the keys held now: a
// button counts as pressed when its mapped key or a game controller's button
// for it (vk_controller_first + its index) does. A cleared bit is a pressed
// button.
void read_joypad();

}  // namespace tov
