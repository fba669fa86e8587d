#include "accurate/machine/accurate_machine.h"

#include <algorithm>
#include <cstdio>

#include "accurate/bus/bus.h"
#include "accurate/memory/memory_peek.h"
#include "accurate/run/console.h"
#include "accurate/state/accurate_state.h"
#include "accurate/timer/serial.h"
#include "accurate/timer/timer.h"
#include "accurate/video/lcd.h"
#include "cartridge/slot.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/registers.h"
#include "memory/console_memory.h"
#include "persist/cartridge_save.h"

namespace tov {

namespace {

save_ram_layout save_ram() {
    return {board.ram_size, board.clock, board.kind == controller_kind::mbc2};
}

uint8_t& save_ram_byte(int32_t index) {
    return cartridge_ram[index];
}

bool cartridge_ram_address(int32_t address) {
    return address >= 0xA000 && address < 0xC000;
}

// The units keep these registers in records of their own.
uint8_t page_byte(int32_t offset) {
    switch (offset & 0xFF) {
        case DIV: return read_div();
        case TIMA: return read_tima();
        case TMA: return timer.tma;
        case TAC: return static_cast<uint8_t>(0xF8 | timer.tac);
        case SB: return read_sb();
        case SC: return read_sc(colour_mode == 1);
        case STAT: return read_stat();
        case LY: return read_ly();
        default: return io_page[offset & 0xFF];
    }
}

void write_ram_bank(int bank, int32_t offset, uint8_t value) {
    cartridge_ram[bank * cart_ram_bank_size + offset] = value;
}

bank_registers banks() {
    return {controller.ram_enabled, static_cast<uint8_t>(controller.rom_select), controller.mode};
}

// The ROM bank the slot shows at 4000-7FFF.
int rom_bank_in_view() {
    if (view.high_rom == rom_last_part) {
        return whole_rom_banks();
    }
    if (view.high_rom == rom_bank0) {
        return 0;
    }
    return static_cast<int>(view.high_rom - rom_banks);
}

int ram_bank_in_view() {
    return static_cast<int>((view.ram_bank - cartridge_ram) / cart_ram_bank_size);
}

// The header's RAM, in banks of at most 8 KiB.
int ram_bank_count() {
    if (board.ram_size == 0) {
        return 0;
    }
    return std::clamp(board.ram_size / cart_ram_bank_size, 1,
                      cartridge_ram_size / cart_ram_bank_size);
}

// A RAM smaller than a bank repeats through it, as the slot shows it.
uint8_t* ram_element(int bank, int32_t offset) {
    const int32_t bank_size = std::min(board.ram_size, cart_ram_bank_size);
    return cartridge_ram + bank * cart_ram_bank_size + (offset & (bank_size - 1));
}

// The ROM byte the slot shows at `address` (0000-7FFF).
uint8_t& rom_in_view(int32_t address) {
    if (address < 0x4000) {
        return rom_bank0[address];
    }
    return *rom_bank_element(rom_bank_in_view(), address - 0x4000);
}

void poke(int32_t address, uint8_t value) {
    if (address >= 0 && address < 0x8000) {
        rom_in_view(address) = value;
    } else if (cartridge_ram_address(address)) {
        write_cartridge_ram(address, value);
    } else {
        write_console_memory(address, value);
    }
}

std::string cartridge_note() {
    if (board.known) {
        return {};
    }
    char type[8];
    std::snprintf(type, sizeof type, "%02X", rom_bank0[0x0147]);
    return std::string("Cartridge type ") + type +
           " is not known to the accurate machine: it runs as MBC5";
}

}  // namespace

const machine_interface accurate_machine = {
    .has_models = true,
    .cycle_timed_sound_only = true,
    .power_on = power_on_accurate_machine,
    .run_slice = run_accurate_frame,
    .end_slice = [] {},
    .run_frame = run_accurate_frame,
    .step = step_accurate_machine,
    .debugger_first_step = step_accurate_instruction,
    .debugger_step = step_accurate_instruction,
    .state_image = accurate_state_image,
    .owns_state = is_accurate_state,
    .restore_state = restore_accurate_state,
    .state_hint =
        "this state was saved by the accurate machine: switch Emulation > Accurate "
        "machine on to load it.",
    .write_battery = save_cartridge_ram,
    .read_battery = load_cartridge_ram,
    .save_ram = save_ram,
    .save_ram_byte = save_ram_byte,
    .code_byte = bus_read,
    .peek = accurate_peek,
    .io_register = page_byte,
    .read_register = page_byte,
    .poke = poke,
    .write_cartridge_ram = write_ram_bank,
    .banks = banks,
    .rom_bank_in_view = rom_bank_in_view,
    .ram_bank_in_view = ram_bank_in_view,
    .ram_bank_count = ram_bank_count,
    .ram_element = ram_element,
    .pokes_cartridge = false,
    .use_shades = use_model_shades,
    .full_range_colours = true,
    .colour_hardware = [] { return colour_model != 0; },
    .cartridge_note = cartridge_note,
    .rumbling = [] { return controller.motor != 0; },
};

}  // namespace tov
