// The host's millisecond counter, which the frame pacing, the frames-per-second
// figure and the sound timing read. Tests and the headless runner replace it
// with a fake clock whose time they set.
#pragma once

#include <cstdint>

namespace tov {

// The millisecond counter as an unsigned 32-bit count (it wraps after 49 days).
uint32_t clock_ms();

// The counter widened to a double, the form the emulation keeps times in.
double clock_time_ms();

// Switches to a fake clock reading `start_ms`. Each reading returns the current
// fake time and then advances it by `step_ms`, so a loop that waits for time
// to pass also ends under the fake clock.
void use_fake_clock(uint32_t start_ms, uint32_t step_ms = 0);

// Sets the fake clock's time; no effect on the real clock.
void set_fake_clock(uint32_t ms);

// Goes back to the real clock.
void use_real_clock();

}  // namespace tov
