#include "cheats/code_effects.h"

#include "core/machine_interface.h"
#include "machine/memory.h"
#include "memory/console_memory.h"

namespace tov {

namespace {

struct replaced_byte {
    uint8_t* where;
    uint8_t before;
};

std::vector<cheat_code> in_force;
std::vector<replaced_byte> replaced;

void replace(uint8_t* where, const cheat_code& code) {
    if (code.compare < 0 || *where == code.compare) {
        replaced.push_back({where, *where});
        *where = code.value;
    }
}

// Bank 0 at 0000-3FFF; at 4000-7FFF every other bank loaded, and the short
// part after them.
void patch_rom(const cheat_code& code) {
    if (code.address < 0x4000) {
        replace(rom_bank0 + code.address, code);
        return;
    }
    const int32_t offset = code.address - 0x4000;
    for (int32_t bank = 1; bank < rom_banks_loaded; ++bank) {
        replace(rom_banks + offset * rom_bank_count + bank, code);
    }
    if (offset < rom_last_part_size) {
        replace(rom_last_part + offset, code);
    }
}

void restore_rom() {
    for (auto byte = replaced.rbegin(); byte != replaced.rend(); ++byte) {
        *byte->where = byte->before;
    }
    replaced.clear();
}

void write_cartridge_ram_bank(const cheat_code& code) {
    const int32_t offset = code.address - 0xA000;
    machine().write_cartridge_ram(code.bank, offset, code.value);
}

void write_work_ram_bank(const cheat_code& code) {
    const uint8_t in_view = wram_bank;
    wram_bank = wram_bank_from_svbk(static_cast<uint8_t>(code.bank));
    machine().poke(code.address, code.value);
    wram_bank = in_view;
}

// The RAM in view, as a write on the bus leaves it (cartridge RAM only
// while its controller has it open on the accurate machine).
void write_in_view(const cheat_code& code) {
    machine().poke(code.address, code.value);
}

}  // namespace

void use_cheat_codes(const std::vector<cheat_code>& codes) {
    restore_rom();
    in_force = codes;
    patch_loaded_rom();
}

void patch_loaded_rom() {
    replaced.clear();
    for (const cheat_code& code : in_force) {
        if (code.rom_patch) {
            patch_rom(code);
        }
    }
}

void forget_cheat_codes() {
    replaced.clear();
    in_force.clear();
}

void write_cheat_values() {
    for (const cheat_code& code : in_force) {
        if (code.rom_patch) {
            continue;
        }
        if (code.bank < 0) {
            write_in_view(code);
        } else if (code.address >= 0xD000) {
            write_work_ram_bank(code);
        } else {
            write_cartridge_ram_bank(code);
        }
    }
}

bool has_cheat_values() {
    for (const cheat_code& code : in_force) {
        if (!code.rom_patch) {
            return true;
        }
    }
    return false;
}

}  // namespace tov
