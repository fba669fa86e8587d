// MBC1: a 5-bit bank register (BANK1, where 0 reads as 1), a 2-bit one
// (BANK2) that gives the upper ROM bank bits or the RAM bank, and a mode bit
// that also puts BANK2 before bank 0 and the RAM. Multicarts of 1 MiB wire
// BANK2 one address line lower and use only four bits of BANK1.
//
// controller.rom_select is BANK1, ram_select BANK2, mode the mode bit.
#include "cartridge/controllers.h"
#include "cartridge/slot.h"

namespace tov {

namespace {

void write(int32_t address, uint8_t value) {
    if (address < 0x2000) {
        controller.ram_enabled = opens_ram(value);
    } else if (address < 0x4000) {
        const uint8_t bank = value & 0x1F;
        controller.rom_select = bank == 0 ? 1 : bank;
    } else if (address < 0x6000) {
        controller.ram_select = value & 0x03;
    } else {
        controller.mode = value & 0x01;
    }
}

void map_wired(int upper_shift, int lower_mask) {
    const int32_t upper = controller.ram_select << upper_shift;
    show_low_rom(controller.mode ? upper : 0);
    show_high_rom(upper | (controller.rom_select & lower_mask));
    show_ram(controller.mode ? controller.ram_select : 0, controller.ram_enabled != 0);
}

void map() {
    map_wired(5, 0x1F);
}

void map_multicart() {
    map_wired(4, 0x0F);
}

}  // namespace

const controller_rules mbc1_rules = {write, map};
const controller_rules mbc1_multicart_rules = {write, map_multicart};

}  // namespace tov
