// The cycle-timed sound on its way to the sound card: resampled to the card's
// rate into a ring buffer that the card's callback reads. The resampling
// speed follows the buffer's fill, so that it neither runs dry nor grows
// while the emulation and the card keep their own clocks; the sound fades in
// and out when it starts and stops, so that nothing pops.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "apu/mixer.h"
#include "stream/resampler.h"

namespace tov {

class sound_stream : public sample_sink {
public:
    explicit sound_stream(int output_rate);

    // The emulation's side.
    void take(const float* frames, int count) override;
    void set_heard(bool heard) override;

    // The card's side: adds the next `count` stereo frames into `out`.
    void mix_into(int16_t* out, int count);

    // The fill the speed aims at, the fill now, the lowest and highest the
    // card's side has seen since the last call, and the underruns so far.
    struct statistics {
        int target_frames;
        int fill_frames;
        int lowest_fill;
        int highest_fill;
        uint64_t underruns;  // times the buffer ran dry while heard
    };
    statistics take_stats();

private:
    int fill() const;
    void follow_fill();
    bool pop(float& left, float& right);
    void mix_frame(int16_t* out, float left, float right);

    int output_rate_;
    int target_;
    resampler resampler_;
    std::vector<float> resampled_;
    std::vector<float> ring_;
    std::atomic<uint64_t> written_{0};
    std::atomic<uint64_t> read_{0};
    std::atomic<bool> heard_{false};
    double average_fill_ = 0;
    double drift_ = 0;  // the speed's steady part, learned from the fill

    // The card's side only.
    bool flowing_ = false;
    float gain_ = 0;
    std::atomic<int> lowest_fill_{0};
    std::atomic<int> highest_fill_{0};
    std::atomic<uint64_t> underruns_{0};
};

}  // namespace tov
