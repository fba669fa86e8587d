#include "cartridge/slot.h"

#include <algorithm>
#include <bit>
#include <iterator>

#include "cartridge/controllers.h"
#include "cartridge/real_time_clock.h"
#include "machine/memory.h"

namespace tov {

controller_registers controller;
slot_view view;
cartridge_board board;
uint8_t cartridge_ram[cartridge_ram_size];

namespace {

// Header byte 0147: the controller and what else the board carries.
struct cartridge_type {
    uint8_t code;
    controller_kind kind;
    bool battery = false;
    bool clock = false;
    bool rumble = false;
};

constexpr cartridge_type types[] = {
    {0x00, controller_kind::none},
    {0x08, controller_kind::none},
    {0x09, controller_kind::none, true},
    {0x01, controller_kind::mbc1},
    {0x02, controller_kind::mbc1},
    {0x03, controller_kind::mbc1, true},
    {0x05, controller_kind::mbc2},
    {0x06, controller_kind::mbc2, true},
    {0x0F, controller_kind::mbc3, true, true},
    {0x10, controller_kind::mbc3, true, true},
    {0x11, controller_kind::mbc3},
    {0x12, controller_kind::mbc3},
    {0x13, controller_kind::mbc3, true},
    {0x19, controller_kind::mbc5},
    {0x1A, controller_kind::mbc5},
    {0x1B, controller_kind::mbc5, true},
    {0x1C, controller_kind::mbc5, false, false, true},
    {0x1D, controller_kind::mbc5, false, false, true},
    {0x1E, controller_kind::mbc5, true, false, true},
    {0xFF, controller_kind::huc1, true},
};

// A kind not built runs as MBC5 with a battery, so that its save is kept.
constexpr cartridge_type unknown_type = {0x00, controller_kind::mbc5, true};

// Header byte 0149: the RAM's size.
int32_t ram_size_of(uint8_t code) {
    constexpr int32_t sizes[] = {0, 0x800, 0x2000, 0x8000, 0x20000, 0x10000};
    return code < std::size(sizes) ? sizes[code] : 0;
}

// In the order of controller_kind.
const controller_rules* const rules_of[] = {
    &plain_rules, &mbc1_rules, &mbc1_multicart_rules, &mbc2_rules,
    &mbc3_rules,  &mbc5_rules, &huc1_rules,
};

const char* const names_of[] = {"no controller", "MBC1", "MBC1 multicart", "MBC2", "MBC3",
                                "MBC5",          "HuC1"};

const controller_rules& rules() {
    return *rules_of[static_cast<int>(board.kind)];
}

// The multicarts of 1 MiB wire MBC1's upper bits one line lower; each of
// their games starts with its own header, so bank 10 holds the logo that
// bank 0 holds.
bool multicart_wiring() {
    constexpr int32_t logo = 0x0104;
    constexpr int32_t logo_size = 48;
    constexpr int32_t second_game = 0x10;
    constexpr uint8_t logo_start[] = {0xCE, 0xED, 0x66, 0x66};
    if (rom_banks_loaded != 64) {
        return false;
    }
    for (int32_t i = 0; i < 4; ++i) {
        if (rom_banks[(logo + i) * rom_bank_count + second_game] != logo_start[i]) {
            return false;
        }
    }
    for (int32_t offset = logo; offset < logo + logo_size; ++offset) {
        if (rom_banks[offset * rom_bank_count + second_game] != rom_bank0[offset]) {
            return false;
        }
    }
    return true;
}

// The banks of the file, its shorter last part counted as one.
int32_t file_banks() {
    return rom_banks_loaded + (rom_last_part_size > 0 ? 1 : 0);
}

// A bank number as the ROM's address lines see it; a file shorter than its
// power of two repeats.
int32_t wrapped_rom_bank(int32_t bank) {
    return (bank & (board.rom_banks - 1)) % file_banks();
}

void show_rom(int32_t bank, const uint8_t*& rom, int32_t& stride) {
    const int32_t wrapped = wrapped_rom_bank(bank);
    if (wrapped == 0 || wrapped == rom_banks_loaded) {
        rom = wrapped == 0 ? rom_bank0 : rom_last_part;
        stride = 1;
    } else {
        rom = rom_banks + wrapped;
        stride = rom_bank_count;
    }
}

}  // namespace

cartridge_board board_of_header() {
    const uint8_t code = rom_bank0[0x0147];
    const auto found =
        std::find_if(std::begin(types), std::end(types),
                     [code](const cartridge_type& type) { return type.code == code; });
    const bool known = found != std::end(types);
    const cartridge_type& type = known ? *found : unknown_type;
    cartridge_board header{type.kind, known, type.battery, type.clock, type.rumble, 1, 0};
    header.rom_banks = static_cast<int32_t>(std::bit_ceil(static_cast<uint32_t>(file_banks())));
    header.ram_size = type.kind == controller_kind::mbc2 ? 0x200 : ram_size_of(rom_bank0[0x0149]);
    if (type.kind == controller_kind::mbc1 && multicart_wiring()) {
        header.kind = controller_kind::mbc1_multicart;
    }
    return header;
}

void show_low_rom(int32_t bank) {
    show_rom(bank, view.low_rom, view.low_stride);
}

void show_high_rom(int32_t bank) {
    show_rom(bank, view.high_rom, view.high_stride);
}

void show_ram(int32_t bank, bool open) {
    constexpr int32_t bank_size = 0x2000;
    const int32_t banks = std::max(1, board.ram_size / bank_size);
    view.ram = board.ram_size == 0 ? ram_view::none : ram_view::bytes;
    view.ram_open = open;
    view.ram_bank = cartridge_ram + (bank & (banks - 1)) * bank_size;
    view.ram_mask = std::min(board.ram_size, bank_size) - 1;
}

void power_on_slot(bool keep_ram) {
    board = board_of_header();
    controller = {};
    if (keep_ram) {
        catch_up_real_time_clock();  // the time up to the reset counts
    } else {
        std::fill(std::begin(cartridge_ram), std::end(cartridge_ram), 0);
        reset_real_time_clock();
    }
    rules().map();
}

void settle_slot() {
    controller.ram_enabled = controller.ram_enabled ? 1 : 0;
    controller.motor = controller.motor ? 1 : 0;
    settle_real_time_clock();
    rules().map();
}

uint8_t read_cartridge_ram(int32_t address) {
    if (!view.ram_open) {
        return 0xFF;
    }
    return peek_slot(address);
}

void write_cartridge_ram(int32_t address, uint8_t value) {
    if (!view.ram_open) {
        return;
    }
    const int32_t offset = (address - 0xA000) & view.ram_mask;
    switch (view.ram) {
        case ram_view::bytes: view.ram_bank[offset] = value; break;
        case ram_view::nibbles: view.ram_bank[offset] = value & 0x0F; break;
        case ram_view::clock: write_clock_register(controller.ram_select, value); break;
        case ram_view::none:
        case ram_view::infrared: break;  // the infrared light is not emulated
    }
}

void write_controller(int32_t address, uint8_t value) {
    rules().write(address, value);
    rules().map();
}

uint8_t peek_slot(int32_t address) {
    if (address < 0x8000) {
        return read_rom(address);
    }
    const int32_t offset = (address - 0xA000) & view.ram_mask;
    switch (view.ram) {
        case ram_view::bytes: return view.ram_bank[offset];
        case ram_view::nibbles: return 0xF0 | view.ram_bank[offset];
        case ram_view::clock: return read_clock_register(controller.ram_select);
        case ram_view::infrared: return 0xC0;  // no light seen
        case ram_view::none: break;
    }
    return 0xFF;
}

const char* controller_name() {
    return names_of[static_cast<int>(board.kind)];
}

}  // namespace tov
