// The console's sound terminals: each channel's DAC turns its 4-bit level
// into a voltage, NR51 routes the channels to the left and right side, NR50
// scales each side, and a capacitor in the output takes the DC away. Mixed
// frames go to the sample sink in blocks.
#pragma once

#include <cstdint>

namespace tov {

// Where the mixed sound goes: stereo frames (left, right interleaved) of
// floats in -1..1, at mixed_frame_rate frames per second of console time.
class sample_sink {
public:
    virtual ~sample_sink() = default;
    virtual void take(const float* frames, int count) = 0;

    // The sound starts or stops being heard (sound on, running at normal
    // speed); a sink that plays in real time fades in or out.
    virtual void set_heard(bool) {}
};

// One frame per 32 console cycles.
constexpr int32_t cycles_per_mixed_frame = 32;
constexpr int32_t mixed_frame_rate = 4194304 / cycles_per_mixed_frame;

// One frame from the channels' levels summed over cycles_per_mixed_frame
// cycles; a channel whose DAC is off adds nothing.
struct channel_levels {
    int32_t sums[4];
    bool dacs[4];
};
void mix_frame(const channel_levels& levels, uint8_t nr50, uint8_t nr51);

// Mixed frames go to `sink` from now on; null drops them.
void set_sample_sink(sample_sink* sink);
bool has_sample_sink();

// Hands the frames mixed so far to the sink.
void flush_frames();

// Forgets the frames not yet handed over and the capacitor's charge.
void reset_mixer();

// The output capacitor of each side, as a one-pole high-pass filter of about
// 20 Hz remembers it: its last input and output.
struct capacitor_state {
    float last_in = 0;
    float last_out = 0;
};
struct mixer_state {
    capacitor_state sides[2];
};
extern mixer_state mixer;

// Forgets the frames not yet handed over; the capacitors keep their charge.
void drop_mixed_frames();

// A record from a file brought into range: a charge that is no number, or
// more than the output can hold, is taken as none.
void settle_mixer();

}  // namespace tov
