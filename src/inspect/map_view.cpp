#include "inspect/map_view.h"
#include "core/machine_interface.h"

#include <algorithm>

#include "inspect/bitmaps.h"
#include "inspect/view_text.h"
#include "machine/registers.h"
#include "machine/vram_layout.h"
#include "memory/io_registers.h"

namespace tov {

namespace {

constexpr int map_size = 256;

rgb entry_pixel(const map_view_options& options, int32_t map, int32_t tiles, int x, int y) {
    const int32_t entry = map + (y / 8) * tile_map_columns + x / 8;
    const uint8_t number = vram[entry];
    const uint8_t attributes = vram[vram_bank1 + entry];
    int column = x % 8;
    int row = y % 8;
    if (attributes & 0x20) {
        column = 7 - column;
    }
    if (attributes & 0x40) {
        row = 7 - row;
    }
    const int32_t data = map_tile_offset(number, tiles == tile_data_8000) + row * 2 +
                         (attributes & 0x08 ? vram_bank1 : 0);
    const int c = colour_number(vram[data], vram[data + 1], column);
    switch (options.colouring) {
        case map_colouring::colour: return colour_of_word(bg_colours[(attributes & 7) * 4 + c]);
        case map_colouring::grey_white_zero: return grey(greys_white_first[c]);
        default: return grey(greys_black_first[c]);
    }
}

// The screen's edges in red, wrapping around the map edges as the screen does.
void draw_outline() {
    const int left = machine().io_register(SCX);
    const int top = machine().io_register(SCY);
    for (int i = 0; i <= 144; ++i) {
        const int y = (top + i) % map_size;
        map_picture.put(left, y, pure_red);
        map_picture.put((left + 160) % map_size, y, pure_red);
    }
    for (int i = 0; i <= 160; ++i) {
        const int x = (left + i) % map_size;
        map_picture.put(x, top, pure_red);
        map_picture.put(x, (top + 144) % map_size, pure_red);
    }
}

// A pointer coordinate on the twice-sized map as a map column or row, 0-31.
int entry_coordinate(int pointer) {
    return std::clamp(pointer, 0, 511) / 16;
}

}  // namespace

int32_t map_area_offset(const map_view_options& options) {
    if (options.map == map_source::automatic) {
        return tile_map_offset(lcdc_bg_map_hi);
    }
    return tile_map_offset(options.map == map_source::area_9c00);
}

int32_t tile_area_offset(const map_view_options& options) {
    if (options.tiles == tile_source::automatic) {
        return lcdc_tiles_8000 ? tile_data_8000 : tile_data_8800;
    }
    return options.tiles == tile_source::area_8800 ? tile_data_8800 : tile_data_8000;
}

void draw_map(const map_view_options& options) {
    const int32_t map = map_area_offset(options);
    const int32_t tiles = tile_area_offset(options);
    for (int y = 0; y < map_size; ++y) {
        for (int x = 0; x < map_size; ++x) {
            map_picture.put(x, y, entry_pixel(options, map, tiles, x, y));
        }
    }
    if (options.outline) {
        draw_outline();
    }
}

map_entry_texts describe_map_entry(const map_view_options& options, int x, int y) {
    const int column = entry_coordinate(x);
    const int row = entry_coordinate(y);
    const int32_t entry = map_area_offset(options) + row * tile_map_columns + column;
    const uint8_t attributes = vram[vram_bank1 + entry];
    return {formatted("%d", column),           formatted("%d", row),
            formatted("%d", vram[entry]),      formatted("%d", attributes),
            formatted("%.4X", 0x8000 + entry), formatted("%d", (attributes >> 3) & 1),
            formatted("%d", attributes & 7),   (attributes & 0x20) != 0,
            (attributes & 0x40) != 0,          (attributes & 0x80) != 0};
}

}  // namespace tov
