// The state of the four sound channels, which the sound register writes and
// the wall-clock sound tick keep, and which the NR52 status bits report.
#pragma once

#include <cstdint>

namespace tov {

struct channel_state {
    int32_t frequency_hz;    // tone frequency; 0 = silent
    float sweep_time_left;   // channel 1: remaining sweep time, ms
    double sweep_last;       // channel 1: ms time of the last sweep check
    int32_t sweep_down;      // channel 1: non-zero shifts the frequency right
    int32_t sweep_shift;     // channel 1: sweep shift count
    int32_t active;          // status flag reported in NR52
    int32_t length_enabled;  // 1 = the length counter stops the channel
    int32_t length_left;     // remaining length, in refill passes
    int32_t volume;          // 0-15
    int32_t envelope_up;     // 1 = the envelope raises the volume
    int32_t envelope_step;   // envelope step length; 0 = no envelope
    int32_t noise_width;     // channel 4: Hz the frequency falls per step
    int32_t noise_ratio;     // channel 4: NR43 bits 2-0 as stored
    int32_t noise_shift;     // channel 4: NR43 bits 7-4
    double noise_last;       // channel 4: ms time of the last fall step
    double envelope_last;    // ms time of the last envelope step
    int32_t duty;            // duty code 0-3
};

// Channels 1-4 at indices 0-3.
extern channel_state sound_channels[4];

// The "&Sound enable" option and the per-channel options ("CHANEL 0"-"CHANEL 3").
extern uint8_t sound_enabled;
extern uint8_t channel_enabled[4];

// ms time of the last refill pass of the sound tick.
extern double last_refill_ms;

// A write to a sound register the channels react to (FF10-FF14, FF16-FF1B,
// FF1D, FF1E, FF20-FF23, FF25); offset is the register's place in io_page.
void write_sound_register(int32_t offset, uint8_t value);

// The wall-clock sound tick, called on every turn of the frame pacing wait.
void sound_tick();

// NR52 bits 0-3: one per active channel.
uint8_t channel_status_bits();

}  // namespace tov
