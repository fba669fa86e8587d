// The host's millisecond clock, which the frame pacing, the frames-per-second
// figure and the sound timing read. Tests and the headless runner replace it
// with a fake clock whose time they set.
#pragma once

#include <cstdint>

namespace tov {

// Milliseconds on a counter that wraps after 2^32 ms (49.7 days), as a double.
// The real clock keeps the fraction of the millisecond: with whole
// milliseconds the frame pacing wait could only end at 17 ms, and frames came
// 2 % slower than the 16.666666 ms period.
double clock_time_ms();

// Switches to a fake clock reading whole milliseconds from `start_ms`. Each
// reading returns the current fake time and then advances it by `step_ms`,
// so a loop that waits for time to pass also ends under the fake clock.
void use_fake_clock(uint32_t start_ms, uint32_t step_ms = 0);

// Sets the fake clock's time; no effect on the real clock.
void set_fake_clock(uint32_t ms);

// Goes back to the real clock.
void use_real_clock();

}  // namespace tov
