#include "classic/memory/memory_map.h"

#include "apu/apu.h"
#include "classic/memory/io_writes.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "memory/console_memory.h"
#include "memory/freeze_list.h"
#include "memory/io_registers.h"
#include "memory/joypad.h"
#include "sound/channels.h"

namespace tov {

namespace {

bool in_address_space(int32_t address) {
    return (address & ~0xFFFF) == 0;
}

bool in_cartridge_ram(int32_t address) {
    return address >= 0xA000 && address < 0xC000;
}

int32_t rom_index(int32_t address) {
    return (address - 0x4000) * rom_bank_count + rom_bank;
}

int32_t cart_ram_index(int32_t address) {
    return (address - 0xA000) * cart_ram_bank_count + ram_bank;
}

// The 128-byte pages that lie whole and in order in one memory, whatever the
// banks: ROM bank 0, work RAM bank 0 and its echo, and high RAM with IE. A
// read there is a single lookup; every other page takes the switch below
// (banked memories are interleaved, so a bank's page is not contiguous) or
// the I/O registers' own path.
constexpr int page_shift = 7;
constexpr int page_size = 1 << page_shift;

struct direct_pages {
    const uint8_t* pages[0x10000 >> page_shift] = {};

    direct_pages() {
        map(rom_bank0, 0x0000, rom_bank_size);
        map(wram0, 0xC000, wram_bank_size);
        map(echo_ram, 0xE000, wram_bank_size);
        map(io_page + 0x80, 0xFF80, 0x80);
    }
    void map(const uint8_t* memory, int32_t start, int32_t size) {
        for (int32_t offset = 0; offset < size; offset += page_size) {
            pages[(start + offset) >> page_shift] = memory + offset;
        }
    }
};
const direct_pages read_pages;

// The byte at `address` (0000-FFFF) when its page is a direct one, or null.
const uint8_t* direct_byte(int32_t address) {
    const uint8_t* page = read_pages.pages[address >> page_shift];
    return page ? page + (address & (page_size - 1)) : nullptr;
}

// The banked pages, as stored.
uint8_t read_banked_memory(int32_t address) {
    switch (address >> 12) {
        case 0x4:
        case 0x5:
        case 0x6:
        case 0x7: return rom_banks[rom_index(address)];
        case 0xA:
        case 0xB: return cart_ram[cart_ram_index(address)];
        default: return address < 0xFF00 ? read_console_memory(address) : 0;
    }
}

// Everything but the I/O page, as stored.
uint8_t read_memory(int32_t address) {
    if (!in_address_space(address)) {
        return 0;
    }
    if (const uint8_t* byte = direct_byte(address)) {
        return *byte;
    }
    return read_banked_memory(address);
}

// The I/O page as the CPU reads it: write-only registers and the sound
// registers' write-only bits are masked, FF26 reports the channels.
uint8_t io_value(int32_t offset) {
    if (accurate_sound && offset >= NR10 && offset < 0x40) {
        return apu_read(offset);
    }
    switch (offset) {
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

uint8_t read_io(int32_t offset) {
    if (offset == P1) {
        read_joypad();
    }
    return io_value(offset);
}

// The value a cheat holds the address at, when it does.
bool frozen_value(int32_t address, uint8_t& value) {
    for (int32_t i = 0; i < freeze_count; ++i) {
        if (freeze_table[i].address == address) {
            value = static_cast<uint8_t>(freeze_table[i].value);
            return true;
        }
    }
    return false;
}

// The RAM areas 8000-FEFF.
void store_ram(int32_t address, uint8_t value) {
    if (in_cartridge_ram(address)) {
        cart_ram[cart_ram_index(address)] = value;
    } else if (address < 0xFF00) {
        write_console_memory(address, value);
    }
}

// A cartridge with a clock selects its registers with 08-0C; they are not
// kept here, so the RAM is out of reach until a bank 00-03 is chosen again
// (the clock's writes would otherwise land in the save).
void select_ram_bank(uint8_t value) {
    if (has_clock() && value >= 0x08 && value <= 0x0C) {
        clock_selected = 1;
        return;
    }
    if (value <= 0x03) {
        clock_selected = 0;
    }
    ram_bank = value & 0x03;
}

}  // namespace

uint8_t peek_io(int32_t offset) {
    uint8_t frozen = 0;
    return frozen_value(0xFF00 + offset, frozen) ? frozen : io_value(offset);
}

bool has_clock() {
    const uint8_t type = rom_bank0[0x0147];
    return type == 0x0F || type == 0x10;
}

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
        select_ram_bank(value);
    } else {
        bank_mode = value & 0x01;
    }
}

// The whole read path: frozen values first, the I/O page, then memory. Kept
// out of line so that the common read below stays small enough to inline.
[[gnu::noinline]] uint8_t read_byte_fully(int32_t address) {
    uint8_t frozen = 0;
    if (frozen_value(address, frozen)) {
        return frozen;
    }
    if (address >= 0xFF00 && address <= 0xFFFF) {
        return read_io(address - 0xFF00);
    }
    if (clock_selected && in_cartridge_ram(address)) {
        return 0xFF;
    }
    return read_memory(address);
}

uint8_t read_byte(int32_t address) {
    if (freeze_count == 0 && in_address_space(address)) {
        if (const uint8_t* byte = direct_byte(address)) {
            return *byte;
        }
    }
    return read_byte_fully(address);
}

void write_byte(int32_t address, uint8_t value) {
    if (!in_address_space(address)) {
        return;
    }
    if (address >= 0xFF00) {
        write_classic_register(address - 0xFF00, value);
    } else if (address < 0x8000) {
        write_bank_register(address, value);
    } else if (!clock_selected || !in_cartridge_ram(address)) {
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
