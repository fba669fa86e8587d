// Writes to the I/O page (FF00-FFFF) and the state derived from them: the
// LCDC flags the renderer reads and the 15-bit colour tables behind the
// monochrome and colour palettes.
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

// 1 while an HBlank-mode VRAM transfer is reported as running.
extern uint8_t hdma_active;

// The colours BGP, OBP0 and OBP1 choose among on a monochrome cartridge: the
// palette in use (memory/palettes.h), or those the colour console's start-up
// program gives a monochrome game.
extern int32_t monochrome_shades[3][4];
void use_palette_shades();

// A write to the I/O register at io_page[offset], offset 0x00-0xFF.
void write_io_register(int32_t offset, uint8_t value);

}  // namespace tov
