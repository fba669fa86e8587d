// The emulated 64 KiB address space: where each range is stored, the bank
// register of the cartridge, the colour model's VRAM and work-RAM banks, and
// the paths through which the CPU and the tools reach memory.
//
// Banked memories are interleaved: byte o of bank b of a memory with n banks
// is element o * n + b, so a bank switch is a single byte store.
#pragma once

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

// The CPU's read: frozen cheat values first, then the joypad refresh on FF00,
// the read masks of the write-only and status registers, then the memory.
uint8_t read_byte(int32_t address);

// The CPU's write: I/O registers go to their handlers, the cartridge range
// to the bank register, everything else to memory.
void write_byte(int32_t address, uint8_t value);

// Plain banked read, without cheats, joypad refresh or read masks.
uint8_t peek_byte(int32_t address);

// Plain banked store, without I/O side effects or bank-register decoding.
void poke_byte(int32_t address, uint8_t value);

// Offset of the VRAM bank in use within vram (bank 1 only in colour mode).
int32_t vram_bank_offset();

// wram_bank from an SVBK value: 0 and 1 select index 0, 2-7 select 1-6.
uint8_t wram_bank_from_svbk(uint8_t value);

}  // namespace tov
