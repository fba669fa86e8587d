// The four sound channels. Sound is not produced sample by sample with the
// CPU: each channel's state is rendered into the half of its voice that is
// not playing, when the channel is triggered and every 2 ms of wall-clock
// time from the sound tick, which also steps the sweep, the envelopes, the
// length counters and the falling frequency of channel 4.
#pragma once

#include <cstdint>

namespace tov {

class sound_buffer;

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

// ms time of the last refill pass of the sound tick.
extern double last_refill_ms;

// A write to a sound register the channels react to (FF10-FF14, FF16-FF1B,
// FF1D, FF1E, FF20-FF23, FF25); offset is the register's place in io_page.
void write_sound_register(int32_t offset, uint8_t value);

// Starts the refill clock of the sound tick afresh at `now` (a power-on).
void restart_sound_tick(double now);

// The wall-clock sound tick, called on every turn of the frame pacing wait
// with the time in now_ms.
void sound_tick();

// Renders a square wave of `frequency` Hz, duty code 0-3 and volume 0-15
// into the half of `voice` that is not playing (nothing without a voice).
void fill_square(sound_buffer* voice, int32_t frequency, int32_t duty, float volume);

// Channel 3's voice: wave RAM into the half not being written, or silence.
void load_wave();
void silence_wave();

// NR52 bits 0-3: one per active channel.
uint8_t channel_status_bits();

}  // namespace tov
