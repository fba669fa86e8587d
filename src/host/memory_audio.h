// An audio device in memory: its source runs when the owner advances it,
// and what it plays can be kept and written as a WAV file. Tests and the
// headless runner use it in place of a sound card.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "host/audio_backend.h"
#include "host/result.h"

namespace tov {

class memory_audio : public audio_backend {
public:
    static constexpr int rate = 44100;

    explicit memory_audio(bool keep_output) : keep_output_(keep_output) {}

    void lock() override {}
    void unlock() override {}
    int output_rate() const override { return rate; }

    // Plays `frames` stereo frames.
    void advance(int frames);

    // Plays up to wall-clock time `time_ms`: the frames since the time of
    // the previous call (the first call only sets the start).
    void advance_to(double time_ms);

    // The stereo frames played so far (left, right interleaved), when kept.
    const std::vector<int16_t>& output() const { return output_; }

    // Writes the kept output as a 16-bit stereo WAV file.
    result write_wav(const std::filesystem::path& path) const;

private:
    bool keep_output_;
    std::vector<int16_t> output_;
    std::vector<int16_t> mixed_;  // reused, so steady playing allocates nothing
    bool started_ = false;
    double time_ms_ = 0;
    double pending_frames_ = 0;
};

}  // namespace tov
