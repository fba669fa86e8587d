// The cycle-timed sound model, "Accurate sound": the four channels as the
// console runs them, timed by the CPU's cycle charges and the frame sequencer
// on DIV, mixed to stereo frames for a sample sink (apu/mixer.h). The sound
// registers live in io_page as usual; while this model is chosen their
// writes and reads pass through here.
#pragma once

#include <cstdint>

#include "apu/units.h"

namespace tov {

struct apu_channel {
    uint8_t on = 0;
    uint8_t dac = 0;
    length_counter length;
    volume_envelope envelope;
    int32_t frequency = 0;
    int32_t timer = 0;       // cycles to the next waveform step
    int32_t since_step = 0;  // cycles since the last one
    int32_t step = 0;        // square: 0-7, wave: 0-31
    int32_t sum = 0;         // level x cycles in the frame being mixed
};

// The model's state beyond the registers, in plain numbers.
struct apu_state {
    apu_channel channels[4];
    frequency_sweep sweep;
    uint16_t lfsr = 0;
    uint8_t wave_sample = 0;  // the wave RAM byte the wave channel read last
    uint8_t powered = 0;
    int32_t sequencer_step = 0;  // the step the next fall of DIV bit 4 runs
    int32_t frame_cycles = 0;    // cycles already summed into the frame being mixed
    // CPU cycles charged but not yet run, counted up to div_cycles = counted_div.
    int32_t pending_cycles = 0;
    int32_t counted_div = 0;
};
extern apu_state apu;

// A state from a file brought into range, so that no waveform step or
// timer can run outside its table or loop.
void settle_apu();

// The power-on state: powered, every channel off, nothing pending.
void apu_reset();

// Starts the model afresh from the sound registers in io_page (after a state
// was loaded, or when the model is chosen): the channels whose bits are set
// in `playing` (NR52 bits 0-3) start as if triggered, the others stay off.
void apu_restart(uint8_t playing);

// A write to FF10-FF3F. True when the value is stored in io_page at its own
// address and takes effect; false when it does not land there: the sound is
// powered off, or wave RAM is in the wave channel's hands.
bool apu_write(int32_t offset, uint8_t value);

// A read of FF10-FF3F: the registers with their unused and write-only bits as
// 1, NR52 with the power and channel status, wave RAM as the CPU reaches it.
uint8_t apu_read(int32_t offset);

// The colour model's PCM12 (offset 76) and PCM34 (77): the levels the
// channels hand their DACs, channel 1 (3) in the low nibble.
uint8_t apu_read_levels(int32_t offset);

// The monochrome console's sound rules apply (wave RAM, length counters
// through power-off); the colour model's otherwise.
bool monochrome_sound();

// DIV stepped from `before` to `after` after `step_cycles` cycles (the
// model's time passes in these steps and in div_cycles), or a write cleared
// it from `before`: the frame sequencer steps when DIV bit 4 falls.
void apu_div_stepped(uint8_t before, uint8_t after, int32_t step_cycles);
void apu_div_written(uint8_t before);

// Runs the channels up to the cycles charged so far.
void apu_catch_up();

// The accurate machine keeps the time itself: `cycles` more console cycles
// have passed, and its divider clocks the frame sequencer.
void apu_advance(int32_t cycles);
void apu_clock_sequencer();

}  // namespace tov
