// MBC5: a 9-bit ROM bank in two registers (2000-2FFF the low byte,
// 3000-3FFF bit 8; bank 0 can be chosen), 16 RAM banks, and the RAM enable
// taking exactly 0A. On a rumble board bit 3 of the RAM bank register
// drives the motor instead.
#include "cartridge/controllers.h"
#include "cartridge/slot.h"

namespace tov {

namespace {

void write(int32_t address, uint8_t value) {
    if (address < 0x2000) {
        controller.ram_enabled = value == 0x0A ? 1 : 0;
    } else if (address < 0x3000) {
        controller.rom_select = (controller.rom_select & 0x100) | value;
    } else if (address < 0x4000) {
        controller.rom_select = (controller.rom_select & 0xFF) | (value & 0x01) << 8;
    } else if (address < 0x6000) {
        controller.motor = board.rumble ? (value >> 3) & 0x01 : 0;
        controller.ram_select = value & (board.rumble ? 0x07 : 0x0F);
    }
}

void map() {
    show_low_rom(0);
    show_high_rom(controller.rom_select);
    show_ram(controller.ram_select, controller.ram_enabled != 0);
}

}  // namespace

const controller_rules mbc5_rules = {write, map};

}  // namespace tov
