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
constexpr int32_t vk_back = 0x08;  // Backspace: held, the game runs backwards

// Codes above the keyboard's: what game controllers press. First the eight
// console buttons in the joypad's button order (up, down, left, right, A, B,
// Start, Select), then the controls beside them.
constexpr int32_t vk_controller_first = 0x100;
constexpr int32_t vk_controller_turbo_a = vk_controller_first + 8;
constexpr int32_t vk_controller_turbo_b = vk_controller_first + 9;
constexpr int32_t vk_controller_rewind = vk_controller_first + 10;

void key_down(int32_t code);
void key_up(int32_t code);
void release_all_keys();

// True when the key is down now or was pressed since its previous query.
// Codes outside 0-255 and the controller codes are never pressed.
bool query_key(int32_t code);

}  // namespace tov
