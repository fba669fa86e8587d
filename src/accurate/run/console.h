// The accurate machine as a whole: powering it on as the console's start-up
// program leaves it, and running it frame by frame for the front ends.
#pragma once

#include <cstdint>

#include "core/machine_interface.h"

namespace tov {

// Sets the machine up for the cartridge just loaded (its memories and
// header are in place): the registers, the I/O registers and the divider's
// phase as after the start-up program of the model, and every unit at its
// power-on state. No start-up program runs. The cartridge's RAM is kept
// when `keep_cartridge_ram` (a reset), else cleared for its battery file.
void power_on_accurate_machine(model_choice model, bool keep_cartridge_ram);

// BGP, OBP0 and OBP1 choose among the palette's shades, or on the colour model
// with a monochrome cartridge among the colours its start-up program gives
// a game it does not know (the game table of that program is not kept).
void use_model_shades();

// Runs until the next frame has been counted (presented or skipped),
// pacing and presenting it as the frame driver does.
void run_accurate_frame();

// One step of the CPU (an instruction, or the time a halted CPU waits for its
// next event), and the frame paced and presented when the step ended one.
void step_accurate_machine();

// The debugger's single step: one instruction, or the time a halted CPU
// waits for its next event.
void step_accurate_instruction();

}  // namespace tov
