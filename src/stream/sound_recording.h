// The cycle-timed sound kept in memory at a sound card's rate, as 16-bit
// stereo frames, for WAV files: every frame the model mixes, at the nominal
// speed, so the recording's time is the console's.
#pragma once

#include <cstdint>
#include <vector>

#include "apu/mixer.h"
#include "stream/resampler.h"

namespace tov {

class sound_recording : public sample_sink {
public:
    explicit sound_recording(int output_rate);

    void take(const float* frames, int count) override;

    // Drains the resampler and gives the frames (left, right interleaved).
    const std::vector<int16_t>& finish();

private:
    void keep(const std::vector<float>& resampled);

    resampler resampler_;
    std::vector<float> resampled_;
    std::vector<int16_t> frames_;
};

}  // namespace tov
