// The "Memory" page's way of running the CPU: the one instruction executed
// when the page opens, and the single step of its button.
#pragma once

#include <string>

namespace tov {

// The opcode at PC, read without cheats, executed, and PC moved on; no
// interrupt dispatch, no halt handling and no LCD step.
void execute_first_instruction();

// The button's step: a simplified LCD step of its own, then the run loop's
// instruction part (interrupts, one instruction or one halted step, the
// repeat after a HALT). line_cycles is read but never reset.
void step_instruction();

// The opcode at PC in hex ("%X"), read without cheats: the button's caption.
std::string next_opcode_text();

}  // namespace tov
