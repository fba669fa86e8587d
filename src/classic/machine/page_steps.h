// The steps of the debugger's "Memory" page on TOV's own machine: the one
// instruction executed when the page opens, and the single step of its
// button.
#pragma once

namespace tov {

// The opcode at PC, read without cheats, executed, and PC moved on; no
// interrupt dispatch, no halt handling and no LCD step.
void page_first_step();

// The button's step: a simplified LCD step of its own, then the run loop's
// instruction part (interrupts, one instruction or one halted step, the
// repeat after a HALT). line_cycles is read but never reset.
void page_step();

}  // namespace tov
