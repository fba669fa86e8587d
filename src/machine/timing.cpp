#include "machine/timing.h"

namespace tov {

int32_t line_cycles;
int32_t div_cycles;
int32_t tima_cycles;
int32_t tima_period;
uint8_t timer_running;
uint8_t speed_shift;

uint8_t skip_counter;
int32_t fps_count;
double fps_window_start;
double last_frame_ms;
double now_ms;

uint64_t frame_counter;

int32_t render_ly;
int32_t line_sprite_count;

window_line_counter window_lines;

}  // namespace tov
