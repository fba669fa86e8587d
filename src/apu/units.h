// The parts of a channel that the frame sequencer clocks: the length counter,
// the volume envelope and channel 1's frequency sweep. Their fields are plain
// numbers (flags 0 or 1), so that a save state can hold them as they are.
#pragma once

#include <cstdint>

namespace tov {

// Counts a note down; when it runs out the channel goes off.
struct length_counter {
    int32_t left = 0;
    uint8_t enabled = 0;

    // One length step; true when it ends the note.
    bool clock();
};

// Moves the volume one step up or down every `period` envelope steps; a
// period of 0 holds it, and it stops for good at 0 or 15.
struct volume_envelope {
    int32_t volume = 0;
    int32_t period = 0;
    uint8_t up = 0;
    uint8_t stopped = 0;
    int32_t timer = 0;

    // A trigger takes the initial volume, direction and period from NRx2.
    void start(uint8_t nrx2);
    void clock();

    // NRx2 written while the channel plays: the volume counter takes the
    // write as the console's does (one up, or two, or mirrored when the
    // direction turns), and the new period and direction hold from now.
    void rewrite(uint8_t nrx2);
};

// Channel 1's sweep: every sweep period it adds (or subtracts) the shadow
// frequency shifted right to the frequency; a result above 7FF turns the
// channel off.
struct frequency_sweep {
    int32_t shadow = 0;
    int32_t timer = 0;
    uint8_t enabled = 0;
    uint8_t subtracted = 0;  // a subtraction was made since the trigger

    // The next frequency from the shadow and NR10; above 7FF overflows.
    int32_t next(uint8_t nr10);
};

// A sweep or envelope period of 0 counts as 8 in its timer.
int32_t timer_period(int32_t period);

}  // namespace tov
