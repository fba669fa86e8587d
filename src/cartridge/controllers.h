// The bank controllers behind the cartridge slot: each kind is a pair of
// rules in a file of its own, and they share the helpers below that put a
// bank in view. A new kind is one more file and one more row in the
// slot's table of kinds.
#pragma once

#include <cstdint>

namespace tov {

struct controller_rules {
    void (*write)(int32_t address, uint8_t value);  // a write to 0000-7FFF
    void (*map)();                                  // puts the banks the registers select in view
};

extern const controller_rules plain_rules;  // no controller: 32 KiB, maybe RAM
extern const controller_rules mbc1_rules;
extern const controller_rules mbc1_multicart_rules;
extern const controller_rules mbc2_rules;
extern const controller_rules mbc3_rules;
extern const controller_rules mbc5_rules;
extern const controller_rules huc1_rules;

// ROM bank `bank` (wrapped at the board's size) at 0000-3FFF or 4000-7FFF.
void show_low_rom(int32_t bank);
void show_high_rom(int32_t bank);

// RAM bank `bank` (wrapped at the RAM's size) at A000-BFFF when `open`,
// else a closed RAM.
void show_ram(int32_t bank, bool open);

// The enable value most controllers take at 0000-1FFF: 0A in the low nibble.
inline bool opens_ram(uint8_t value) {
    return (value & 0x0F) == 0x0A;
}

}  // namespace tov
