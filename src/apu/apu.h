// The cycle-timed sound model, "Accurate sound": the four channels as the
// console runs them, timed by the CPU's cycle charges and the frame sequencer
// on DIV, mixed to stereo frames for a sample sink (apu/mixer.h). The sound
// registers live in io_page as usual; while this model is chosen their
// writes and reads pass through here.
#pragma once

#include <cstdint>

namespace tov {

// The power-on state: powered, every channel off, nothing pending.
void apu_reset();

// Starts the model afresh from the sound registers in io_page (after a state
// was loaded, or when the model is chosen): the channels whose bits are set
// in `playing` (NR52 bits 0-3) start as if triggered, the others stay off.
void apu_restart(uint8_t playing);

// A write to FF10-FF3F. False when the sound is powered off and the register
// ignores it; otherwise the value is stored in io_page and takes effect.
bool apu_write(int32_t offset, uint8_t value);

// A read of FF10-FF3F: the registers with their unused and write-only bits as
// 1, NR52 with the power and channel status.
uint8_t apu_read(int32_t offset);

// DIV stepped from `before` to `after` after `step_cycles` cycles (the
// model's time passes in these steps and in div_cycles), or a write cleared
// it from `before`: the frame sequencer steps when DIV bit 4 falls.
void apu_div_stepped(uint8_t before, uint8_t after, int32_t step_cycles);
void apu_div_written(uint8_t before);

// Runs the channels up to the cycles charged so far.
void apu_catch_up();

}  // namespace tov
