// HuC1: 0E at 0000-1FFF puts the infrared port at A000-BFFF, any other
// value the RAM, which has no enable of its own; a 6-bit ROM bank (0 reads
// as 1) and 2-bit RAM bank. The infrared port sees no light.
//
// controller.mode is 1 while the infrared port is chosen.
#include "cartridge/controllers.h"
#include "cartridge/slot.h"

namespace tov {

namespace {

void write(int32_t address, uint8_t value) {
    if (address < 0x2000) {
        controller.mode = value == 0x0E ? 1 : 0;
    } else if (address < 0x4000) {
        const uint8_t bank = value & 0x3F;
        controller.rom_select = bank == 0 ? 1 : bank;
    } else if (address < 0x6000) {
        controller.ram_select = value & 0x03;
    }
}

void map() {
    show_low_rom(0);
    show_high_rom(controller.rom_select);
    show_ram(controller.ram_select, true);
    if (controller.mode) {
        view.ram = ram_view::infrared;
    }
}

}  // namespace

const controller_rules huc1_rules = {write, map};

}  // namespace tov
