#include "machine/options.h"

namespace tov {

int32_t timer_option = 1;
int32_t full_throttle;
uint8_t frame_skip;
int32_t timing_variant;

int32_t fast_forward;
int32_t fast_forward_speed;

uint8_t sound_enabled;
uint8_t channel_enabled[4] = {1, 1, 0, 0};

int32_t accurate_sound;

}  // namespace tov
