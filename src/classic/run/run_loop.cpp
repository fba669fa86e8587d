#include "classic/run/run_loop.h"

#include <algorithm>

#include "classic/cpu/cpu.h"
#include "classic/cpu/interrupts.h"
#include "classic/memory/io_writes.h"
#include "classic/memory/memory_map.h"
#include "classic/timer/timer.h"
#include "classic/video/renderer.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/shell_flags.h"
#include "machine/timing.h"
#include "memory/io_registers.h"
#include "run/frame_driver.h"

namespace tov {

namespace {

constexpr int vblank_line = 144;
constexpr int last_line = 153;

uint8_t& ly() {
    return io_page[LY];
}
uint8_t& stat() {
    return io_page[STAT];
}

int stat_mode() {
    return stat() & 0x03;
}
void set_stat_mode(int mode) {
    stat() = static_cast<uint8_t>((stat() & 0xFC) | mode);
}

void request_interrupt(uint8_t bit) {
    io_page[IF] |= bit;
}

// A STAT request for an event whose enable bit is set in STAT.
void request_stat_if(uint8_t enable_bit, bool needs_lcd_on) {
    if ((stat() & enable_bit) && (!needs_lcd_on || lcdc_lcd_on)) {
        request_interrupt(interrupt_stat);
    }
}

void compare_ly_lyc(bool needs_lcd_on) {
    if (ly() == io_page[LYC]) {
        stat() |= 0x04;
        request_stat_if(0x40, needs_lcd_on);
    } else {
        stat() &= 0xFB;
    }
}

void render_current_line() {
    if (frame_drawn()) {
        render_line();
    }
}

// Variant 1: modes 2, 3, 0 per visible line, the line rendered when mode 3
// begins, VBlank at the first step on line 144.
void line_step_variant1() {
    const int s = speed_shift;
    if (line_cycles > (456 << s)) {
        line_cycles = 0;
        if (ly() == last_line) {
            ly() = 0;
        } else {
            ++ly();
            if (hdma_active == 1) {
                io_page[HDMA5] = 0x00;
                hdma_active = 0;
            }
        }
        // The new line's LY is compared, so an LYC handler's writes act on that line.
        compare_ly_lyc(false);
    }
    if (ly() < vblank_line) {
        const int mode3_end = (line_sprite_count * 12 + 284) << s;
        if (line_cycles < (207 << s)) {
            if (stat_mode() != 2) {
                set_stat_mode(2);
                request_stat_if(0x20, true);
            }
        } else if (line_cycles < mode3_end) {
            if (stat_mode() != 3) {
                render_ly = ly();
                render_current_line();
                set_stat_mode(3);
            }
        } else if (stat_mode() != 0) {
            set_stat_mode(0);
            request_stat_if(0x08, true);
        }
    } else if (stat_mode() != 1) {
        finish_frame();
        set_stat_mode(1);
        request_stat_if(0x10, false);
        if (lcdc_lcd_on) {
            request_interrupt(interrupt_vblank);
        }
    }
}

// Variant 2: mode 0, then 2 to the end of each visible line, the line
// rendered when it ends, VBlank requested as line 144 ends and the frame
// presented when line 153 wraps. Every STAT request needs the LCD on and is
// repeated on every step while its condition holds.
void line_step_variant2() {
    const int s = speed_shift;
    if (line_cycles > (456 << s)) {
        line_cycles = 0;
        render_ly = ly();
        if (ly() < vblank_line) {
            render_current_line();
        }
        if (ly() == vblank_line) {
            if (lcdc_lcd_on) {
                request_interrupt(interrupt_vblank);
            }
            ++ly();
        } else if (ly() == last_line) {
            set_stat_mode(0);
            ly() = 0;
            finish_frame();
        } else {
            ++ly();
        }
        compare_ly_lyc(true);
    }
    if (ly() < vblank_line) {
        if (line_cycles <= (207 << s)) {
            set_stat_mode(0);
            request_stat_if(0x08, true);
        } else if (line_cycles < (284 << s)) {
            set_stat_mode(2);
            request_stat_if(0x20, true);
        }
    } else if (ly() > vblank_line) {
        set_stat_mode(1);
        request_stat_if(0x10, true);
    }
}

int32_t slice_length() {
    return (456 << speed_shift) << 8;
}

// Set by end_slice: the slice under way ends before its next step.
bool slice_ended = false;

// Steps from line_cycles on, while they stay below `end` cycles (and within
// the line), each adding `step` cycles.
int32_t steps_below(int32_t end, int32_t step) {
    const int32_t line_end = (456 << speed_shift) + 1;
    const int32_t limit = std::min(end, line_end) - line_cycles;
    return limit > 0 ? (limit + step - 1) / step : 0;
}

// Whether a STAT request for `enable_bit` would leave IF as it is.
bool request_changes_nothing(uint8_t enable_bit) {
    return !((stat() & enable_bit) && lcdc_lcd_on) || (io_page[IF] & interrupt_stat);
}

// The halted steps from now on whose line logic would change nothing in the
// variant 1 state machine, each adding `step` cycles.
int32_t quiet_line_steps_variant1(int32_t step) {
    const int s = speed_shift;
    const int32_t line_end = (456 << s) + 1;
    if (ly() >= vblank_line) {
        return stat_mode() == 1 ? steps_below(line_end, step) : 0;
    }
    const int32_t mode3_end = (line_sprite_count * 12 + 284) << s;
    if (line_cycles < (207 << s)) {
        return stat_mode() == 2 ? steps_below(207 << s, step) : 0;
    }
    if (line_cycles < mode3_end) {
        return stat_mode() == 3 ? steps_below(mode3_end, step) : 0;
    }
    return stat_mode() == 0 ? steps_below(line_end, step) : 0;
}

// The same for variant 2, whose requests repeat on every step: a repeated
// request changes nothing once IF holds it.
int32_t quiet_line_steps_variant2(int32_t step) {
    const int s = speed_shift;
    const int32_t line_end = (456 << s) + 1;
    if (ly() > vblank_line) {
        const bool quiet = stat_mode() == 1 && request_changes_nothing(0x10);
        return quiet ? steps_below(line_end, step) : 0;
    }
    if (ly() == vblank_line || line_cycles >= (284 << s)) {
        return steps_below(line_end, step);
    }
    if (line_cycles <= (207 << s)) {
        const bool quiet = stat_mode() == 0 && request_changes_nothing(0x08);
        return quiet ? steps_below((207 << s) + 1, step) : 0;
    }
    const bool quiet = stat_mode() == 2 && request_changes_nothing(0x20);
    return quiet ? steps_below(284 << s, step) : 0;
}

// How many steps a halted CPU can take from here that would do nothing but
// charge their cycles: no line, mode or interrupt request changes, no
// interrupt is taken and TIMA does not reload.
// The address the last step ran at: a step that starts there again ran an
// instruction that left PC where it was.
int32_t last_step_pc = -1;

// The cycles of a step at PC that would do nothing but charge them: a halted
// step, or a jump to itself (JP nn or JR -2, how programs wait for an
// interrupt); 0 for any other step.
int32_t idle_step_cycles() {
    if (halt_repeat == 1) {
        return 0;
    }
    if (halted == 1) {
        return cb_cycle_table[0x04];
    }
    const int32_t pc = PC.value;
    if (pc != last_step_pc || pc >= 0xFF00 - 2) {  // reads of the I/O page act
        return 0;
    }
    const uint8_t opcode = read_byte(pc);
    if (opcode == 0xC3 && (read_byte(pc + 1) | read_byte(pc + 2) << 8) == pc) {
        return cycle_table[0xC3];
    }
    if (opcode == 0x18 && read_byte(pc + 1) == 0xFE) {
        return cycle_table[0x18];
    }
    return 0;
}

// How many steps of `cycles` each can follow from here that would do nothing
// but charge them: no line, mode or interrupt request changes, no interrupt
// is taken and TIMA does not reload.
int32_t quiet_steps(int32_t cycles) {
    if (ime == 1 && (read_byte(io_address(IE)) & read_byte(io_address(IF)) & 0x1F) != 0) {
        return 0;
    }
    const int32_t line_steps =
        timing_variant == 0 ? quiet_line_steps_variant1(cycles) : quiet_line_steps_variant2(cycles);
    return std::min(line_steps, charges_before_reload(cycles));
}

}  // namespace

bool skip_idle_steps = true;

void execute_step() {
    dispatch_interrupts();
    if (halted == 1) {
        charge_cb_cycles(0x04);
    } else {
        execute_opcode(read_byte(PC.value));
        advance_pc(1);
    }
    if (halt_repeat == 1) {
        // The instruction after the HALT runs once more, with PC held one
        // below it, so an immediate operand starts at its opcode byte.
        advance_pc(-1);
        execute_opcode(read_byte((PC.value + 1) & 0xFFFF));
        halt_repeat = 0;
        advance_pc(1);
    }
}

void run_step() {
    if (timing_variant == 0) {
        line_step_variant1();
    } else {
        line_step_variant2();
    }
    execute_step();
}

int32_t run_steps(int32_t limit) {
    const int32_t cycles = skip_idle_steps ? idle_step_cycles() : 0;
    if (cycles > 0) {
        const int32_t quiet = std::min(quiet_steps(cycles), limit);
        if (quiet > 0) {
            charge_repeatedly(cycles, quiet);
            return quiet;
        }
    }
    last_step_pc = PC.value;
    run_step();
    return 1;
}

void run_frame() {
    const uint64_t frame = frame_counter;
    while (frame_counter == frame) {
        run_steps(INT32_MAX);
    }
}

void run_slice() {
    slice_ended = false;
    for (int32_t step = 0; step < slice_length() && !slice_ended;) {
        step += run_steps(slice_length() - step);
    }
}

void end_slice() {
    slice_ended = true;
}

}  // namespace tov
