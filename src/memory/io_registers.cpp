#include "memory/io_registers.h"

#include "memory/memory_map.h"

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

uint8_t hdma_active;

void write_io_register(int32_t offset, uint8_t value) {
    io_page[offset & 0xFF] = value;
}

}  // namespace tov
