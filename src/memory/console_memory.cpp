#include "memory/console_memory.h"

namespace tov {

void write_console_memory(int32_t address, uint8_t value) {
    if (!console_address(address)) {
        return;
    }
    if (address < 0xA000) {
        vram[vram_bank_offset() + address - 0x8000] = value;
    } else if (address < 0xD000) {
        wram0[address - 0xC000] = value;
        echo_ram[address - 0xC000] = value;
    } else if (address >= 0xE000 && address < 0xF000) {
        echo_ram[address - 0xE000] = value;
        wram0[address - 0xE000] = value;
    } else if (address < 0xFE00) {
        wram_banks[wram_bank_index(address)] = value;
    } else if (address >= 0xFF00) {
        io_page[address - 0xFF00] = value;
    } else if (address < 0xFEA0) {
        oam[address - 0xFE00] = value;
    }
}

}  // namespace tov
