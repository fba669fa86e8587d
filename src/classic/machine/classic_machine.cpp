#include "classic/machine/classic_machine.h"

#include <algorithm>

#include "apu/apu.h"
#include "cartridge/slot.h"
#include "classic/machine/page_steps.h"
#include "classic/memory/memory_map.h"
#include "classic/run/run_loop.h"
#include "classic/state/battery.h"
#include "classic/state/save_state.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "memory/cartridge.h"
#include "memory/io_registers.h"
#include "run/frame_driver.h"
#include "sound/channels.h"

namespace tov {

namespace {

// The cartridge's banks as a power-on selects them, the line and the timer
// at their start, and the CPU as the start-up program leaves it.
void power_on(model_choice, bool) {
    ram_enable = 1;
    rom_bank = 1;
    ram_bank = 0;
    clock_selected = 0;
    wram_bank = 0;
    io_page[IE] = 0;
    line_cycles = 0;
    div_cycles = 0;
    tima_cycles = 0;
    tima_period = 0;
    timer_running = 0;
    halted = 0;
    halt_repeat = 0;
    render_ly = 0;
    window_lines = {};  // the first picture does not depend on what ran before
    power_on_cpu();
    power_on_console();
    restart_sound_tick(now_ms);
}

bool owns_state(std::string_view image) {
    return image.size() == state_file_size;
}

// The state holds no cycle-timed sound: it starts afresh from the restored
// registers, with the channels the voices had sounding.
result restore(std::string_view image) {
    const result restored = restore_state(image);
    if (restored.ok && accurate_sound) {
        apu_restart(channel_status_bits());
    }
    return restored;
}

// The battery file is named after the cartridge that runs.
result write_battery(const std::string&) {
    return save_battery();
}

result read_battery(const std::string&) {
    return load_battery();
}

// The RAM the header names, as far as this machine's banks hold it; they
// hold no clock.
save_ram_layout save_ram() {
    const int32_t size =
        std::min(board_of_header().ram_size, cart_ram_bank_size * cart_ram_bank_count);
    return {size, false, false};
}

// The banks' bytes are interleaved: byte i of every bank lies together.
uint8_t& save_ram_byte(int32_t index) {
    const int32_t bank = index / cart_ram_bank_size;
    return cart_ram[(index % cart_ram_bank_size) * cart_ram_bank_count + bank];
}

uint8_t page_byte(int32_t offset) {
    return io_page[offset & 0xFF];
}

uint8_t register_read(int32_t offset) {
    return peek_io(offset & 0xFF);
}

uint8_t* ram_element(int bank, int32_t offset) {
    return cart_ram + offset * cart_ram_bank_count + bank;
}

void write_cartridge_ram(int bank, int32_t offset, uint8_t value) {
    *ram_element(bank & 3, offset) = value;
}

bank_registers banks() {
    return {ram_enable, rom_bank, bank_mode};
}

}  // namespace

const machine_interface classic_machine = {
    .has_models = false,
    .cycle_timed_sound_only = false,
    .power_on = power_on,
    .run_slice = run_slice,
    .end_slice = end_slice,
    .run_frame = run_frame,
    .step = run_step,
    .debugger_first_step = page_first_step,
    .debugger_step = page_step,
    .state_image = state_image,
    .owns_state = owns_state,
    .restore_state = restore,
    .state_hint =
        "this state was saved by TOV's own machine: switch Emulation > Accurate "
        "machine off to load it.",
    .write_battery = write_battery,
    .read_battery = read_battery,
    .save_ram = save_ram,
    .save_ram_byte = save_ram_byte,
    .code_byte = peek_byte,
    .peek = peek_byte,
    .io_register = page_byte,
    .read_register = register_read,
    .poke = poke_byte,
    .write_cartridge_ram = write_cartridge_ram,
    .banks = banks,
    .rom_bank_in_view = [] { return static_cast<int>(rom_bank); },
    .ram_bank_in_view = [] { return static_cast<int>(ram_bank); },
    .ram_bank_count = [] { return static_cast<int>(cart_ram_bank_count); },
    .ram_element = ram_element,
    .pokes_cartridge = true,
    .use_shades = use_palette_shades,
    .full_range_colours = false,
    .colour_hardware = [] { return colour_mode == 1; },
    .cartridge_note = [] { return std::string(); },
    .rumbling = [] { return false; },
};

}  // namespace tov
