#include "apu/apu.h"

#include <algorithm>

#include "apu/mixer.h"
#include "apu/units.h"
#include "apu/waveforms.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"

namespace tov {

namespace {

constexpr int wave_ram = 0x30;
constexpr int32_t highest_frequency = 0x7FF;

struct channel {
    bool on = false;
    bool dac = false;
    length_counter length;
    volume_envelope envelope;
    int32_t frequency = 0;
    int32_t timer = 0;  // cycles to the next waveform step
    int32_t step = 0;   // square: 0-7, wave: 0-31
    int32_t sum = 0;    // level x cycles in the frame being mixed
};

// Each channel's registers: NRx1 (length), NRx2 (DAC), NRx3, NRx4.
struct channel_registers {
    int length;
    int dac;
    int low;
    int high;
    int32_t full_length;
};
constexpr channel_registers registers_of[4] = {
    {NR11, NR12, NR13, NR14, 64},
    {NR21, NR22, NR23, NR24, 64},
    {NR31, NR30, NR33, NR34, 256},
    {NR41, NR42, -1, NR44, 64},
};

// Bits that read back as 1 whatever was written, FF10-FF26.
constexpr uint8_t read_back_ones[] = {
    0x80, 0x3F, 0x00, 0xFF, 0xBF,  // NR10-NR14
    0xFF, 0x3F, 0x00, 0xFF, 0xBF,  // FF15, NR21-NR24
    0x7F, 0xFF, 0x9F, 0xFF, 0xBF,  // NR30-NR34
    0xFF, 0xFF, 0x00, 0x00, 0xBF,  // FF1F, NR41-NR44
    0x00, 0x00, 0x70,              // NR50-NR52
};

channel channels[4];
frequency_sweep sweep;
uint16_t lfsr;
bool powered;
int32_t sequencer_step;  // the step the next fall of DIV bit 4 runs
int32_t frame_cycles;    // cycles already summed into the frame being mixed

// CPU cycles charged but not yet run, counted up to div_cycles = counted_div.
int32_t pending_cycles;
int32_t counted_div;

bool has_dac(int index, uint8_t value) {
    return index == 2 ? (value & 0x80) != 0 : (value & 0xF8) != 0;
}

int32_t length_from(int index, uint8_t value) {
    return index == 2 ? 256 - value : 64 - (value & 0x3F);
}

int32_t level_of(int index) {
    const channel& c = channels[index];
    switch (index) {
        case 0: return square_level(io_page[NR11], c.step, c.envelope.volume);
        case 1: return square_level(io_page[NR21], c.step, c.envelope.volume);
        case 2: return wave_level(io_page + wave_ram, c.step, io_page[NR32]);
        default: return noise_level(lfsr, c.envelope.volume);
    }
}

int32_t step_cycles_of(int index) {
    switch (index) {
        case 2: return wave_step_cycles(channels[2].frequency);
        case 3: return noise_step_cycles(io_page[NR43]);
        default: return square_step_cycles(channels[index].frequency);
    }
}

void advance_waveform(int index) {
    channel& c = channels[index];
    switch (index) {
        case 2: c.step = (c.step + 1) & 31; break;
        case 3: lfsr = next_noise(lfsr, io_page[NR43]); break;
        default: c.step = (c.step + 1) & 7; break;
    }
}

// Adds the channel's level over `cycles` to its sum, stepping the waveform
// each time its timer runs out. A channel that is off adds 0.
void run_channel(int index, int32_t cycles) {
    channel& c = channels[index];
    if (!c.on) {
        return;
    }
    const int32_t period = step_cycles_of(index);
    if (period == 0) {
        c.sum += level_of(index) * cycles;
        return;
    }
    while (cycles >= c.timer) {
        c.sum += level_of(index) * c.timer;
        cycles -= c.timer;
        advance_waveform(index);
        c.timer = period;
    }
    c.sum += level_of(index) * cycles;
    c.timer -= cycles;
}

void finish_frame() {
    channel_levels levels{};
    for (int index = 0; index < 4; ++index) {
        levels.sums[index] = channels[index].sum;
        levels.dacs[index] = channels[index].dac;
        channels[index].sum = 0;
    }
    mix_frame(levels, io_page[NR50], io_page[NR51]);
}

// Only heard sound is synthesized: without a sink the waveforms wait.
void run_channels(int32_t cycles) {
    if (!has_sample_sink()) {
        return;
    }
    while (cycles > 0) {
        const int32_t part = std::min(cycles, cycles_per_mixed_frame - frame_cycles);
        for (int index = 0; index < 4; ++index) {
            run_channel(index, part);
        }
        cycles -= part;
        frame_cycles += part;
        if (frame_cycles == cycles_per_mixed_frame) {
            finish_frame();
            frame_cycles = 0;
        }
    }
}

void set_frequency(int32_t frequency) {
    channels[0].frequency = frequency;
    io_page[NR13] = static_cast<uint8_t>(frequency & 0xFF);
    io_page[NR14] = static_cast<uint8_t>((io_page[NR14] & 0xF8) | (frequency >> 8));
}

void start_sweep() {
    const uint8_t nr10 = io_page[NR10];
    sweep.shadow = channels[0].frequency;
    sweep.subtracted = false;
    sweep.timer = timer_period((nr10 >> 4) & 7);
    sweep.enabled = (nr10 & 0x77) != 0;
    if ((nr10 & 7) != 0 && sweep.next(nr10) > highest_frequency) {
        channels[0].on = false;
    }
}

void clock_sweep() {
    if (sweep.timer > 0 && --sweep.timer > 0) {
        return;
    }
    const uint8_t nr10 = io_page[NR10];
    const int32_t period = (nr10 >> 4) & 7;
    sweep.timer = timer_period(period);
    if (!sweep.enabled || period == 0) {
        return;
    }
    const int32_t frequency = sweep.next(nr10);
    if (frequency > highest_frequency) {
        channels[0].on = false;
    } else if ((nr10 & 7) != 0) {
        sweep.shadow = frequency;
        set_frequency(frequency);
        if (sweep.next(nr10) > highest_frequency) {
            channels[0].on = false;
        }
    }
}

void clock_lengths() {
    for (channel& c : channels) {
        if (c.length.clock()) {
            c.on = false;
        }
    }
}

void clock_envelopes() {
    for (const int index : {0, 1, 3}) {
        channels[index].envelope.clock();
    }
}

// Steps 0, 2, 4 and 6 clock the lengths, 2 and 6 the sweep, 7 the envelopes.
void step_sequencer() {
    const int32_t step = sequencer_step;
    sequencer_step = (step + 1) & 7;
    if ((step & 1) == 0) {
        clock_lengths();
    }
    if (step == 2 || step == 6) {
        clock_sweep();
    }
    if (step == 7) {
        clock_envelopes();
    }
}

void trigger(int index) {
    channel& c = channels[index];
    c.on = c.dac;
    c.step = 0;
    c.timer = step_cycles_of(index);
    if (index != 2) {
        c.envelope.start(io_page[registers_of[index].dac]);
    }
    if (index == 3) {
        lfsr = 0x7FFF;
    }
    if (index == 0) {
        start_sweep();
    }
}

// NRx4: the frequency's high bits, the length switch and the trigger. A
// length switched on while the next sequencer step will not clock lengths
// takes one step at once, and a trigger's fresh full length loses one there.
void write_control(int index, uint8_t value) {
    channel& c = channels[index];
    const channel_registers& regs = registers_of[index];
    if (regs.low >= 0) {
        c.frequency = (value & 7) << 8 | io_page[regs.low];
    }
    const bool trigger_now = (value & 0x80) != 0;
    const bool between_length_steps = (sequencer_step & 1) != 0;
    const bool was_enabled = c.length.enabled;
    c.length.enabled = (value & 0x40) != 0;
    if (between_length_steps && !was_enabled && c.length.enabled && c.length.clock() &&
        !trigger_now) {
        c.on = false;
    }
    if (trigger_now) {
        if (c.length.left == 0) {
            c.length.left = regs.full_length;
            if (c.length.enabled && between_length_steps) {
                --c.length.left;
            }
        }
        trigger(index);
    }
}

// The channel whose register `offset` is, and which of its registers.
void write_channel_register(int32_t offset, uint8_t value) {
    for (int index = 0; index < 4; ++index) {
        const channel_registers& regs = registers_of[index];
        channel& c = channels[index];
        if (offset == regs.length) {
            c.length.left = length_from(index, value);
        } else if (offset == regs.dac) {
            c.dac = has_dac(index, value);
            c.on = c.on && c.dac;
        } else if (offset == regs.low) {
            c.frequency = (c.frequency & 0x700) | value;
        } else if (offset == regs.high) {
            write_control(index, value);
        }
    }
}

void write_power(uint8_t value) {
    const bool on = (value & 0x80) != 0;
    if (powered && !on) {
        std::fill(io_page + NR10, io_page + NR52, 0);
        for (channel& c : channels) {
            c = {};
        }
        sweep = {};
    } else if (!powered && on) {
        sequencer_step = 0;
    }
    powered = on;
}

void follow_div(uint8_t before, uint8_t after) {
    if ((before & 0x10) != 0 && (after & 0x10) == 0) {
        apu_catch_up();
        if (powered) {
            step_sequencer();
        }
    }
}

uint8_t status_bits() {
    uint8_t bits = 0;
    for (int index = 0; index < 4; ++index) {
        bits |= channels[index].on ? 1 << index : 0;
    }
    return bits;
}

}  // namespace

void apu_reset() {
    for (channel& c : channels) {
        c = {};
    }
    sweep = {};
    lfsr = 0x7FFF;
    powered = true;
    sequencer_step = 0;
    frame_cycles = 0;
    pending_cycles = 0;
    counted_div = div_cycles;
    reset_mixer();
}

void apu_restart(uint8_t playing) {
    apu_reset();
    powered = (io_page[NR52] & 0x80) != 0;
    for (int index = 0; index < 4; ++index) {
        const channel_registers& regs = registers_of[index];
        channel& c = channels[index];
        c.dac = has_dac(index, io_page[regs.dac]);
        c.length.left = length_from(index, io_page[regs.length]);
        c.length.enabled = (io_page[regs.high] & 0x40) != 0;
        c.frequency = regs.low >= 0 ? (io_page[regs.high] & 7) << 8 | io_page[regs.low] : 0;
        if (powered && (playing >> index) & 1) {
            trigger(index);
        }
    }
}

bool apu_write(int32_t offset, uint8_t value) {
    apu_catch_up();
    if (offset >= wave_ram || offset == NR52) {
        if (offset == NR52) {
            write_power(value);
        }
        io_page[offset] = value;
        return true;
    }
    if (!powered) {
        return false;
    }
    io_page[offset] = value;
    if (offset == NR10 && sweep.subtracted && (value & 0x08) == 0) {
        channels[0].on = false;
    }
    write_channel_register(offset, value);
    return true;
}

uint8_t apu_read(int32_t offset) {
    if (offset >= wave_ram) {
        return io_page[offset];
    }
    if (offset == NR52) {
        return static_cast<uint8_t>((powered ? 0x80 : 0) | 0x70 | status_bits());
    }
    if (offset > NR52) {
        return 0xFF;
    }
    return io_page[offset] | read_back_ones[offset - NR10];
}

void apu_div_stepped(uint8_t before, uint8_t after, int32_t step_cycles) {
    if (!accurate_sound) {
        return;
    }
    pending_cycles += step_cycles - counted_div;
    counted_div = 0;
    follow_div(before, after);
}

void apu_div_written(uint8_t before) {
    if (accurate_sound) {
        follow_div(before, 0x00);
    }
}

// Console cycles are CPU cycles shifted by the speed; a remainder waits.
void apu_catch_up() {
    pending_cycles += div_cycles - counted_div;
    counted_div = div_cycles;
    const int32_t cycles = pending_cycles >> speed_shift;
    pending_cycles -= cycles << speed_shift;
    run_channels(cycles);
}

}  // namespace tov
