#include "memory/io_registers.h"

#include <algorithm>

#include "apu/apu.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "memory/console_memory.h"
#include "memory/palettes.h"
#include "sound/channels.h"

namespace tov {

uint8_t lcdc_bg_on;
uint8_t lcdc_obj_on;
uint8_t lcdc_obj_tall;
uint8_t lcdc_bg_map_hi;
uint8_t lcdc_tiles_8000;
uint8_t lcdc_win_on;
uint8_t lcdc_win_map_hi;
uint8_t lcdc_lcd_on;

int32_t bg_colours[32];
int32_t obj_colours[32];

int32_t monochrome_shades[3][4];

namespace {

void write_lcdc(uint8_t value) {
    lcdc_bg_on = value & 1;
    lcdc_obj_on = (value >> 1) & 1;
    lcdc_obj_tall = (value >> 2) & 1;
    lcdc_bg_map_hi = (value >> 3) & 1;
    lcdc_tiles_8000 = (value >> 4) & 1;
    lcdc_win_on = (value >> 5) & 1;
    lcdc_win_map_hi = (value >> 6) & 1;
    lcdc_lcd_on = (value >> 7) & 1;
    // A colour cartridge always draws the background.
    if (colour_mode) {
        lcdc_bg_on = 1;
    }
}

// BGP, OBP0, OBP1 on a monochrome cartridge: each two-bit field picks the
// shade of one colour number.
void write_mono_palette(int32_t* palette, const int32_t* shades, uint8_t value) {
    if (colour_mode) {
        return;
    }
    for (int colour = 0; colour < 4; ++colour) {
        palette[colour] = shades[(value >> (2 * colour)) & 3];
    }
}

// BCPD/OCPD: the index register names palette, colour and byte; bit 7 makes
// it advance after the write, wrapping within its low six bits.
void write_palette_data(int index_register, int32_t* table, uint8_t value) {
    uint8_t& index = io_page[index_register];
    int32_t& entry = table[((index >> 3) & 7) * 4 + ((index >> 1) & 3)];
    if (index & 1) {
        entry = value << 8 | (entry & 0x00FF);
    } else {
        entry = (entry & 0xFF00) | value;
    }
    if (index & 0x80) {
        index = (index & 0x3F) == 0x3F ? index & 0xC0 : static_cast<uint8_t>(index + 1);
    }
}

bool is_sound_register(int32_t offset) {
    return (offset >= NR10 && offset <= NR14) || (offset >= NR21 && offset <= NR31) ||
           offset == NR33 || offset == NR34 || (offset >= NR41 && offset <= NR44) || offset == NR51;
}

// While the cycle-timed sound is chosen it sees every sound register write
// first, and a powered-off sound drops them; the voices' channels still
// hear the writes that land.
bool dropped_by_accurate_sound(int32_t offset, uint8_t value) {
    return accurate_sound && offset >= NR10 && offset < 0x40 && !apu_write(offset, value);
}

}  // namespace

bool write_sound_io(int32_t offset, uint8_t value) {
    if (dropped_by_accurate_sound(offset, value)) {
        return true;
    }
    if (is_sound_register(offset)) {
        write_sound_register(offset, value);
        return true;
    }
    return false;
}

void use_palette_shades() {
    const shade_set& palette = monochrome_palette();
    for (int32_t* shades : monochrome_shades) {
        std::copy(palette.begin(), palette.end(), shades);
    }
}

void write_io_register(int32_t offset, uint8_t value) {
    offset &= 0xFF;
    switch (offset) {
        case LCDC:
            io_page[LCDC] = value;
            write_lcdc(value);
            break;
        case BGP:
            io_page[BGP] = value;
            write_mono_palette(bg_colours, monochrome_shades[0], value);
            break;
        case OBP0:
            io_page[OBP0] = value;
            write_mono_palette(obj_colours, monochrome_shades[1], value);
            break;
        case OBP1:
            io_page[OBP1] = value;
            write_mono_palette(obj_colours + 4, monochrome_shades[2], value);
            break;
        case BCPD:
            if (colour_mode) {
                io_page[BCPD] = value;
                write_palette_data(BCPS, bg_colours, value);
            }
            break;
        case OCPD:
            if (colour_mode) {
                io_page[OCPD] = value;
                write_palette_data(OCPS, obj_colours, value);
            }
            break;
        case SVBK:
            io_page[SVBK] = value;
            wram_bank = wram_bank_from_svbk(value);
            break;
        default: io_page[offset] = value; break;
    }
}

}  // namespace tov
