#include "apu/waveforms.h"

namespace tov {

namespace {

// The four duties, 12.5 %, 25 %, 50 % and 75 %, one bit per step.
constexpr uint8_t duty_patterns[4] = {0b00000001, 0b10000001, 0b10000111, 0b01111110};

// Noise divisors by NR43 bits 2-0, in console cycles.
constexpr int32_t noise_divisors[8] = {8, 16, 32, 48, 64, 80, 96, 112};

}  // namespace

int32_t square_step_cycles(int32_t frequency) {
    return (2048 - frequency) * 4;
}

int32_t square_level(uint8_t nrx1, int32_t step, int32_t volume) {
    return (duty_patterns[nrx1 >> 6] >> step) & 1 ? volume : 0;
}

int32_t wave_step_cycles(int32_t frequency) {
    return (2048 - frequency) * 2;
}

int32_t wave_level(uint8_t sample, int32_t step, uint8_t nr32) {
    const int32_t nibble = step & 1 ? sample & 0x0F : sample >> 4;
    constexpr int32_t shifts[4] = {4, 0, 1, 2};  // mute, 100 %, 50 %, 25 %
    return nibble >> shifts[(nr32 >> 5) & 3];
}

int32_t noise_step_cycles(uint8_t nr43) {
    const int32_t shift = nr43 >> 4;
    return shift >= 14 ? 0 : noise_divisors[nr43 & 7] << shift;
}

int32_t noise_level(uint16_t lfsr, int32_t volume) {
    return lfsr & 1 ? 0 : volume;
}

// The new bit, bit 0 XOR bit 1, enters at bit 14, and also at bit 6 in the
// 7-bit width (NR43 bit 3).
uint16_t next_noise(uint16_t lfsr, uint8_t nr43) {
    const uint16_t bit = (lfsr ^ (lfsr >> 1)) & 1;
    uint16_t next = static_cast<uint16_t>((lfsr >> 1) | (bit << 14));
    if (nr43 & 0x08) {
        next = static_cast<uint16_t>((next & ~(1u << 6)) | (bit << 6));
    }
    return next;
}

}  // namespace tov
