// MBC2: one register range, 0000-3FFF, where address bit 8 chooses between
// the RAM enable (clear) and the 4-bit ROM bank (set, 0 reads as 1); its
// own 512 four-bit cells repeat over A000-BFFF and read with the upper
// nibble set.
#include "cartridge/controllers.h"
#include "cartridge/slot.h"

namespace tov {

namespace {

void write(int32_t address, uint8_t value) {
    if (address >= 0x4000) {
        return;
    }
    if (address & 0x0100) {
        const uint8_t bank = value & 0x0F;
        controller.rom_select = bank == 0 ? 1 : bank;
    } else {
        controller.ram_enabled = opens_ram(value);
    }
}

void map() {
    show_low_rom(0);
    show_high_rom(controller.rom_select);
    show_ram(0, controller.ram_enabled != 0);
    view.ram = ram_view::nibbles;
}

}  // namespace

const controller_rules mbc2_rules = {write, map};

}  // namespace tov
