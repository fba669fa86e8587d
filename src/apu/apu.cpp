#include "apu/apu.h"

#include <algorithm>

#include "apu/mixer.h"
#include "apu/units.h"
#include "apu/waveforms.h"
#include "core/machine_interface.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"

namespace tov {

apu_state apu;

namespace {

constexpr int wave_ram = 0x30;
constexpr int32_t highest_frequency = 0x7FF;

// The wave channel after a trigger waits this many cycles more than its
// period before it reads its first sample.
constexpr int32_t wave_start_delay = 6;
// On the monochrome console the CPU reaches wave RAM while the channel plays
// only within this many cycles after the channel read it.
constexpr int32_t wave_access_cycles = 2;
// The timer value at which the wave channel is reading its next byte.
constexpr int32_t wave_reading_cycles = 2;

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

bool has_dac(int index, uint8_t value) {
    return index == 2 ? (value & 0x80) != 0 : (value & 0xF8) != 0;
}

int32_t length_from(int index, uint8_t value) {
    return index == 2 ? 256 - value : 64 - (value & 0x3F);
}

int32_t level_of(int index) {
    const apu_channel& c = apu.channels[index];
    switch (index) {
        case 0: return square_level(io_page[NR11], c.step, c.envelope.volume);
        case 1: return square_level(io_page[NR21], c.step, c.envelope.volume);
        case 2: return wave_level(apu.wave_sample, c.step, io_page[NR32]);
        default: return noise_level(apu.lfsr, c.envelope.volume);
    }
}

// The level a channel hands its DAC now; 0 while it is off.
int32_t output_of(int index) {
    return apu.channels[index].on ? level_of(index) : 0;
}

int32_t step_cycles_of(int index) {
    switch (index) {
        case 2: return wave_step_cycles(apu.channels[2].frequency);
        case 3: return noise_step_cycles(io_page[NR43]);
        default: return square_step_cycles(apu.channels[index].frequency);
    }
}

// The waveform moves on `steps` steps; the wave channel reads the wave RAM
// byte of the sample it comes to.
void advance_waveform(int index, int32_t steps) {
    apu_channel& c = apu.channels[index];
    switch (index) {
        case 2:
            c.step = (c.step + steps) & 31;
            apu.wave_sample = io_page[wave_ram + (c.step >> 1)];
            break;
        case 3:
            for (; steps > 0; --steps) {
                apu.lfsr = next_noise(apu.lfsr, io_page[NR43]);
            }
            break;
        default: c.step = (c.step + steps) & 7; break;
    }
}

// Adds the channel's level over `cycles` to its sum, stepping the waveform
// each time its timer runs out. A channel that is off adds 0.
void run_channel(int index, int32_t cycles) {
    apu_channel& c = apu.channels[index];
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
        advance_waveform(index, 1);
        c.timer = period;
        c.since_step = 0;
    }
    c.sum += level_of(index) * cycles;
    c.timer -= cycles;
    c.since_step += cycles;
}

// The same steps when no one listens: the waveform's place only, the steps
// of `cycles` taken at once.
void skip_channel(int index, int32_t cycles) {
    apu_channel& c = apu.channels[index];
    const int32_t period = step_cycles_of(index);
    if (!c.on || period == 0) {
        return;
    }
    if (cycles < c.timer) {
        c.timer -= cycles;
        c.since_step += cycles;
        return;
    }
    const int32_t rest = cycles - c.timer;
    advance_waveform(index, 1 + rest / period);
    c.since_step = rest % period;
    c.timer = period - c.since_step;
}

void finish_frame() {
    channel_levels levels{};
    for (int index = 0; index < 4; ++index) {
        levels.sums[index] = apu.channels[index].sum;
        levels.dacs[index] = apu.channels[index].dac;
        apu.channels[index].sum = 0;
    }
    mix_frame(levels, io_page[NR50], io_page[NR51]);
}

// Only heard sound is mixed: without a sink the waveforms only move on.
void run_channels(int32_t cycles) {
    if (!has_sample_sink()) {
        for (int index = 0; index < 4; ++index) {
            skip_channel(index, cycles);
        }
        return;
    }
    while (cycles > 0) {
        const int32_t part = std::min(cycles, cycles_per_mixed_frame - apu.frame_cycles);
        for (int index = 0; index < 4; ++index) {
            run_channel(index, part);
        }
        cycles -= part;
        apu.frame_cycles += part;
        if (apu.frame_cycles == cycles_per_mixed_frame) {
            finish_frame();
            apu.frame_cycles = 0;
        }
    }
}

void set_frequency(int32_t frequency) {
    apu.channels[0].frequency = frequency;
    io_page[NR13] = static_cast<uint8_t>(frequency & 0xFF);
    io_page[NR14] = static_cast<uint8_t>((io_page[NR14] & 0xF8) | (frequency >> 8));
}

void start_sweep() {
    const uint8_t nr10 = io_page[NR10];
    apu.sweep.shadow = apu.channels[0].frequency;
    apu.sweep.subtracted = false;
    apu.sweep.timer = timer_period((nr10 >> 4) & 7);
    apu.sweep.enabled = (nr10 & 0x77) != 0;
    if ((nr10 & 7) != 0 && apu.sweep.next(nr10) > highest_frequency) {
        apu.channels[0].on = false;
    }
}

void clock_sweep() {
    if (apu.sweep.timer > 0 && --apu.sweep.timer > 0) {
        return;
    }
    const uint8_t nr10 = io_page[NR10];
    const int32_t period = (nr10 >> 4) & 7;
    apu.sweep.timer = timer_period(period);
    if (!apu.sweep.enabled || period == 0) {
        return;
    }
    const int32_t frequency = apu.sweep.next(nr10);
    if (frequency > highest_frequency) {
        apu.channels[0].on = false;
    } else if ((nr10 & 7) != 0) {
        apu.sweep.shadow = frequency;
        set_frequency(frequency);
        if (apu.sweep.next(nr10) > highest_frequency) {
            apu.channels[0].on = false;
        }
    }
}

void clock_lengths() {
    for (apu_channel& c : apu.channels) {
        if (c.length.clock()) {
            c.on = false;
        }
    }
}

void clock_envelopes() {
    for (const int index : {0, 1, 3}) {
        apu.channels[index].envelope.clock();
    }
}

// Steps 0, 2, 4 and 6 clock the lengths, 2 and 6 the sweep, 7 the envelopes.
void step_sequencer() {
    const int32_t step = apu.sequencer_step;
    apu.sequencer_step = (step + 1) & 7;
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

// The wave RAM byte the wave channel reads next, when its timer runs out.
int32_t next_wave_byte() {
    return ((apu.channels[2].step + 1) & 31) >> 1;
}

// The monochrome console's wave channel, triggered again in the cycle it
// reads a byte, writes over the start of wave RAM: with that byte when it
// is one of the first four, else with the four-byte row it lies in.
void corrupt_wave_ram() {
    const apu_channel& wave = apu.channels[2];
    if (!wave.on || wave.timer != wave_reading_cycles || !monochrome_sound()) {
        return;
    }
    uint8_t* cells = io_page + wave_ram;
    const int32_t byte = next_wave_byte();
    if (byte < 4) {
        cells[0] = cells[byte];
    } else {
        std::copy_n(cells + (byte & ~3), 4, cells);
    }
}

void trigger(int index) {
    apu_channel& c = apu.channels[index];
    if (index == 2) {
        corrupt_wave_ram();
        c.step = 0;
        c.since_step = wave_access_cycles;
    }
    c.on = c.dac;
    c.timer = step_cycles_of(index) + (index == 2 ? wave_start_delay : 0);
    if (index != 2) {
        c.envelope.start(io_page[registers_of[index].dac]);
        // The sequencer's next step clocks the envelopes: the trigger's
        // first envelope period waits one more.
        c.envelope.timer += apu.sequencer_step == 7 ? 1 : 0;
    }
    if (index == 3) {
        apu.lfsr = 0x7FFF;
    }
    if (index == 0) {
        start_sweep();
    }
}

// NRx4: the frequency's high bits, the length switch and the trigger. A
// length switched on while the next sequencer step will not clock lengths
// takes one step at once, and a trigger's fresh full length loses one there.
void write_control(int index, uint8_t value) {
    apu_channel& c = apu.channels[index];
    const channel_registers& regs = registers_of[index];
    if (regs.low >= 0) {
        c.frequency = (value & 7) << 8 | io_page[regs.low];
    }
    const bool trigger_now = (value & 0x80) != 0;
    const bool between_length_steps = (apu.sequencer_step & 1) != 0;
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

// NRx2: the DAC, and while the channel plays the envelope as the console
// takes the write.
void write_envelope(int index, uint8_t value) {
    apu_channel& c = apu.channels[index];
    c.dac = has_dac(index, value);
    if (index != 2 && c.on) {
        c.envelope.rewrite(value);
    }
    c.on = c.on && c.dac;
}

// The channel whose register `offset` is, and which of its registers.
void write_channel_register(int32_t offset, uint8_t value) {
    for (int index = 0; index < 4; ++index) {
        const channel_registers& regs = registers_of[index];
        apu_channel& c = apu.channels[index];
        if (offset == regs.length) {
            c.length.left = length_from(index, value);
        } else if (offset == regs.dac) {
            write_envelope(index, value);
        } else if (offset == regs.low) {
            c.frequency = (c.frequency & 0x700) | value;
        } else if (offset == regs.high) {
            write_control(index, value);
        }
    }
}

// The monochrome console's length counters keep power: while the sound is
// off, NRx1 still loads them (and stores nothing else).
void load_length_while_off(int32_t offset, uint8_t value) {
    for (int index = 0; index < 4; ++index) {
        if (offset == registers_of[index].length) {
            apu.channels[index].length.left = length_from(index, value);
        }
    }
}

// Power-off clears NR10-NR51 and every channel, the waveforms back at their
// first step; wave RAM, and on the monochrome console the length counters,
// stay as they are.
void power_off() {
    std::fill(io_page + NR10, io_page + NR52, 0);
    for (apu_channel& c : apu.channels) {
        const int32_t length_left = c.length.left;
        c = {};
        c.length.left = monochrome_sound() ? length_left : 0;
    }
    apu.sweep = {};
    apu.wave_sample = 0;
}

void write_power(uint8_t value) {
    const bool on = (value & 0x80) != 0;
    if (apu.powered && !on) {
        power_off();
    } else if (!apu.powered && on) {
        apu.sequencer_step = 0;
    }
    apu.powered = on;
}

// The wave RAM cell a CPU access to `offset` reaches. While the wave channel
// plays it holds wave RAM: the access reaches the byte the channel reads, on
// the monochrome console only in the cycles just after it read it (else none).
uint8_t* wave_cell(int32_t offset) {
    const apu_channel& wave = apu.channels[2];
    if (!wave.on) {
        return io_page + offset;
    }
    if (monochrome_sound() && wave.since_step >= wave_access_cycles) {
        return nullptr;
    }
    return io_page + wave_ram + (wave.step >> 1);
}

void follow_div(uint8_t before, uint8_t after) {
    if ((before & 0x10) != 0 && (after & 0x10) == 0) {
        apu_catch_up();
        apu_clock_sequencer();
    }
}

uint8_t status_bits() {
    uint8_t bits = 0;
    for (int index = 0; index < 4; ++index) {
        bits |= apu.channels[index].on ? 1 << index : 0;
    }
    return bits;
}

}  // namespace

void apu_reset() {
    for (apu_channel& c : apu.channels) {
        c = {};
    }
    apu.sweep = {};
    apu.lfsr = 0x7FFF;
    apu.wave_sample = 0;
    apu.powered = true;
    apu.sequencer_step = 0;
    apu.frame_cycles = 0;
    apu.pending_cycles = 0;
    apu.counted_div = div_cycles;
    reset_mixer();
}

void apu_restart(uint8_t playing) {
    apu_reset();
    apu.powered = (io_page[NR52] & 0x80) != 0;
    for (int index = 0; index < 4; ++index) {
        const channel_registers& regs = registers_of[index];
        apu_channel& c = apu.channels[index];
        c.dac = has_dac(index, io_page[regs.dac]);
        c.length.left = length_from(index, io_page[regs.length]);
        c.length.enabled = (io_page[regs.high] & 0x40) != 0;
        c.frequency = regs.low >= 0 ? (io_page[regs.high] & 7) << 8 | io_page[regs.low] : 0;
        if (apu.powered && (playing >> index) & 1) {
            trigger(index);
        }
    }
}

bool apu_write(int32_t offset, uint8_t value) {
    apu_catch_up();
    if (offset >= wave_ram) {
        uint8_t* cell = wave_cell(offset);
        if (cell) {
            *cell = value;
        }
        return cell == io_page + offset;
    }
    if (offset == NR52) {
        write_power(value);
        io_page[offset] = value;
        return true;
    }
    if (!apu.powered) {
        if (monochrome_sound()) {
            load_length_while_off(offset, value);
        }
        return false;
    }
    io_page[offset] = value;
    if (offset == NR10 && apu.sweep.subtracted && (value & 0x08) == 0) {
        apu.channels[0].on = false;
    }
    write_channel_register(offset, value);
    return true;
}

uint8_t apu_read(int32_t offset) {
    if (offset >= wave_ram) {
        const uint8_t* cell = wave_cell(offset);
        return cell ? *cell : 0xFF;
    }
    if (offset == NR52) {
        return static_cast<uint8_t>((apu.powered ? 0x80 : 0) | 0x70 | status_bits());
    }
    if (offset > NR52) {
        return 0xFF;
    }
    return io_page[offset] | read_back_ones[offset - NR10];
}

uint8_t apu_read_levels(int32_t offset) {
    const int first = offset == 0x76 ? 0 : 2;
    return static_cast<uint8_t>(output_of(first) | output_of(first + 1) << 4);
}

bool monochrome_sound() {
    return !machine().colour_hardware();
}

void apu_div_stepped(uint8_t before, uint8_t after, int32_t step_cycles) {
    if (!accurate_sound) {
        return;
    }
    apu.pending_cycles += step_cycles - apu.counted_div;
    apu.counted_div = 0;
    follow_div(before, after);
}

void apu_div_written(uint8_t before) {
    if (accurate_sound) {
        follow_div(before, 0x00);
    }
}

void settle_apu() {
    constexpr int32_t longest_step = 1 << 21;  // noise at its slowest, and more
    for (int index = 0; index < 4; ++index) {
        apu_channel& c = apu.channels[index];
        c.on = c.on ? 1 : 0;
        c.dac = c.dac ? 1 : 0;
        c.length.enabled = c.length.enabled ? 1 : 0;
        c.length.left = std::clamp(c.length.left, 0, registers_of[index].full_length);
        c.envelope.volume = std::clamp(c.envelope.volume, 0, 15);
        c.envelope.period &= 7;
        c.envelope.up = c.envelope.up ? 1 : 0;
        c.envelope.stopped = c.envelope.stopped ? 1 : 0;
        c.envelope.timer = std::clamp(c.envelope.timer, 0, 9);  // 8, one more after a trigger
        c.frequency &= highest_frequency;
        c.timer = std::clamp(c.timer, 1, longest_step);
        c.since_step = std::clamp(c.since_step, 0, longest_step);
        c.step &= index == 2 ? 31 : 7;
        c.sum = std::clamp(c.sum, 0, 15 * cycles_per_mixed_frame);  // the frame mixed so far
    }
    apu.sweep.shadow &= highest_frequency;
    apu.sweep.timer = std::clamp(apu.sweep.timer, 0, 8);
    apu.sweep.enabled = apu.sweep.enabled ? 1 : 0;
    apu.sweep.subtracted = apu.sweep.subtracted ? 1 : 0;
    apu.lfsr &= 0x7FFF;
    apu.powered = apu.powered ? 1 : 0;
    apu.sequencer_step &= 7;
    apu.frame_cycles = std::clamp(apu.frame_cycles, 0, cycles_per_mixed_frame - 1);
    apu.pending_cycles = 0;
    apu.counted_div = div_cycles;
}

void apu_advance(int32_t cycles) {
    run_channels(cycles);
}

void apu_clock_sequencer() {
    if (apu.powered) {
        step_sequencer();
    }
}

// Console cycles are CPU cycles shifted by the speed; a remainder waits.
void apu_catch_up() {
    apu.pending_cycles += div_cycles - apu.counted_div;
    apu.counted_div = div_cycles;
    const int32_t cycles = apu.pending_cycles >> speed_shift;
    apu.pending_cycles -= cycles << speed_shift;
    run_channels(cycles);
}

}  // namespace tov
