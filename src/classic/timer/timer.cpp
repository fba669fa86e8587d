#include "classic/timer/timer.h"

#include <algorithm>
#include <cstdint>

#include "apu/apu.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"

namespace tov {

// Cycles per unprefixed opcode. Where these differ from the commonly
// published timings they are this machine's own: INC/DEC (HL) 8, the ALU
// immediates 4, RET and RETI 20, LD (nn),A and LD A,(nn) 4, conditional
// jumps, calls and returns the same whether taken or not. CB and the
// undefined opcodes cost 0 here.
// clang-format off
const std::array<uint8_t, 256> cycle_table = {
//   x0  x1  x2  x3  x4  x5  x6  x7  x8  x9  xA  xB  xC  xD  xE  xF
      4, 12,  8,  8,  4,  4,  8,  4, 20,  8,  8,  8,  4,  4,  8,  4,  // 0x
      4, 12,  8,  8,  4,  4,  8,  4, 12,  8,  8,  8,  4,  4,  8,  4,  // 1x
      8, 12,  8,  8,  4,  4,  8,  4,  8,  8,  8,  8,  4,  4,  8,  4,  // 2x
      8, 12,  8,  8,  8,  8, 12,  4,  8,  8,  8,  8,  4,  4,  8,  4,  // 3x
      4,  4,  4,  4,  4,  4,  8,  4,  4,  4,  4,  4,  4,  4,  8,  4,  // 4x
      4,  4,  4,  4,  4,  4,  8,  4,  4,  4,  4,  4,  4,  4,  8,  4,  // 5x
      4,  4,  4,  4,  4,  4,  8,  4,  4,  4,  4,  4,  4,  4,  8,  4,  // 6x
      8,  8,  8,  8,  8,  8,  4,  8,  4,  4,  4,  4,  4,  4,  8,  4,  // 7x
      4,  4,  4,  4,  4,  4,  8,  4,  4,  4,  4,  4,  4,  4,  8,  4,  // 8x
      4,  4,  4,  4,  4,  4,  8,  4,  4,  4,  4,  4,  4,  4,  8,  4,  // 9x
      4,  4,  4,  4,  4,  4,  8,  4,  4,  4,  4,  4,  4,  4,  8,  4,  // Ax
      4,  4,  4,  4,  4,  4,  8,  4,  4,  4,  4,  4,  4,  4,  8,  4,  // Bx
      8, 12, 12, 16, 12, 16,  4, 16,  8, 20, 12,  0, 12, 24,  4, 16,  // Cx
      8, 12, 12,  0, 12, 16,  4, 16,  8, 20, 12,  0, 12,  0,  4, 16,  // Dx
     12, 12,  8,  0,  0, 16,  4, 16, 16,  4,  4,  0,  0,  0,  4, 16,  // Ex
     12, 12,  8,  4,  0, 16,  4, 16, 12,  8,  4,  4,  0,  0,  4, 16,  // Fx
};
// clang-format on

// 16 for the instructions on (HL) (low three bits 6), 8 for the others.
const std::array<uint8_t, 256> cb_cycle_table = [] {
    std::array<uint8_t, 256> table{};
    for (int opcode = 0; opcode < 256; ++opcode) {
        table[opcode] = (opcode & 7) == 6 ? 16 : 8;
    }
    return table;
}();

namespace {

// TIMA periods in cycles by TAC bits 1-0: the console's 4096, 262144, 65536
// and 16384 Hz on a colour cartridge, in either speed. A monochrome cartridge
// runs twice the cycles per line, so its periods are twice as long and its
// timer keeps the same rate per frame.
constexpr int32_t colour_tima_periods[4] = {1024, 16, 64, 256};

// DIV skips FF, so it takes 255 values. The cycle-timed sound counts its
// time in DIV steps of `step_cycles` and follows it with its sequencer.
void increment_div(int32_t step_cycles) {
    const uint8_t before = io_page[DIV];
    const uint8_t div = static_cast<uint8_t>(before + 1);
    io_page[DIV] = div == 0xFF ? 0x00 : div;
    div_cycles = 0;
    apu_div_stepped(before, io_page[DIV], step_cycles);
}

// DIV steps once a charge lifts its counter above the threshold; the excess
// is dropped.
void step_div(int32_t cycles) {
    div_cycles += cycles;
    if (div_cycles > (256 << speed_shift)) {
        increment_div(div_cycles);
    }
}

// `count` charges of `cycles`, one DIV step at a time instead of one charge.
void step_div_repeatedly(int32_t cycles, int32_t count) {
    const int32_t threshold = 256 << speed_shift;
    while (count > 0) {
        const int32_t until_step =
            div_cycles > threshold ? 1 : (threshold - div_cycles) / cycles + 1;
        if (until_step > count) {
            div_cycles += count * cycles;
            return;
        }
        count -= until_step;
        increment_div(div_cycles + until_step * cycles);
    }
}

// TIMA never settles at FF: reaching it reloads TMA and requests the timer
// interrupt.
void tick_tima() {
    const uint8_t tima = static_cast<uint8_t>(io_page[TIMA] + 1);
    if (tima == 0xFF) {
        io_page[TIMA] = io_page[TMA];
        io_page[IF] |= interrupt_timer;
    } else {
        io_page[TIMA] = tima;
    }
}

// A TAC write sets the period before the timer can run; the floor only keeps
// a cleared period from looping forever.
int32_t step_period() {
    return std::max(tima_period, 1);
}

// TIMA steps once for every whole period the counter passes; the remainder
// carries over, so short periods keep their exact rate.
void step_tima(int32_t cycles) {
    tima_cycles += cycles;
    const int32_t period = step_period();
    while (tima_cycles > period) {
        tima_cycles -= period;
        tick_tima();
    }
}

void charge(int32_t cycles) {
    line_cycles += cycles;
    step_div(cycles);
    if (timer_running) {
        step_tima(cycles);
    }
}

}  // namespace

void charge_cycles(uint8_t opcode) {
    charge(cycle_table[opcode]);
}

void charge_cb_cycles(uint8_t opcode) {
    charge(cb_cycle_table[opcode]);
}

int32_t charges_before_reload(int32_t cycles) {
    if (!timer_running) {
        return INT32_MAX;
    }
    // TIMA reloads on the step that would make it FF; from FF it first wraps.
    const int64_t steps_to_reload = io_page[TIMA] == 0xFF ? 256 : 0xFF - io_page[TIMA];
    const int64_t cycles_to_reload = steps_to_reload * step_period() - tima_cycles;
    return static_cast<int32_t>(std::clamp<int64_t>(cycles_to_reload / cycles, 0, INT32_MAX));
}

void charge_repeatedly(int32_t cycles, int32_t count) {
    line_cycles += cycles * count;
    step_div_repeatedly(cycles, count);
    if (timer_running) {
        tima_cycles += cycles * count;
        const int32_t period = step_period();
        if (tima_cycles > period) {
            const int32_t steps = (tima_cycles - 1) / period;
            tima_cycles -= steps * period;
            io_page[TIMA] = static_cast<uint8_t>(io_page[TIMA] + steps);
        }
    }
}

int32_t tima_period_for_tac(uint8_t value) {
    return colour_tima_periods[value & 3] << (colour_mode ? 0 : 1);
}

void write_tac(uint8_t value) {
    if (timer_option == 1) {
        timer_running = (value >> 2) & 1;
    }
    tima_period = tima_period_for_tac(value);
}

}  // namespace tov
