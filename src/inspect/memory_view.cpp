#include "inspect/memory_view.h"

#include <algorithm>
#include <charconv>

#include "core/machine_interface.h"
#include "inspect/text_fields.h"
#include "inspect/view_text.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "memory/console_memory.h"

namespace tov {

namespace {

struct region_layout {
    const char* name;
    int32_t first_address;
    int32_t size;
    bool banked;
    int first_bank;
};

// In the order of memory_region.
constexpr region_layout layouts[memory_region_count] = {
    {"ROM0", 0x0000, rom_bank_size, false, 0},   {"ROMX", 0x4000, rom_bank_size, true, 1},
    {"VRAM", 0x8000, vram_bank_size, true, 0},   {"SRAM", 0xA000, cart_ram_bank_size, true, 0},
    {"WRAM0", 0xC000, wram_bank_size, false, 0}, {"WRAMX", 0xD000, wram_bank_size, true, 1},
    {"OAM", 0xFE00, oam_size, false, 0},         {"I/O+HRAM", 0xFF00, 0x100, false, 0},
};

bool known_region(int region) {
    return region >= 0 && region < memory_region_count;
}

int rom_banks_after_bank0() {
    return std::max(1, whole_rom_banks() - 1 + (rom_last_part_size > 0 ? 1 : 0));
}

int bank_count(int region) {
    switch (region) {
        case region_romx: return rom_banks_after_bank0();
        case region_vram: return machine().colour_hardware() ? 2 : 1;
        case region_sram: return machine().ram_bank_count();
        case region_wramx: return machine().colour_hardware() ? wram_bank_count - 1 : 1;
        default: return 1;
    }
}

// Where byte `offset` of bank `bank` of `region` is kept, or null.
uint8_t* element(int region, int bank, int32_t offset) {
    const region_info info = region_of(region);
    if (bank < info.first_bank || bank >= info.first_bank + info.bank_count || offset < 0 ||
        offset >= info.size) {
        return nullptr;
    }
    switch (region) {
        case region_rom0: return rom_bank0 + offset;
        case region_romx: return rom_bank_element(bank, offset);
        case region_vram: return vram + bank * vram_bank_size + offset;
        case region_sram: return machine().ram_element(bank, offset);
        case region_wram0: return wram0 + offset;
        case region_wramx: return wram_banks + offset * wram_bank_count + bank - 1;
        case region_oam: return oam + offset;
        default: return io_page + offset;
    }
}

// Whether poke_byte at the byte's address stores where element() points.
// The cartridge's banks may be kept where it does not reach, and the ROM's
// last part is only reached by the accurate machine's slot.
bool reached_by_poke(int region, int bank) {
    if (bank != bank_in_view(region)) {
        return false;
    }
    switch (region) {
        case region_romx: return machine().pokes_cartridge && !is_rom_last_part(bank);
        case region_sram: return machine().pokes_cartridge;
        default: return true;
    }
}

hex_entry refused(std::string message) {
    return {false, 0, std::move(message)};
}

char shown_character(int byte) {
    if (byte < 0) {
        return ' ';
    }
    return byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.';
}

}  // namespace

region_info region_of(int region) {
    if (!known_region(region)) {
        return {"", 0, 0, false, 0, 0};
    }
    const region_layout& layout = layouts[region];
    return {layout.name,   layout.first_address, layout.size,
            layout.banked, layout.first_bank,    bank_count(region)};
}

int region_at(int32_t address) {
    for (int region = 0; region < memory_region_count; ++region) {
        const region_layout& layout = layouts[region];
        if (address >= layout.first_address && address < layout.first_address + layout.size) {
            return region;
        }
    }
    return -1;
}

int bank_in_view(int region) {
    switch (region) {
        case region_romx: return machine().rom_bank_in_view();
        case region_vram: return vram_bank_offset() / vram_bank_size;
        case region_sram: return machine().ram_bank_in_view();
        case region_wramx: return wram_bank + 1;
        default: return 0;
    }
}

int stored_byte(int region, int bank, int32_t offset) {
    const uint8_t* byte = element(region, bank, offset);
    if (!byte) {
        return -1;
    }
    return region == region_io ? machine().io_register(offset) : *byte;
}

bool store_byte(int region, int bank, int32_t offset, uint8_t value) {
    uint8_t* byte = element(region, bank, offset);
    if (!byte) {
        return false;
    }
    // Work RAM bank 0 is always in view, so poke_byte keeps its echo equal.
    if (reached_by_poke(region, bank)) {
        machine().poke(layouts[region].first_address + offset, value);
    } else {
        *byte = value;
    }
    return true;
}

memory_row memory_row_at(int region, int bank, int32_t offset) {
    const region_info info = region_of(region);
    const int32_t first = offset - offset % row_bytes;
    const int32_t address = (info.first_address + first) & 0xFFFF;
    memory_row row;
    row.address = (info.banked ? formatted("%02X:", bank) : "") + formatted("%04X", address);
    for (int i = 0; i < row_bytes; ++i) {
        const int byte = stored_byte(region, bank, first + i);
        row.bytes[i] = byte < 0 ? "--" : formatted("%02X", byte);
        row.characters += shown_character(byte);
    }
    return row;
}

hex_entry parse_hex_entry(std::string_view text, int32_t largest) {
    const std::string_view entry = trimmed(text);
    if (entry.empty()) {
        return refused("Type a hex number from 0 to " + formatted("%X", largest) + ".");
    }
    const std::string_view digits = without_hex_prefix(entry);
    uint32_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value, 16);
    const std::string quoted = "\"" + std::string(entry) + "\"";
    if (digits.empty() || (error != std::errc{} && error != std::errc::result_out_of_range) ||
        stop != end) {
        return refused(quoted + " is not a hex number.");
    }
    if (error == std::errc::result_out_of_range || value > static_cast<uint32_t>(largest)) {
        return refused(quoted + " is more than " + formatted("%X", largest) + ".");
    }
    return {true, static_cast<int32_t>(value), ""};
}

}  // namespace tov
