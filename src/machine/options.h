// The run-time options the user sets in the menu, as the emulation reads
// them. Each is 0 or 1 unless it says otherwise.
#pragma once

#include <cstdint>

namespace tov {

extern int32_t timer_option;    // "Timer enable": TAC may start and stop TIMA
extern int32_t full_throttle;   // "Full Trothle": no pacing wait
extern uint8_t frame_skip;      // frames left undrawn between drawn ones, 0-3
extern int32_t timing_variant;  // run-loop variant: 0 = "Timing 1", 1 = "Timing 2"

// Fast-forward, held or toggled, and its speed: frames emulated per frame of
// wall-clock time, 2-4, or 0 for as fast as possible. Like the unthrottled
// mode, it does not tick the sound.
extern int32_t fast_forward;
extern int32_t fast_forward_speed;

// "&Sound enable" and the per-channel options "CHANEL 0"-"CHANEL 3".
extern uint8_t sound_enabled;
extern uint8_t channel_enabled[4];

// "Accurate sound": the sound registers drive the cycle-timed model of the
// four channels instead of the voices.
extern int32_t accurate_sound;

}  // namespace tov
