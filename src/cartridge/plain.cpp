// A cartridge without a controller: 32 KiB of ROM at 0000-7FFF and, when
// it has any, RAM always open at A000-BFFF.
#include "cartridge/controllers.h"

namespace tov {

namespace {

void write(int32_t, uint8_t) {}

void map() {
    show_low_rom(0);
    show_high_rom(1);
    show_ram(0, true);
}

}  // namespace

const controller_rules plain_rules = {write, map};

}  // namespace tov
