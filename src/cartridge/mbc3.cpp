// MBC3: a 7-bit ROM bank (8 bits on the 4 MiB boards, 0 reads as 1), RAM
// banks 00-03 (00-07 on those boards) or, on a board with a clock, the
// clock's registers 08-0C at 4000-5FFF, and the clock's latch at 6000-7FFF.
//
// controller.ram_select is the value last written to 4000-5FFF.
#include "cartridge/controllers.h"
#include "cartridge/real_time_clock.h"
#include "cartridge/slot.h"

namespace tov {

namespace {

bool large_board() {
    return board.rom_banks > 128;
}

void write(int32_t address, uint8_t value) {
    if (address < 0x2000) {
        controller.ram_enabled = opens_ram(value);
    } else if (address < 0x4000) {
        const uint8_t bank = value & (large_board() ? 0xFF : 0x7F);
        controller.rom_select = bank == 0 ? 1 : bank;
    } else if (address < 0x6000) {
        controller.ram_select = value & 0x0F;
    } else if (board.clock) {
        write_clock_latch(value);
    }
}

void map() {
    show_low_rom(0);
    show_high_rom(controller.rom_select);
    const uint8_t chosen = controller.ram_select;
    show_ram(chosen, controller.ram_enabled != 0);
    const bool clock_register = chosen >= 0x08 && chosen <= 0x0C;
    if (clock_register) {
        view.ram = board.clock ? ram_view::clock : ram_view::none;
    } else if (chosen > (large_board() ? 0x07 : 0x03)) {
        view.ram = ram_view::none;
    }
}

}  // namespace

const controller_rules mbc3_rules = {write, map};

}  // namespace tov
