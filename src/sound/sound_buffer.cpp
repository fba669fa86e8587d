#include "sound/sound_buffer.h"

#include <cmath>
#include <cstring>

#include "host/audio_backend.h"

namespace tov {

namespace {

// The gain of a side attenuated by `hundredths` of a decibel.
float attenuation(int32_t hundredths) {
    return static_cast<float>(std::pow(10.0, -static_cast<double>(hundredths) / 2000.0));
}

}  // namespace

sound_buffer::sound_buffer(audio_backend& backend, int32_t size_bytes, int32_t samples_per_second)
    : backend_(backend),
      bytes_(static_cast<std::size_t>(size_bytes), 0),
      size_(size_bytes),
      samples_per_second_(samples_per_second) {}

int32_t sound_buffer::play_position() const {
    backend_lock hold(backend_);
    return static_cast<int32_t>(position_) * 2;
}

uint8_t* sound_buffer::lock(int32_t offset, int32_t length) {
    if (offset < 0 || length < 0 || offset + length > size_ || locked_) {
        return nullptr;
    }
    backend_.lock();
    locked_ = true;
    return bytes_.data() + offset;
}

void sound_buffer::unlock() {
    if (locked_) {
        locked_ = false;
        backend_.unlock();
    }
}

void sound_buffer::play() {
    backend_lock hold(backend_);
    playing_ = true;
}

void sound_buffer::stop() {
    backend_lock hold(backend_);
    playing_ = false;
}

bool sound_buffer::playing() const {
    backend_lock hold(backend_);
    return playing_;
}

void sound_buffer::set_pan(int32_t pan) {
    backend_lock hold(backend_);
    pan_ = pan;
}

int32_t sound_buffer::pan() const {
    backend_lock hold(backend_);
    return pan_;
}

int16_t sound_buffer::sample_at(int32_t index) const {
    int16_t sample;
    std::memcpy(&sample, bytes_.data() + index * 2, sizeof sample);
    return sample;
}

void sound_buffer::mix_into(float* mix, int frames, int output_rate) {
    if (!playing_) {
        return;
    }
    const float left = pan_ > 0 ? attenuation(pan_) : 1.0f;
    const float right = pan_ < 0 ? attenuation(-pan_) : 1.0f;
    const int32_t samples = size_ / 2;
    const double step = static_cast<double>(samples_per_second_) / output_rate;
    for (int frame = 0; frame < frames; ++frame) {
        const float sample = sample_at(static_cast<int32_t>(position_));
        mix[frame * 2] += sample * left;
        mix[frame * 2 + 1] += sample * right;
        position_ += step;
        if (position_ >= samples) {
            position_ -= samples;
        }
    }
}

}  // namespace tov
