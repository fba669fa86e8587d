// The "Memory" page's way of running the CPU: the one instruction executed
// when the page opens, and the single step of its button.
#pragma once

#include <string>

namespace tov {

// The page's steps as the machine in use takes them: on TOV's own machine
// the page's own simplified steps, on the accurate machine one
// instruction with all its timing.
void execute_first_instruction();
void step_instruction();

// The opcode at PC in hex ("%X"), read without cheats: the button's caption.
std::string next_opcode_text();

}  // namespace tov
