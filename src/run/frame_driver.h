// The frame driver both machines run under: each timer message of the window
// runs a slice of the machine in use. At each frame's end the driver waits
// for the wall clock, presents the frame or skips it, and counts it for the
// frames-per-second title.
#pragma once

#include <cstdint>

namespace tov {

// The handler of the window's timer message: `run`, a slice of the machine
// in use, then the frames-per-second title.
void frame_tick(void (*run)());

// The end of a frame at the start of its vertical blank: `at_vertical_blank`
// when set (the cheat codes' writes and the rewind's states), the pacing
// wait, then the frame presented or skipped and counted.
void finish_frame();
extern void (*at_vertical_blank)();

// Whether the frame under way is drawn: frame skip leaves the others undrawn.
bool frame_drawn();

// The frame period of the pacing wait (16.666666 ms as single precision).
constexpr double frame_period_ms = static_cast<double>(16.666666f);

}  // namespace tov
