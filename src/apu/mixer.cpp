#include "apu/mixer.h"

#include <algorithm>
#include <cmath>

namespace tov {

mixer_state mixer;

namespace {

constexpr int block_frames = 512;

constexpr float capacitor_charge_kept = 1.0f - 2 * 3.14159265f * 20 / mixed_frame_rate;

// Each side's level is within -1..1 before the capacitor, and twice that after it.
constexpr float highest_level = 1;

float filter(capacitor_state& side, float in) {
    side.last_out = in - side.last_in + capacitor_charge_kept * side.last_out;
    side.last_in = in;
    return side.last_out;
}

float settled_level(float level, float highest) {
    return std::isfinite(level) ? std::clamp(level, -highest, highest) : 0;
}

sample_sink* sink;
float block[block_frames * 2];
int block_fill;

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
    block[block_fill * 2] = filter(mixer.sides[0], left);
    block[block_fill * 2 + 1] = filter(mixer.sides[1], right);
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
    drop_mixed_frames();
    mixer = {};
}

void drop_mixed_frames() {
    block_fill = 0;
}

void settle_mixer() {
    for (capacitor_state& side : mixer.sides) {
        side.last_in = settled_level(side.last_in, highest_level);
        side.last_out = settled_level(side.last_out, 2 * highest_level);
    }
}

}  // namespace tov
