#include "stream/sound_recording.h"

#include <algorithm>

namespace tov {

sound_recording::sound_recording(int output_rate) : resampler_(mixed_frame_rate, output_rate) {}

void sound_recording::take(const float* frames, int count) {
    resampled_.clear();
    resampler_.process(frames, count, resampled_);
    keep(resampled_);
}

const std::vector<int16_t>& sound_recording::finish() {
    resampled_.clear();
    resampler_.process(nullptr, 0, resampled_);
    keep(resampled_);
    return frames_;
}

void sound_recording::keep(const std::vector<float>& resampled) {
    for (const float value : resampled) {
        frames_.push_back(static_cast<int16_t>(std::clamp(value * 32767, -32768.0f, 32767.0f)));
    }
}

}  // namespace tov
