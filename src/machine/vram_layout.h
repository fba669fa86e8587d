// How video RAM is laid out, as offsets into vram (GB 8000 is offset 0000):
// bank 0 holds tile data and the two tile maps, bank 1 follows it with more
// tile data and the maps' attribute bytes at the same offsets as their tiles.
#pragma once

#include <cstdint>

#include "machine/memory.h"

namespace tov {

constexpr int32_t vram_bank1 = vram_bank_size;  // bank 1 starts here
constexpr int32_t tile_map_low = 0x1800;        // GB 9800
constexpr int32_t tile_map_high = 0x1C00;       // GB 9C00
constexpr int32_t tile_map_columns = 32;        // a map is 32 x 32 tiles
constexpr int32_t tile_bytes = 16;              // 8 rows of 2 bytes
constexpr int32_t tile_data_8000 = 0x0000;      // LCDC bit 4 set: unsigned numbers
constexpr int32_t tile_data_8800 = 0x0800;      // LCDC bit 4 clear: signed numbers

// The map LCDC selects with its bit 3 (background) or bit 6 (window).
constexpr int32_t tile_map_offset(bool high) {
    return high ? tile_map_high : tile_map_low;
}

// Offset of tile number `tile` (0-255) as a map names it. With tile data at
// 8000 (LCDC bit 4 set) the number is unsigned; at 8800 it is signed: XOR 80
// puts 80-FF at 0800-0FF0 and 00-7F from 1000 on.
constexpr int32_t map_tile_offset(int tile, bool tiles_8000) {
    return tiles_8000 ? tile_data_8000 + tile * tile_bytes
                      : tile_data_8800 + (tile ^ 0x80) * tile_bytes;
}

}  // namespace tov
