#include "sound/channels.h"

#include <cstring>

#include "host/clock.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "sound/output_device.h"

namespace tov {

channel_state sound_channels[4];
double last_refill_ms;

namespace {

channel_state& channel(int number) {
    return sound_channels[number - 1];
}

// The wave table: the high part of each period starts at this share of it.
constexpr double duty_thresholds[4] = {0.875, 0.75, 0.5, 0.25};

constexpr double refill_period_ms = 2.0;
constexpr double sweep_period_ms = 7.8;
constexpr float sweep_time_ms = 54.7f;
constexpr double envelope_unit_ms = 64.0;

int32_t frequency_register(int high_register, uint8_t low_byte) {
    return (io_page[high_register] & 7) * 256 + low_byte;
}

// Channels 1 and 2: 131072 / (2049 - f), with 2049 as the machine has it.
int32_t square_frequency(int high_register, int low_register) {
    return 131072 / (2049 - frequency_register(high_register, io_page[low_register]));
}

int32_t wave_frequency() {
    return 65536 / (2048 - frequency_register(NR34, io_page[NR33]));
}

// NRx1 of channels 1 and 2.
void write_length_and_duty(int number, uint8_t value) {
    channel_state& state = channel(number);
    state.active = 1;
    state.length_left = (64 - (value & 0x3F)) * 4;
    state.duty = value >> 6;
}

// NRx2 of channels 1, 2 and 4.
void write_envelope(int number, uint8_t value) {
    channel_state& state = channel(number);
    state.volume = value >> 4;
    state.envelope_step = value & 7;
    state.envelope_up = (value >> 3) & 1;
    state.envelope_last = clock_time_ms();
}

// NRx4 of channels 1 and 2: bit 7 renders the channel at once, when enabled.
void write_square_control(int number, int high_register, int low_register, uint8_t value) {
    channel_state& state = channel(number);
    state.length_enabled = (value >> 6) & 1;
    state.frequency_hz = square_frequency(high_register, low_register);
    if ((value & 0x80) && channel_enabled[number - 1] == 1) {
        fill_square(voice_of_channel(number), state.frequency_hz, state.duty,
                    static_cast<float>(state.volume));
    }
}

// Only a sweep-time field of 0 sets the sweep time: the field is compared
// without its shift, so 1-7 never match and leave the time as it was.
void write_sweep(uint8_t value) {
    channel_state& state = channel(1);
    state.sweep_shift = value & 7;
    state.sweep_down = value & 8;
    state.sweep_last = clock_time_ms();
    if ((value & 0x70) == 0) {
        state.sweep_time_left = sweep_time_ms;
    }
}

void write_wave_control(uint8_t value) {
    channel(3).active = value >> 7;
    if (value & 0x80) {
        if (channel_enabled[2] == 1) {
            load_wave();
        }
    } else {
        silence_wave();
    }
}

// The noise starts at 1048576 / (r + 1) / 2 with its lowest bit inverted (the
// start frequency is combined with a field that always holds 0, plus one).
void write_noise(uint8_t value) {
    channel_state& state = channel(4);
    const int32_t ratio = value & 7;
    state.noise_shift = value >> 4;
    state.noise_width = (value & 8) ? 7 : 15;
    state.noise_last = clock_time_ms();
    state.frequency_hz = (1048576 / (ratio + 1) / 2) ^ 1;
    state.noise_ratio = ratio == 0 ? 2 : ratio == 1 ? 1 : 0;
}

void write_noise_control(uint8_t value) {
    channel_state& state = channel(4);
    state.length_enabled = (value >> 6) & 1;
    if ((value & 0x80) && channel_enabled[3] == 1) {
        fill_square(voice_of_channel(4), state.frequency_hz, state.duty,
                    static_cast<float>(state.volume));
    }
}

// NR51: for channels 1 and 2, the right bit counts 1 and the left bit 3.
void write_panning(uint8_t value) {
    for (const int number : {1, 2}) {
        const int right_bit = number - 1;
        const int code = ((value >> right_bit) & 1) + ((value >> (right_bit + 4)) & 1) * 3;
        sound_buffer* voice = voice_of_channel(number);
        if (!voice || code == 0) {
            continue;
        }
        voice->set_pan(code == 1 ? 100 : code == 3 ? 0 : 50);
    }
}

// Channel 1's sweep writes the shifted frequency back as a program would, so
// the high byte may retrigger it.
void step_sweep(double now) {
    channel_state& state = channel(1);
    if (now - state.sweep_last < sweep_period_ms) {
        return;
    }
    if (state.sweep_time_left > 0) {
        int32_t f = frequency_register(NR14, io_page[NR13]);
        f = state.sweep_down ? f >> state.sweep_shift : f << state.sweep_shift;
        f &= 0xFFFF;
        write_sound_register(NR14, static_cast<uint8_t>(f >> 8));
        write_sound_register(NR13, static_cast<uint8_t>(f));
        state.sweep_time_left -= static_cast<float>(sweep_period_ms);
    }
    state.sweep_last = now;
}

void step_envelope(channel_state& state, double now) {
    if (state.envelope_step <= 0 ||
        now - state.envelope_last < envelope_unit_ms * state.envelope_step) {
        return;
    }
    if (state.envelope_up == 1) {
        if (state.volume < 15) {
            ++state.volume;
        }
    } else if (state.volume > 0) {
        --state.volume;
    }
    state.envelope_last = now;
}

void fall_noise(double now) {
    channel_state& state = channel(4);
    state.frequency_hz -= state.noise_width;
    if (state.frequency_hz < 0) {
        state.frequency_hz = 0;
    }
    state.noise_last = now;
}

// A length counter runs out at 2, not 0.
void step_length(int number) {
    channel_state& state = channel(number);
    if (state.length_enabled == 0) {
        state.active = 1;
    } else if (state.length_left > 2) {
        --state.length_left;
        state.active = 1;
    } else {
        state.length_left = 0;
        state.active = 0;
        if (number == 3) {
            silence_wave();
            write_sound_register(NR30, 0x00);
        } else {
            state.frequency_hz = 0;
        }
    }
}

void refill(double now) {
    if (now - last_refill_ms < refill_period_ms) {
        return;
    }
    if (sound_enabled == 1) {
        for (int number = 1; number <= 4; ++number) {
            if (channel_enabled[number - 1] == 1) {
                step_length(number);
            }
        }
        for (const int number : {1, 2, 4}) {
            const channel_state& state = channel(number);
            if (channel_enabled[number - 1] == 1) {
                fill_square(voice_of_channel(number), state.frequency_hz, state.duty,
                            static_cast<float>(state.volume));
            } else {
                fill_square(voice_of_channel(number), 0, 0, 0.0f);
            }
        }
    }
    last_refill_ms = now;
}

void write_samples(uint8_t* bytes, int index, int16_t sample) {
    std::memcpy(bytes + index * 2, &sample, sizeof sample);
}

}  // namespace

void write_sound_register(int32_t offset, uint8_t value) {
    io_page[offset] = value;
    switch (offset) {
        case NR10: write_sweep(value); break;
        case NR11: write_length_and_duty(1, value); break;
        case NR12: write_envelope(1, value); break;
        case NR14: write_square_control(1, NR14, NR13, value); break;
        case NR21: write_length_and_duty(2, value); break;
        case NR22: write_envelope(2, value); break;
        case NR24: write_square_control(2, NR24, NR23, value); break;
        case NR30: write_wave_control(value); break;
        case NR31:
            channel(3).active = 1;
            channel(3).length_left = (256 - value) * 4;
            break;
        case NR33: channel(3).frequency_hz = wave_frequency(); break;
        case NR34:
            channel(3).frequency_hz = wave_frequency();
            channel(3).length_enabled = (value >> 6) & 1;
            break;
        case NR41:
            channel(4).active = 1;
            channel(4).length_left = (256 - value) * 4;
            break;
        case NR42: write_envelope(4, value); break;
        case NR43: write_noise(value); break;
        case NR44: write_noise_control(value); break;
        case NR51: write_panning(value); break;
        default: break;  // NR13, NR23: stored only
    }
}

void restart_sound_tick(double now) {
    last_refill_ms = now;
}

void sound_tick() {
    const double now = now_ms;
    step_sweep(now);
    step_envelope(channel(1), now);
    step_envelope(channel(2), now);
    fall_noise(now);
    refill(now);
}

void fill_square(sound_buffer* voice, int32_t frequency, int32_t duty, float volume) {
    if (!voice) {
        return;
    }
    const int32_t half = voice->size() / 2;
    const int32_t target = voice->play_position() < half ? half : 0;
    uint8_t* bytes = lock_voice(*voice, target, half);
    if (!bytes) {
        return;
    }
    const int samples = half / 2;
    if (frequency <= 0) {
        std::memset(bytes, 0, static_cast<std::size_t>(half));
    } else {
        const int32_t periods = frequency / 60 + 1;
        const int32_t period = half / periods;
        const auto threshold = static_cast<int32_t>(period * duty_thresholds[duty & 3]);
        const auto amplitude =
            static_cast<int16_t>(static_cast<long double>(volume) * 0.016666668f * 65535);
        int32_t phase = 0;
        for (int k = 0; k < samples; ++k) {
            int16_t sample = 0;
            if (phase >= period) {
                phase = 0;
            } else if (phase >= threshold) {
                sample = amplitude;
            }
            write_samples(bytes, k, sample);
            phase += 2;
        }
    }
    voice->unlock();
}

void load_wave() {
    sound_buffer* voice = voice_of_channel(3);
    if (!voice) {
        return;
    }
    const int32_t half = voice->size() / 2;
    const int32_t target = voice->write_position() < half ? half : 0;
    uint8_t* bytes = lock_voice(*voice, target, half);
    if (!bytes) {
        return;
    }
    for (int k = 0; k < half / 2; ++k) {
        const uint8_t pair = io_page[WAVE_RAM + k / 2];
        const int nibble = (k % 2 == 0) ? pair >> 4 : pair & 0x0F;
        write_samples(bytes, k, static_cast<int16_t>(nibble * 512));
    }
    voice->unlock();
}

void silence_wave() {
    if (sound_buffer* voice = voice_of_channel(3)) {
        fill_silence(*voice);
    }
}

uint8_t channel_status_bits() {
    uint8_t bits = 0;
    for (int number = 1; number <= 4; ++number) {
        if (channel(number).active) {
            bits |= static_cast<uint8_t>(1 << (number - 1));
        }
    }
    return bits;
}

}  // namespace tov
