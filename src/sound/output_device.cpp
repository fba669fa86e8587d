#include "sound/output_device.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <iterator>

#include "machine/options.h"
#include "machine/shell_flags.h"
#include "sound/channels.h"

namespace tov {

std::unique_ptr<audio_backend> sound_device;

namespace {

constexpr int32_t square_voice_size = 2940;
constexpr int32_t square_voice_rate = 44100;
constexpr int32_t wave_voice_size = 128;
constexpr int32_t wave_voice_rate = 6553;

// Indexed by channel - 1.
std::unique_ptr<sound_buffer> voices[4];

std::atomic<bool> voices_heard{true};

// Voices in the order playback starts and stops them: 1, 2, 4, then 3.
constexpr int playback_order[4] = {1, 2, 4, 3};

std::unique_ptr<sound_buffer> create_sound_buffer(int32_t size, int32_t rate) {
    auto voice = std::make_unique<sound_buffer>(*sound_device, size, rate);
    fill_sine(*voice, 0, 0.2f);
    return voice;
}

void play_voice(int channel) {
    if (sound_buffer* voice = voice_of_channel(channel)) {
        voice->play();
    }
}

void stop_voices() {
    for (const int channel : playback_order) {
        if (sound_buffer* voice = voice_of_channel(channel)) {
            voice->stop();
        }
    }
}

}  // namespace

void create_sound_device(std::unique_ptr<audio_backend> device) {
    close_sound_device();
    sound_device = std::move(device);
    if (!sound_device) {
        return;
    }
    // Each voice is complete before the mixer may see it.
    for (const int channel : {1, 2, 4, 3}) {
        std::unique_ptr<sound_buffer> voice =
            channel == 3 ? create_sound_buffer(wave_voice_size, wave_voice_rate)
                         : create_sound_buffer(square_voice_size, square_voice_rate);
        backend_lock hold(*sound_device);
        voices[channel - 1] = std::move(voice);
    }
}

void start_sound(std::unique_ptr<audio_backend> device) {
    create_sound_device(std::move(device));
    for (channel_state& channel : sound_channels) {
        channel.frequency_hz = 0;
        channel.active = 0;
    }
    const uint8_t enabled[4] = {1, 1, 0, 0};
    std::copy(std::begin(enabled), std::end(enabled), channel_enabled);
    sound_enabled = 0;
    toggle_sound();
}

void close_sound_device() {
    if (sound_device) {
        // Stop the mixer from reading the voices before they go.
        backend_lock hold(*sound_device);
        for (std::unique_ptr<sound_buffer>& voice : voices) {
            voice.reset();
        }
    }
    sound_device.reset();
}

sound_buffer* voice_of_channel(int channel) {
    return channel >= 1 && channel <= 4 ? voices[channel - 1].get() : nullptr;
}

uint8_t* lock_voice(sound_buffer& voice, int32_t offset, int32_t length) {
    uint8_t* bytes = voice.lock(offset, length);
    if (!bytes) {
        report_error(0, "Fehler: PufferLock");
    }
    return bytes;
}

void fill_silence(sound_buffer& voice) {
    if (uint8_t* bytes = lock_voice(voice, 0, voice.size())) {
        std::memset(bytes, 0, static_cast<std::size_t>(voice.size()));
        voice.unlock();
    }
}

// The sample at byte offset k is amplitude x sin(cycles x k x 2 pi / size).
void fill_sine(sound_buffer& buffer, int cycles, float amplitude) {
    uint8_t* bytes = lock_voice(buffer, 0, buffer.size());
    if (!bytes) {
        return;
    }
    for (int32_t k = 0; k < buffer.size(); k += 2) {
        const auto sample = static_cast<int16_t>(
            amplitude * std::sin(cycles * k * 6.283184f / buffer.size()) * 32768);
        std::memcpy(bytes + k, &sample, sizeof sample);
    }
    buffer.unlock();
}

void start_playback() {
    if (rom_loaded != 1) {
        return;
    }
    emulation_running = 1;
    if (sound_enabled == 1) {
        for (const int channel : playback_order) {
            if (channel_enabled[channel - 1] == 1) {
                play_voice(channel);
            }
        }
    }
}

void stop_playback() {
    emulation_running = 0;
    stop_voices();
}

// Turning sound on plays voices 1, 2 and 4 whatever their options say (a
// disabled channel is refilled with silence), and voice 3 only when enabled.
void toggle_sound() {
    if (sound_enabled == 1) {
        sound_enabled = 0;
        stop_voices();
        return;
    }
    sound_enabled = 1;
    for (const int channel : {1, 2, 4}) {
        play_voice(channel);
    }
    if (channel_enabled[2] == 1) {
        play_voice(3);
    }
}

void toggle_channel(int channel) {
    if (channel < 1 || channel > 4) {
        return;
    }
    uint8_t& enabled = channel_enabled[channel - 1];
    enabled = enabled ? 0 : 1;
    if (channel == 3) {
        if (sound_buffer* wave = voice_of_channel(3)) {
            if (enabled) {
                wave->play();
            } else {
                wave->stop();
            }
        }
    }
}

void silence_squares() {
    for (const int channel : {1, 2}) {
        if (sound_buffer* voice = voice_of_channel(channel)) {
            fill_silence(*voice);
        }
    }
}

void set_voices_heard(bool heard) {
    voices_heard.store(heard);
}

// Mixes in chunks on the stack: the audio thread must not allocate.
void mix_voices(int16_t* output, int frames, int output_rate) {
    if (!voices_heard.load()) {
        std::fill(output, output + frames * 2, 0);
        return;
    }
    constexpr int chunk_frames = 256;
    float mix[chunk_frames * 2];
    for (int done = 0; done < frames; done += chunk_frames) {
        const int count = std::min(chunk_frames, frames - done);
        std::fill(mix, mix + count * 2, 0.0f);
        for (std::unique_ptr<sound_buffer>& voice : voices) {
            if (voice) {
                voice->mix_into(mix, count, output_rate);
            }
        }
        for (int i = 0; i < count * 2; ++i) {
            output[done * 2 + i] = static_cast<int16_t>(std::clamp(mix[i], -32768.0f, 32767.0f));
        }
    }
}

}  // namespace tov
