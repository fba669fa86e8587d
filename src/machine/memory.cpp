#include "machine/memory.h"

namespace tov {

uint8_t rom_bank0[rom_bank_size];
uint8_t rom_banks[rom_bank_size * rom_bank_count];
uint8_t vram[vram_bank_size * 2];
uint8_t cart_ram[cart_ram_bank_size * cart_ram_bank_count];
uint8_t wram0[wram_bank_size];
uint8_t wram_banks[wram_bank_size * wram_bank_count];
uint8_t echo_ram[wram_bank_size];
uint8_t oam[oam_size];
uint8_t io_page[256];

uint8_t ram_enable;
uint8_t rom_bank;
uint8_t ram_bank;
uint8_t bank_mode;
uint8_t wram_bank;

int32_t rom_banks_loaded = 1;
uint8_t rom_last_part[rom_bank_size];
int32_t rom_last_part_size;
uint8_t clock_selected;

}  // namespace tov
