// Where the machine is in time: the cycle counters of the line, DIV and TIMA
// with the CPU's speed, and the frame driver's and renderer's line and frame
// counters. All cycle counts are CPU cycles.
#pragma once

#include <cstdint>

namespace tov {

// Cycle and timer state.
extern int32_t line_cycles;
extern int32_t div_cycles;
extern int32_t tima_cycles;
extern int32_t tima_period;
extern uint8_t timer_running;
// 1 doubles every cycle threshold: a monochrome cartridge, or double speed.
extern uint8_t speed_shift;

// Frames drawn or skipped, the frames-per-second window and the pacing clock.
extern uint8_t skip_counter;
extern int32_t fps_count;
extern double fps_window_start;
extern double last_frame_ms;
extern double now_ms;

// Emulated frames since the program started (presented or skipped).
extern uint64_t frame_counter;

// The line the renderer draws next, and the objects it found on the last one.
extern int32_t render_ly;
extern int32_t line_sprite_count;

// The window's own line counter for the frame being drawn. It moves on only
// on lines that show the window; a line above the last one drawn starts a
// new frame.
struct window_line_counter {
    int last_line = -1;
    int hidden_before = 0;     // hidden lines at or below WY before last_line
    bool last_hidden = false;  // whether the window was hidden on last_line
};
extern window_line_counter window_lines;

}  // namespace tov
