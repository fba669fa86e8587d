#include "apu/mixer.h"

namespace tov {

namespace {

constexpr int block_frames = 512;

// The output capacitor as a one-pole high-pass of about 20 Hz.
constexpr float capacitor_charge_kept = 1.0f - 2 * 3.14159265f * 20 / mixed_frame_rate;

struct high_pass {
    float last_in = 0;
    float last_out = 0;

    float filter(float in) {
        last_out = in - last_in + capacitor_charge_kept * last_out;
        last_in = in;
        return last_out;
    }
};

sample_sink* sink;
float block[block_frames * 2];
int block_fill;
high_pass sides[2];

// A DAC maps level 0-15 to +1..-1 of its full swing.
float dac_output(int32_t level_sum) {
    return 1.0f - static_cast<float>(level_sum) / (7.5f * cycles_per_mixed_frame);
}

}  // namespace

void mix_frame(const channel_levels& levels, uint8_t nr50, uint8_t nr51) {
    float left = 0;
    float right = 0;
    for (int channel = 0; channel < 4; ++channel) {
        if (!levels.dacs[channel]) {
            continue;
        }
        const float voltage = dac_output(levels.sums[channel]);
        left += (nr51 >> (channel + 4)) & 1 ? voltage : 0;
        right += (nr51 >> channel) & 1 ? voltage : 0;
    }
    // Each side's volume is 1-8 eighths; four channels at full swing fill
    // half of the output's range.
    left *= static_cast<float>(((nr50 >> 4) & 7) + 1) / 64;
    right *= static_cast<float>((nr50 & 7) + 1) / 64;
    block[block_fill * 2] = sides[0].filter(left);
    block[block_fill * 2 + 1] = sides[1].filter(right);
    if (++block_fill == block_frames) {
        flush_frames();
    }
}

void set_sample_sink(sample_sink* next) {
    flush_frames();
    sink = next;
}

bool has_sample_sink() {
    return sink != nullptr;
}

void flush_frames() {
    if (sink && block_fill > 0) {
        sink->take(block, block_fill);
    }
    block_fill = 0;
}

void reset_mixer() {
    block_fill = 0;
    sides[0] = {};
    sides[1] = {};
}

}  // namespace tov
