// The machine's memories as stored: cartridge ROM and RAM, video RAM, work
// RAM and its echo, sprite memory and the I/O page, with the bank state that
// selects among them. The memory map (memory/memory_map.h) is the only way
// the CPU reaches them.
//
// Banked memories are interleaved: byte o of bank b of a memory with n banks
// is element o * n + b, so a bank switch is a single byte store.
#pragma once

#include <algorithm>
#include <cstdint>

namespace tov {

constexpr int32_t rom_bank_size = 0x4000;
constexpr int32_t rom_bank_count = 256;
constexpr int32_t vram_bank_size = 0x2000;
constexpr int32_t cart_ram_bank_size = 0x2000;
constexpr int32_t cart_ram_bank_count = 5;
constexpr int32_t wram_bank_size = 0x1000;
constexpr int32_t wram_bank_count = 8;
constexpr int32_t oam_size = 160;

extern uint8_t rom_bank0[rom_bank_size];
extern uint8_t rom_banks[rom_bank_size * rom_bank_count];
extern uint8_t vram[vram_bank_size * 2];
extern uint8_t cart_ram[cart_ram_bank_size * cart_ram_bank_count];
extern uint8_t wram0[wram_bank_size];
extern uint8_t wram_banks[wram_bank_size * wram_bank_count];
extern uint8_t echo_ram[wram_bank_size];
extern uint8_t oam[oam_size];
extern uint8_t io_page[256];

// Bank state. Invariants that keep every access inside its array:
// ram_bank is 0-4 (the bank register gives 0-3, a save state may hold 4)
// and wram_bank is 0-7.
extern uint8_t ram_enable;
extern uint8_t rom_bank;
extern uint8_t ram_bank;
extern uint8_t bank_mode;
extern uint8_t wram_bank;

// The 16 KiB banks of the cartridge file that were loaded (a shorter last
// part not counted), at least 1, and that last part, padded with FF, for
// the accurate machine, which reaches it as the bank after them.
extern int32_t rom_banks_loaded;
extern uint8_t rom_last_part[rom_bank_size];
extern int32_t rom_last_part_size;

// The loaded banks, bank 0 counted; the padded last part, when the file has
// one, is the bank after them.
inline int whole_rom_banks() {
    return std::clamp(rom_banks_loaded, 1, rom_bank_count);
}

// Whether ROM bank `bank` is the file's padded last part.
inline bool is_rom_last_part(int bank) {
    return rom_last_part_size > 0 && bank == whole_rom_banks();
}

// Where byte `offset` (0-3FFF) of ROM bank `bank` is kept.
inline uint8_t* rom_bank_element(int bank, int32_t offset) {
    return is_rom_last_part(bank) ? rom_last_part + offset
                                  : rom_banks + offset * rom_bank_count + bank;
}

// On a cartridge with a clock (types 0F and 10), 1 while a write of 08-0C
// to 4000-5FFF has chosen the clock's registers instead of a RAM bank.
extern uint8_t clock_selected;

}  // namespace tov
