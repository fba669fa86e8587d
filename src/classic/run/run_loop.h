// TOV's own machine's run loop: a step advances the LCD line state (LY, STAT
// modes, LY=LYC, VBlank), services interrupts and executes one instruction;
// at VBlank the frame driver finishes the frame.
#pragma once

#include <cstdint>

namespace tov {

// One slice: (456 << speed_shift) << 8 steps of the chosen run-loop variant,
// fewer when end_slice cuts it short.
void run_slice();

// Ends the slice under way before its next step. The window's events, and
// so its commands, arrive in the pacing wait at a frame's end; a command that
// waits for the slice's end then runs after that frame, not up to a quarter
// of a second later.
void end_slice();

// One step of the chosen run-loop variant.
void run_step();

// One step, or, while the CPU idles (halted, or in a jump to itself) and
// nothing but the charge of its steps would happen, up to `limit` such steps
// at once with the same outcome. Returns the number of steps done.
int32_t run_steps(int32_t limit);

// Runs steps until the next frame has been counted (presented or skipped).
void run_frame();

// Whether run_steps takes quiet halted steps at once (on unless a test
// compares against the step-by-step loop).
extern bool skip_idle_steps;

// The instruction part of a step, shared with the debugger's single step:
// interrupt dispatch, then one instruction or one halted step, then the
// repeat of the instruction after a HALT executed with interrupts disabled.
void execute_step();

}  // namespace tov
