// The accurate machine's M-cycle: the CPU moves the clock on four cycles and
// the units whose moment has come act, in time order, before the M-cycle's
// memory access.
#pragma once

#include <cstdint>

#include "accurate/clock/clock.h"

namespace tov {

// Serves every moment up to now.
void run_due_events();

inline void tick() {
    machine_clock.now += 4;
    if (machine_clock.now >= machine_clock.next) {
        run_due_events();
    }
}

// Moves the clock to the next moment a unit has, if it comes by `limit`, and
// serves it; otherwise to `limit`. Waits on the M-cycle grid.
void advance_to_next_event(uint64_t limit);

// A block of a DMA to video RAM holds the CPU `cycles` longer.
void hold_cpu(uint64_t cycles);

}  // namespace tov
