// A voice: a looping buffer of 16-bit mono samples that the audio device
// plays at the voice's own rate, with a pan. The emulation writes into the
// half that is not playing; while it holds a range locked, the mixer is kept
// out of the whole buffer.
#pragma once

#include <cstdint>
#include <vector>

namespace tov {

class audio_backend;

class sound_buffer {
public:
    sound_buffer(audio_backend& backend, int32_t size_bytes, int32_t samples_per_second);

    int32_t size() const { return size_; }
    int32_t samples_per_second() const { return samples_per_second_; }

    // The byte offset of the next sample the device plays. The write
    // position is the same place: the mixer never runs inside a lock.
    int32_t play_position() const;
    int32_t write_position() const { return play_position(); }

    // Keeps the mixer out and returns the writable bytes [offset, offset +
    // length); nullptr when the range does not fit the buffer.
    uint8_t* lock(int32_t offset, int32_t length);
    void unlock();

    // Looping playback; stop keeps the position, so play resumes there.
    void play();
    void stop();
    bool playing() const;

    // Pan in hundredths of a decibel: a positive value attenuates the left
    // side by that much, a negative one the right side.
    void set_pan(int32_t pan);
    int32_t pan() const;

    // Adds `frames` stereo frames at `output_rate` into `mix` (left, right
    // interleaved) and moves the play position on. Called by the mixer with
    // the voices locked.
    void mix_into(float* mix, int frames, int output_rate);

private:
    int16_t sample_at(int32_t index) const;

    audio_backend& backend_;
    std::vector<uint8_t> bytes_;
    int32_t size_;
    int32_t samples_per_second_;
    double position_ = 0;  // in samples, with the fraction of the resampling
    bool playing_ = false;
    int32_t pan_ = 0;
    bool locked_ = false;
};

}  // namespace tov
