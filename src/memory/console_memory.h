// The console's own memories as the CPU addresses them, which both machines
// share: video RAM in the bank VBK chooses, work RAM and its echo in the bank
// SVBK chose, OAM, the I/O page and high RAM. The cartridge's ROM and RAM
// are each machine's own.
#pragma once

#include <cstdint>

#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/registers.h"

namespace tov {

// Offset of the VRAM bank in use within vram (bank 1 only in colour mode).
inline int32_t vram_bank_offset() {
    return colour_mode && (io_page[VBK] & 1) ? vram_bank_size : 0;
}

// wram_bank from an SVBK value: 0 and 1 select index 0, 2-7 select 1-6.
inline uint8_t wram_bank_from_svbk(uint8_t value) {
    const uint8_t bank = value & 0x07;
    return bank == 0 ? 0 : static_cast<uint8_t>(bank - 1);
}

// D000-DFFF, and F000-FDFF, which mirrors D000-DDFF as the echo area does.
inline int32_t wram_bank_index(int32_t address) {
    return ((address - 0xD000) & 0x0FFF) * wram_bank_count + wram_bank;
}

// Whether `address` lies in these memories: 8000-9FFF or C000-FFFF.
inline bool console_address(int32_t address) {
    return (address >= 0x8000 && address < 0xA000) || (address >= 0xC000 && address <= 0xFFFF);
}

// The byte at `address` as stored, without a read's side effects; 0 outside
// these memories and at FEA0-FEFF.
inline uint8_t read_console_memory(int32_t address) {
    if (!console_address(address)) {
        return 0;
    }
    if (address < 0xA000) {
        return vram[vram_bank_offset() + address - 0x8000];
    }
    if (address < 0xD000) {
        return wram0[address - 0xC000];
    }
    if (address >= 0xE000 && address < 0xF000) {
        return echo_ram[address - 0xE000];
    }
    if (address < 0xFE00) {
        return wram_banks[wram_bank_index(address)];
    }
    if (address < 0xFF00) {
        return address < 0xFEA0 ? oam[address - 0xFE00] : 0;
    }
    return io_page[address - 0xFF00];
}

// Stores `value` at `address` without a write's side effects on the units;
// work RAM bank 0 and its echo are kept equal. Nothing outside these
// memories, nor at FEA0-FEFF.
void write_console_memory(int32_t address, uint8_t value);

}  // namespace tov
