#include "memory/memory_map.h"

#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "memory/freeze_list.h"
#include "memory/io_registers.h"
#include "memory/joypad.h"
#include "sound/channels.h"

namespace tov {

namespace {

int32_t rom_index(int32_t address) {
    return (address - 0x4000) * rom_bank_count + rom_bank;
}

int32_t cart_ram_index(int32_t address) {
    return (address - 0xA000) * cart_ram_bank_count + ram_bank;
}

// D000-DFFF, and F000-FDFF, which mirrors D000-DDFF as the echo area does.
int32_t wram_bank_index(int32_t address) {
    return ((address - 0xD000) & 0x0FFF) * wram_bank_count + wram_bank;
}

// Everything but the I/O page, as stored.
uint8_t read_memory(int32_t address) {
    if (address & ~0xFFFF) {
        return 0;
    }
    switch (address >> 12) {
        case 0x0:
        case 0x1:
        case 0x2:
        case 0x3: return rom_bank0[address];
        case 0x4:
        case 0x5:
        case 0x6:
        case 0x7: return rom_banks[rom_index(address)];
        case 0x8:
        case 0x9: return vram[vram_bank_offset() + address - 0x8000];
        case 0xA:
        case 0xB: return cart_ram[cart_ram_index(address)];
        case 0xC: return wram0[address - 0xC000];
        case 0xD: return wram_banks[wram_bank_index(address)];
        case 0xE: return echo_ram[address - 0xE000];
        default:
            if (address < 0xFE00) {
                return wram_banks[wram_bank_index(address)];
            }
            return address < 0xFEA0 ? oam[address - 0xFE00] : 0;
    }
}

// The I/O page as the CPU reads it: write-only registers and the sound
// registers' write-only bits are masked, FF26 reports the channels.
uint8_t read_io(int32_t offset) {
    switch (offset) {
        case P1: read_joypad(); return io_page[P1];
        case SB:
        case SC: return 0xFF;
        case NR11:
        case NR21: return io_page[offset] & 0xC0;
        case NR14:
        case NR24:
        case NR34:
        case NR44: return io_page[offset] & 0x40;
        case NR30: return io_page[offset] & 0x80;
        case NR13:
        case NR23:
        case NR33: return 0x00;
        case NR52: return static_cast<uint8_t>((io_page[NR52] & 0x80) | channel_status_bits());
        default: return io_page[offset];
    }
}

// The cartridge's bank register, 0000-7FFF.
void write_bank_register(int32_t address, uint8_t value) {
    if (address < 0x2000) {
        if (value == 0x0A) {
            ram_enable = 1;
        } else if (value == 0x00) {
            ram_enable = 0;
        }
    } else if (address < 0x4000) {
        rom_bank = value == 0 ? 1 : value;
    } else if (address < 0x6000) {
        ram_bank = value & 0x03;
    } else {
        bank_mode = value & 0x01;
    }
}

// The RAM areas 8000-FEFF. Work RAM bank 0 and its echo are kept equal.
void store_ram(int32_t address, uint8_t value) {
    if (address < 0xA000) {
        vram[vram_bank_offset() + address - 0x8000] = value;
    } else if (address < 0xC000) {
        cart_ram[cart_ram_index(address)] = value;
    } else if (address < 0xD000) {
        wram0[address - 0xC000] = value;
        echo_ram[address - 0xC000] = value;
    } else if (address < 0xE000) {
        wram_banks[wram_bank_index(address)] = value;
    } else if (address < 0xF000) {
        echo_ram[address - 0xE000] = value;
        wram0[address - 0xE000] = value;
    } else if (address < 0xFE00) {
        wram_banks[wram_bank_index(address)] = value;
    } else if (address < 0xFEA0) {
        oam[address - 0xFE00] = value;
    }
}

bool in_address_space(int32_t address) {
    return address >= 0 && address <= 0xFFFF;
}

}  // namespace

int32_t vram_bank_offset() {
    return colour_mode && (io_page[VBK] & 1) ? vram_bank_size : 0;
}

uint8_t wram_bank_from_svbk(uint8_t value) {
    const uint8_t bank = value & 0x07;
    return bank == 0 ? 0 : static_cast<uint8_t>(bank - 1);
}

uint8_t read_byte(int32_t address) {
    for (int32_t i = 0; i < freeze_count; ++i) {
        if (freeze_table[i].address == address) {
            return static_cast<uint8_t>(freeze_table[i].value);
        }
    }
    if (address >= 0xFF00 && address <= 0xFFFF) {
        return read_io(address - 0xFF00);
    }
    return read_memory(address);
}

void write_byte(int32_t address, uint8_t value) {
    if (!in_address_space(address)) {
        return;
    }
    if (address >= 0xFF00) {
        write_io_register(address - 0xFF00, value);
    } else if (address < 0x8000) {
        write_bank_register(address, value);
    } else {
        store_ram(address, value);
    }
}

uint8_t peek_byte(int32_t address) {
    if (address >= 0xFF00 && address <= 0xFFFF) {
        return io_page[address - 0xFF00];
    }
    return read_memory(address);
}

void poke_byte(int32_t address, uint8_t value) {
    if (!in_address_space(address)) {
        return;
    }
    if (address < 0x4000) {
        rom_bank0[address] = value;
    } else if (address < 0x8000) {
        rom_banks[rom_index(address)] = value;
    } else if (address < 0xFF00) {
        store_ram(address, value);
    } else {
        io_page[address - 0xFF00] = value;
    }
}

}  // namespace tov
