// The accurate machine's CPU: each instruction as the console runs it, every
// memory access in an M-cycle of its own, so the units see time pass between
// them. It shares the registers and flags of the machine record; what is its
// own is below.
#pragma once

#include <cstdint>

namespace tov {

struct sm83_state {
    uint8_t ime_next = 0;   // EI: IME turns on after the next instruction
    uint8_t halt_bug = 0;   // HALT ended at once with IME clear: the next fetch keeps PC
    uint8_t stopped = 0;    // STOP without a speed switch: asleep until a button goes down
    uint8_t locked = 0;     // an unused opcode hung the CPU
    uint8_t switching = 0;  // the CPU sleeps after a speed switch, up to machine_clock.cpu_free_at
};
extern sm83_state sm83;

void reset_sm83();

// One step: an interrupt dispatch, one instruction, or time spent halted,
// stopped or held by a DMA up to the next thing that can change that.
void cpu_step();

void settle_sm83();

}  // namespace tov
