// Brings the cycle-timed sound's stereo frames down to the sound card's rate
// without aliasing, with libsoxr. The ratio may change while it runs, so that
// a player can keep its buffer at a steady fill.
#pragma once

#include <vector>

struct soxr;

namespace tov {

class resampler {
public:
    resampler(double input_rate, double output_rate);
    ~resampler();
    resampler(const resampler&) = delete;
    resampler& operator=(const resampler&) = delete;

    // Plays the input `scale` times faster than its nominal rate (a scale a
    // little above 1 gives fewer output frames); 0.88-1.12.
    void set_speed(double scale);

    // Resamples `count` stereo frames and appends the output to `out`
    // (left, right interleaved). A null `frames` drains what is still held.
    void process(const float* frames, int count, std::vector<float>& out);

private:
    soxr* soxr_;
    double nominal_ratio_;
};

}  // namespace tov
