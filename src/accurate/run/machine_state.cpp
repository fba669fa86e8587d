#include "accurate/run/machine_state.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

#include "accurate/bus/bus.h"
#include "accurate/clock/clock.h"
#include "accurate/cpu/sm83.h"
#include "accurate/dma/oam_dma.h"
#include "accurate/dma/vram_dma.h"
#include "accurate/run/console.h"
#include "accurate/timer/serial.h"
#include "accurate/timer/sound_clock.h"
#include "accurate/timer/timer.h"
#include "accurate/video/lcd.h"
#include "accurate/video/line_drawing.h"
#include "apu/apu.h"
#include "apu/mixer.h"
#include "cartridge/real_time_clock.h"
#include "cartridge/slot.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "memory/io_registers.h"

namespace tov {

namespace {

// The registers the CPU shares with the machine record, as plain words.
struct cpu_registers {
    uint16_t af = 0, bc = 0, de = 0, hl = 0, sp = 0, pc = 0;
    uint8_t ime = 0;
    uint8_t halted = 0;
};
cpu_registers registers;

struct model_record {
    uint8_t colour_model = 0;
    uint8_t colour_mode = 0;
};
model_record model;

// The colour model's work RAM bank; the cartridge's banks are the slot's.
struct work_ram_record {
    uint8_t wram_bank = 0;
};
work_ram_record work_ram;

// The frames left undrawn before the next drawn one, with frame skip on.
struct frame_skip_record {
    uint8_t skip_counter = 0;
};
frame_skip_record frame_skip_phase;

void settle_nothing() {}

void settle_work_ram() {
    work_ram.wram_bank = std::min<uint8_t>(work_ram.wram_bank, 6);
}

// Frame skip leaves at most three frames undrawn.
void settle_frame_skip() {
    frame_skip_phase.skip_counter = std::min<uint8_t>(frame_skip_phase.skip_counter, 3);
}

void settle_registers() {
    registers.af &= 0xFFF0;
    registers.ime = registers.ime ? 1 : 0;
    registers.halted = registers.halted ? 1 : 0;
}

void settle_model() {
    model.colour_model = model.colour_model ? 1 : 0;
    model.colour_mode = model.colour_model && model.colour_mode ? 1 : 0;
}

template <auto& record>
void power_on_record() {
    record = std::remove_reference_t<decltype(record)>{};
}

template <auto& memory>
void clear_memory() {
    std::fill(std::begin(memory), std::end(memory), 0);
}

template <auto& record>
constexpr state_section record_section(const char (&tag)[5], void (*settle)()) {
    static_assert(std::is_trivially_copyable_v<std::remove_reference_t<decltype(record)>>,
                  "a record is written and read as its bytes");
    return {{tag[0], tag[1], tag[2], tag[3], '\0'},
            &record,
            sizeof record,
            power_on_record<record>,
            settle};
}

template <auto& memory>
constexpr state_section memory_section(const char (&tag)[5]) {
    return {{tag[0], tag[1], tag[2], tag[3], '\0'},
            memory,
            sizeof memory,
            clear_memory<memory>,
            settle_nothing};
}

const state_section sections[] = {
    record_section<model>("MODL", settle_model),
    record_section<registers>("CPU ", settle_registers),
    record_section<sm83>("SM83", settle_sm83),
    record_section<machine_clock>("CLCK", settle_clock),
    record_section<timer>("TIMR", settle_timer),
    record_section<serial>("SERL", settle_serial),
    record_section<lcd>("LCD ", settle_lcd),
    record_section<line_drawing>("DRAW", settle_line_drawing),
    record_section<frame_skip_phase>("SKIP", settle_frame_skip),
    record_section<oam_dma>("ODMA", settle_oam_dma),
    record_section<vram_dma>("VDMA", settle_vram_dma),
    record_section<sound_clock>("SNDC", settle_sound_clock),
    record_section<apu>("APU ", settle_apu),
    record_section<mixer>("MIXR", settle_mixer),
    record_section<joypad_port>("JOYP", settle_joypad_port),
    record_section<work_ram>("SVBK", settle_work_ram),
    record_section<controller>("MBC ", settle_slot),
    record_section<rtc>("RTC ", settle_nothing),
    memory_section<io_page>("IOPG"),
    memory_section<vram>("VRAM"),
    memory_section<wram0>("WRM0"),
    memory_section<wram_banks>("WRMB"),
    memory_section<oam>("OAM "),
    memory_section<cartridge_ram>("CRAM"),
    memory_section<bg_colours>("BGPL"),
    memory_section<obj_colours>("OBPL"),
};

}  // namespace

std::span<const state_section> accurate_state_sections() {
    return sections;
}

void gather_accurate_state() {
    catch_up_oam_dma();
    catch_up_sound();
    F = packed_flags();
    registers = {static_cast<uint16_t>(AF.value), static_cast<uint16_t>(BC.value),
                 static_cast<uint16_t>(DE.value), static_cast<uint16_t>(HL.value),
                 static_cast<uint16_t>(SP.value), static_cast<uint16_t>(PC.value),
                 static_cast<uint8_t>(ime),       static_cast<uint8_t>(halted)};
    model = {colour_model, colour_mode};
    work_ram = {wram_bank};
    frame_skip_phase = {skip_counter};
    catch_up_real_time_clock();
}

void adopt_accurate_state() {
    AF.value = registers.af;
    BC.value = registers.bc;
    DE.value = registers.de;
    HL.value = registers.hl;
    SP.value = registers.sp;
    PC.value = registers.pc;
    unpack_flags();
    ime = registers.ime;
    halted = registers.halted;
    colour_model = model.colour_model;
    colour_mode = model.colour_mode;
    wram_bank = work_ram.wram_bank;
    skip_counter = frame_skip_phase.skip_counter;
    std::copy(std::begin(wram0), std::end(wram0), echo_ram);
    use_model_shades();
    write_io_register(LCDC, io_page[LCDC]);
    lcd.frame_done = 0;
    drop_mixed_frames();  // they belong to the machine before
}

}  // namespace tov
