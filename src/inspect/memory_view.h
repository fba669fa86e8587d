// The memory editor's view of the machine's memories: its regions with the
// banks the loaded cartridge has, each byte as stored, edits of single
// bytes, and the texts of its rows of 16 bytes.
//
// The cartridge's banks are the machine's in use. The I/O page shows the
// registers that the accurate machine's units keep in records of their own
// (DIV, TIMA, TMA, TAC, SB, SC, STAT, LY) as they stand; an edit of them
// reaches the page, not the units.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

// The regions in the editor's order; a region is named by its index.
enum memory_region : int {
    region_rom0,
    region_romx,
    region_vram,
    region_sram,
    region_wram0,
    region_wramx,
    region_oam,
    region_io,
};
constexpr int memory_region_count = 8;

struct region_info {
    const char* name;
    int32_t first_address;
    int32_t size;
    bool banked;     // its rows show the bank before the address
    int first_bank;  // ROMX and WRAMX count from 1
    int bank_count;  // 0 when the cartridge has none (no RAM on the slot)
};

// Region `region` for the cartridge loaded now; a bad index gives a region
// of no bytes and no banks.
region_info region_of(int region);

// The region that address (0000-FFFF) lies in, or -1 (echo RAM, FEA0-FEFF).
int region_at(int32_t address);

// The bank that address reaches in `region` now, as the memory map chooses
// it from the bank registers: the editor's first choice of bank. It may lie
// outside the region's banks (a bank register past the cartridge's end).
int bank_in_view(int region);

// Byte `offset` of bank `bank` of `region` as stored, or -1 when any of the
// three lies outside the region. Nothing is changed by looking.
int stored_byte(int region, int bank, int32_t offset);

// Stores `value` where stored_byte reads; false, and nothing stored, when
// the byte lies outside the region. A bank in view is written through
// poke_byte, the debugger's own path, so work RAM's echo stays equal.
bool store_byte(int region, int bank, int32_t offset, uint8_t value);

constexpr int row_bytes = 16;

// A row's texts: "BB:AAAA" (banked regions) or "AAAA", the bytes in hex,
// and the bytes as characters (printable ASCII as itself, else '.'). A
// byte outside the region shows as "--" and ' '.
struct memory_row {
    std::string address;
    std::array<std::string, row_bytes> bytes;
    std::string characters;
};

// The row of `region`'s bank `bank` that holds byte `offset`.
memory_row memory_row_at(int region, int bank, int32_t offset);

// A hex number typed by the user: "3F", "$3F" or "0x3F", spaces around
// allowed. Refused with a message when empty, not hex, or above `largest`.
struct hex_entry {
    bool ok;
    int32_t value;
    std::string message;
};

hex_entry parse_hex_entry(std::string_view text, int32_t largest);

// A byte typed into a cell, 00-FF.
inline hex_entry parse_byte_entry(std::string_view text) {
    return parse_hex_entry(text, 0xFF);
}

}  // namespace tov
