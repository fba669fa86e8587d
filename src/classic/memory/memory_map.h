// The emulated 64 KiB address space: which memory each range reaches, the
// bank register of the cartridge, the colour model's VRAM and work-RAM banks,
// and the paths through which the CPU and the tools reach memory.
#pragma once

#include <cstdint>

#include "machine/memory.h"

namespace tov {

// The CPU's read: frozen cheat values first, then the joypad refresh on FF00,
// the read masks of the write-only and status registers, then the memory.
uint8_t read_byte(int32_t address);

// The CPU's write: I/O registers go to their handlers, the cartridge range
// to the bank register, everything else to memory.
void write_byte(int32_t address, uint8_t value);

// Plain banked read, without cheats, joypad refresh or read masks.
uint8_t peek_byte(int32_t address);

// I/O register `offset` (00-FF) as the CPU reads it, a frozen value first,
// without a read's side effects: P1 as its last read left it.
uint8_t peek_io(int32_t offset);

// Plain banked store, without I/O side effects or bank-register decoding.
void poke_byte(int32_t address, uint8_t value);

// A write to the cartridge's bank register, 0000-7FFF.
void write_bank_register(int32_t address, uint8_t value);

// Whether the cartridge has a clock (types 0F and 10) whose registers a bank
// number of 08-0C chooses.
bool has_clock();

}  // namespace tov
