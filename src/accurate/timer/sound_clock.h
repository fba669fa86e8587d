// The accurate sound on the accurate machine: its channels run on dots, and
// its frame sequencer steps on each falling edge of the system counter's bit
// 12 (bit 13 in double speed, so that it keeps 512 steps a second).
#pragma once

#include <cstdint>

namespace tov {

struct sound_clock_state {
    uint64_t counted_to = 0;  // the channels have run up to this moment
};
extern sound_clock_state sound_clock;

void reset_sound_clock();

// Runs the channels up to now; a sound register is read or written next.
void catch_up_sound();

void sequencer_event(uint64_t when);

// The system counter is about to restart from `before` (a DIV write).
void sound_counter_restarting(uint64_t before);
void schedule_sequencer();

void settle_sound_clock();

}  // namespace tov
