// Key state by virtual-key code. The window records key presses and releases
// here (tests and the headless runner do the same by hand); the emulation asks
// whether a key counts as pressed: down now, or pressed since the previous
// query of that key, so a short tap between two reads is not lost.
#pragma once

#include <cstdint>

namespace tov {

// Virtual-key codes of the keys the joypad names. Letters and digits are
// their upper-case character codes.
constexpr int32_t vk_left = 0x25;
constexpr int32_t vk_up = 0x26;
constexpr int32_t vk_right = 0x27;
constexpr int32_t vk_down = 0x28;
constexpr int32_t vk_numpad0 = 0x60;

// Codes above the keyboard's: the eight console buttons as game controllers
// press them, in the joypad's button order (up, down, left, right, A, B,
// Start, Select).
constexpr int32_t vk_controller_first = 0x100;

void key_down(int32_t code);
void key_up(int32_t code);
void release_all_keys();

// True when the key is down now or was pressed since its previous query.
// Codes outside 0-255 and the controller codes are never pressed.
bool query_key(int32_t code);

}  // namespace tov
