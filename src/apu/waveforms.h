// The channels' waveform generators: what each one outputs at a step of its
// waveform, and how many console cycles a step lasts. Levels are the 4-bit
// values the channels hand to their DACs.
#pragma once

#include <cstdint>

namespace tov {

// Channels 1 and 2: eight steps per period, high on the steps the duty
// (NRx1 bits 7-6) marks.
int32_t square_step_cycles(int32_t frequency);
int32_t square_level(uint8_t nrx1, int32_t step, int32_t volume);

// Channel 3: 32 four-bit samples from wave RAM, high nibble first; `sample`
// is the byte it read last, of which `step` picks a nibble, shifted by the
// output level of NR32.
int32_t wave_step_cycles(int32_t frequency);
int32_t wave_level(uint8_t sample, int32_t step, uint8_t nr32);

// Channel 4: the shift register steps at the rate NR43 chooses; 0 means it
// never steps (shift 14 and 15). It outputs the volume while bit 0 is clear.
int32_t noise_step_cycles(uint8_t nr43);
int32_t noise_level(uint16_t lfsr, int32_t volume);
uint16_t next_noise(uint16_t lfsr, uint8_t nr43);

}  // namespace tov
