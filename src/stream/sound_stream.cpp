#include "stream/sound_stream.h"

#include <algorithm>
#include <cmath>

namespace tov {

namespace {

constexpr int ring_frames = 1 << 13;
constexpr int target_ms = 50;
constexpr int fade_ms = 5;

// The fill is followed as an average over about 0.2 s, which smooths the
// frames arriving a video frame at a time and the card's blocks. The speed
// follows it at once for the part away from the target, and slowly for the
// steady difference between the two clocks, damped so that it settles
// within seconds without swinging.
constexpr double fill_averaging = 0.02;
constexpr double fill_following = 0.07;
constexpr double drift_learning = 0.0002;
constexpr double largest_drift = 0.1;

}  // namespace

sound_stream::sound_stream(int output_rate)
    : output_rate_(output_rate),
      target_(output_rate * target_ms / 1000),
      resampler_(mixed_frame_rate, output_rate),
      ring_(static_cast<std::size_t>(ring_frames) * 2) {}

int sound_stream::fill() const {
    return static_cast<int>(written_.load() - read_.load());
}

// Frames that do not fit the ring are dropped; the speed keeps that rare.
void sound_stream::take(const float* frames, int count) {
    resampled_.clear();
    resampler_.process(frames, count, resampled_);
    uint64_t at = written_.load();
    const uint64_t room = ring_frames - static_cast<uint64_t>(fill());
    const std::size_t made = std::min<std::size_t>(resampled_.size() / 2, room);
    for (std::size_t frame = 0; frame < made; ++frame, ++at) {
        const std::size_t slot = (at & (ring_frames - 1)) * 2;
        ring_[slot] = resampled_[frame * 2];
        ring_[slot + 1] = resampled_[frame * 2 + 1];
    }
    written_.store(at);
    follow_fill();
}

// Above the target the input plays a little faster, so fewer frames come
// out; below it, slower.
void sound_stream::follow_fill() {
    average_fill_ += fill_averaging * (fill() - average_fill_);
    const double away = std::clamp((average_fill_ - target_) / target_, -1.0, 1.0);
    drift_ = std::clamp(drift_ + drift_learning * away, -largest_drift, largest_drift);
    resampler_.set_speed(1.0 + drift_ + fill_following * away);
}

void sound_stream::set_heard(bool heard) {
    heard_.store(heard);
}

bool sound_stream::pop(float& left, float& right) {
    const uint64_t at = read_.load();
    if (at == written_.load()) {
        return false;
    }
    const std::size_t slot = (at & (ring_frames - 1)) * 2;
    left = ring_[slot];
    right = ring_[slot + 1];
    read_.store(at + 1);
    return true;
}

void sound_stream::mix_frame(int16_t* out, float left, float right) {
    for (const float value : {left, right}) {
        const float mixed = *out + value * gain_ * 32767;
        *out++ = static_cast<int16_t>(std::clamp(mixed, -32768.0f, 32767.0f));
    }
}

// Starts once the ring holds the target, fades in, fades out when no longer
// heard and then drops what is left; running dry counts as an underrun and
// waits for the target again.
void sound_stream::mix_into(int16_t* out, int count) {
    const bool heard = heard_.load();
    const float fade_step = 1000.0f / (fade_ms * output_rate_);
    if (!flowing_ && heard && fill() >= target_) {
        flowing_ = true;
        gain_ = 0;
        lowest_fill_.store(fill());
        highest_fill_.store(fill());
    }
    if (!flowing_) {
        if (!heard) {
            read_.store(written_.load());  // what was left when the sound stopped
        }
        return;
    }
    const int start_fill = fill();
    lowest_fill_.store(std::min(lowest_fill_.load(), start_fill));
    highest_fill_.store(std::max(highest_fill_.load(), start_fill));
    for (int frame = 0; frame < count; ++frame) {
        float left = 0;
        float right = 0;
        if (!pop(left, right)) {
            underruns_ += heard ? 1 : 0;
            flowing_ = false;
            return;
        }
        gain_ = heard ? std::min(1.0f, gain_ + fade_step) : std::max(0.0f, gain_ - fade_step);
        mix_frame(out + frame * 2, left, right);
        if (!heard && gain_ == 0) {
            read_.store(written_.load());
            flowing_ = false;
            return;
        }
    }
}

sound_stream::statistics sound_stream::take_stats() {
    const statistics stats{target_, fill(), lowest_fill_.exchange(fill()),
                           highest_fill_.exchange(fill()), underruns_.load()};
    return stats;
}

}  // namespace tov
