#include "inspect/cpu_view.h"

#include "core/machine_interface.h"
#include "inspect/view_text.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "memory/cartridge_info.h"
#include "memory/io_registers.h"

namespace tov {

namespace {

struct lcdc_text {
    const char* label;
    const uint8_t* bit;
    const char* set;
    const char* clear;
};

const lcdc_text lcdc_texts[] = {
    {"LCD Control Operation :", &lcdc_lcd_on, "1 : ON", "0 : OFF"},
    {"Window Tile Map Pointers :", &lcdc_win_map_hi, "1 : 9C00-9FFF", "0 : 9800-9BFF"},
    {"Window Display :", &lcdc_win_on, "1 : ON", "0 : OFF"},
    {"Bg && Windows Tile Data :", &lcdc_tiles_8000, "1 : 8000-8FFF", "0 : 8800-97FF"},
    {"Bg Tilemap Pointers :", &lcdc_bg_map_hi, "1 : 9C00-9FFF", "0 : 9800-9BFF"},
    {"Sprite Size :", &lcdc_obj_tall, "1 : 8x16", "0 : 8x8"},
    {"Sprite Display :", &lcdc_obj_on, "1 : ON", "0 : OFF"},
    {"Bg Display :", &lcdc_bg_on, "1 : ON", "0 : OFF"},
};

// A hex byte field: a register as a read sees it, or a bank register.
struct byte_field {
    const char* label;
    int32_t address;
    uint8_t bank_registers::*bank = nullptr;
};

const byte_field lcd_fields[] = {
    {"<= FF40 LCD", 0xFF40},  {"<= FF41 STAT", 0xFF41}, {"<= FF42 SCY", 0xFF42},
    {"<= FF43 SCX", 0xFF43},  {"<= FF44 LY", 0xFF44},   {"<= FF45 LYC", 0xFF45},
    {"<= FF46 DMA", 0xFF46},  {"<= FF47 BGP", 0xFF47},  {"<= FF48 OBP0", 0xFF48},
    {"<= FF49 OBP1", 0xFF49}, {"<= FF4A WY", 0xFF4A},   {"<= FF4B WX", 0xFF4B},
};

const byte_field various_fields[] = {
    {"<= FFFF IF", 0xFFFF},
    {"<= FF0F IE", 0xFF0F},
    {"<= FF4D SPEED", 0xFF4D},
    {"<= 0000 RAM", 0, &bank_registers::ram_enable},
    {"<= 4000 BANK", 0, &bank_registers::rom_bank},
    {"<= 6000 MODE", 0, &bank_registers::mode},
    {"<= FF00 Joypad", 0xFF00},
    {"<= FF01 SB", 0xFF01},
    {"<= FF02 SC", 0xFF02},
    {"<= FF04 DIV", 0xFF04},
    {"<= FF05 TIMA", 0xFF05},
    {"<= FF06 TMA", 0xFF06},
    {"<= FF07 TAC", 0xFF07},
};

const byte_field sound1_fields[] = {
    {"<= FF10 ENT", 0xFF10},  {"<= FF11 NR11", 0xFF11}, {"<= FF12 NR12", 0xFF12},
    {"<= FF13 NR13", 0xFF13}, {"<= FF14 NR14", 0xFF14},
};
const byte_field sound2_fields[] = {
    {"N/A", 0xFF15},          {"<= FF16 NR21", 0xFF16}, {"<= FF17 NR22", 0xFF17},
    {"<= FF18 NR23", 0xFF18}, {"<= FF19 NR24", 0xFF19},
};
const byte_field sound3_fields[] = {
    {"<= FF1A NR30", 0xFF1A}, {"<= FF1B NR31", 0xFF1B}, {"<= FF1C NR32", 0xFF1C},
    {"<= FF1D NR33", 0xFF1D}, {"<= FF1E NR34", 0xFF1E},
};
const byte_field sound4_fields[] = {
    {"N/A", 0xFF1F},          {"<= FF20 NR41", 0xFF20}, {"<= FF21 NR42", 0xFF21},
    {"<= FF22 NR43", 0xFF22}, {"<= FF23 KIK", 0xFF23},
};

template <std::size_t n>
view_group byte_group(const char* title, const byte_field (&fields)[n]) {
    view_group group{title, {}};
    const bank_registers banks = machine().banks();
    for (const byte_field& field : fields) {
        const int value =
            field.bank ? banks.*field.bank : machine().read_register(field.address & 0xFF);
        group.rows.push_back({field.label, {formatted("%.2X", value)}});
    }
    return group;
}

view_row pair_row(const char* label, int value, int high, int low) {
    return {label, {formatted("%.4X", value), formatted("%.2X", high), formatted("%.2X", low)}};
}

view_group register_group() {
    return {"Registers",
            {pair_row("AF", AF.value, A, F),
             pair_row("BC", BC.value, B, C),
             pair_row("DE", DE.value, D, E),
             pair_row("HL", HL.value, H, L),
             {"SP", {formatted("%.4X", SP.value & 0xFFFF)}},
             {"PC", {formatted("%.4X", PC.value & 0xFFFF)}}}};
}

view_group lcdc_group() {
    view_group group{"LCDC", {}};
    for (const lcdc_text& text : lcdc_texts) {
        group.rows.push_back({text.label, {*text.bit ? text.set : text.clear}});
    }
    return group;
}

// The debugger's copy of the flags follows the working flags, which the
// instructions keep; F itself is only packed by PUSH AF.
std::vector<view_check> flag_checks() {
    shown_flags[0] = static_cast<uint8_t>(flag_z);
    shown_flags[1] = static_cast<uint8_t>(flag_n);
    shown_flags[2] = static_cast<uint8_t>(flag_h);
    shown_flags[3] = static_cast<uint8_t>(flag_c);
    return {{"Z_FLAG", shown_flags[0] != 0},
            {"N_FLAG", shown_flags[1] != 0},
            {"H_FLAG", shown_flags[2] != 0},
            {"C_FLAG", shown_flags[3] != 0},
            {"IME", ime != 0}};
}

// One after the other: every text comes back in the same shared buffer.
std::vector<std::string> cartridge_texts() {
    std::vector<std::string> texts;
    for (const auto describe : {describe_title, describe_colour, describe_type, describe_rom_size,
                                describe_ram_size, describe_destination}) {
        texts.emplace_back(describe());
    }
    return texts;
}

}  // namespace

cpu_view refresh_cpu_view() {
    return {{register_group(), lcdc_group(), byte_group("LCD", lcd_fields),
             byte_group("Various", various_fields), byte_group("Sound 1", sound1_fields),
             byte_group("Sound 2", sound2_fields), byte_group("Sound 3", sound3_fields),
             byte_group("Sound 4", sound4_fields)},
            flag_checks(),
            cartridge_texts()};
}

}  // namespace tov
