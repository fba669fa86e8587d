// The I/O registers both machines write alike, and the state derived from
// them: the LCDC flags the renderers read, the 15-bit colour tables behind
// the monochrome and colour palettes, and the work RAM bank SVBK chooses.
#pragma once

#include <cstdint>

namespace tov {

// The LCDC bits, one byte each (0 or 1).
extern uint8_t lcdc_bg_on;
extern uint8_t lcdc_obj_on;
extern uint8_t lcdc_obj_tall;
extern uint8_t lcdc_bg_map_hi;
extern uint8_t lcdc_tiles_8000;
extern uint8_t lcdc_win_on;
extern uint8_t lcdc_win_map_hi;
extern uint8_t lcdc_lcd_on;

// Colour words (red bits 0-4, green 5-9, blue 10-14); entry palette * 4 + colour.
extern int32_t bg_colours[32];
extern int32_t obj_colours[32];

// The colours BGP, OBP0 and OBP1 choose among on a monochrome cartridge: the
// palette in use (memory/palettes.h), or those the colour console's start-up
// program gives a monochrome game.
extern int32_t monochrome_shades[3][4];
void use_palette_shades();

// A write to the I/O register at io_page[offset], offset 0x00-0xFF: LCDC,
// the palettes and SVBK with what follows from them, any other register
// stored as written.
void write_io_register(int32_t offset, uint8_t value);

// A sound register write (offset 10-3F) as both sound models hear it: the
// cycle-timed sound first, while it is chosen (a powered-off sound drops the
// write), then the voices' channels. False when the write is neither's and
// is to be stored as any register.
bool write_sound_io(int32_t offset, uint8_t value);

}  // namespace tov
