// Game controllers through SDL's game-controller API: every controller that
// is plugged in, or plugged in later, plays the console's buttons as the
// keyboard does. The D-pad and the left stick are the directions; the other
// buttons follow a mapping, by default by position: east A, south B, Start,
// Back Select, and none for Turbo A, Turbo B and Rewind.
#pragma once

#include <array>
#include <string>

#include "session/session.h"

namespace tov {

// The controller button (SDL's number, or -1 for none) of each console
// button, in joypad_button order, then of Turbo A, Turbo B and Rewind: entry
// i presses vk_controller_first + i. The directions also follow the left
// stick.
constexpr int mapping_index(extra_control control) {
    return static_cast<int>(button_count) + control;
}
constexpr int controller_control_count = mapping_index(extra_control_count);
using controller_mapping = std::array<int, controller_control_count>;

controller_mapping default_controller_mapping();
controller_mapping controller_mapping_in_use();
void use_controller_mapping(const controller_mapping& mapping);

// Starts SDL's game-controller subsystem and opens the controllers there are.
// False, after saying why on standard error, when it cannot start; the
// keyboard then plays alone.
bool open_game_controllers();

// Takes SDL's pending controller events: controllers plugged in or out,
// buttons and the left stick. Called often (every turn of the frame pacing).
void poll_game_controllers();

// Has every controller rumble while `on` (a rumble cartridge's motor), and a
// controller plugged in meanwhile too. Called as often as the polling; SDL is
// only told when `on` changes or the rumble is due for renewal.
void follow_rumble(bool on);

// Stops the rumble and closes the controllers.
void close_game_controllers();

// The last controller button pressed since the previous call, or -1: how the
// key-mapping dialog learns a button to assign.
int take_pressed_controller_button();

// SDL's name of a controller button ("a", "dpup", ...), and back; -1 for a
// name it does not know.
std::string controller_button_name(int button);
int controller_button_from_name(const std::string& name);

// The number of SDL controller buttons (named 0 to this minus 1).
int controller_button_count();

}  // namespace tov
