// The debugger's pictures: four bitmaps the pages draw into, laid out as the
// frame buffer is (3 bytes per pixel, blue, green, red, rows top to bottom),
// the tab the debugger shows, and the small drawing helpers the pages share.
#pragma once

#include <cstdint>

namespace tov {

constexpr int map_bitmap_width = 256;
constexpr int map_bitmap_height = 256;
constexpr int tile_bitmap_width = 256;
constexpr int tile_bitmap_height = 192;
constexpr int sprite_bitmap_width = 8;
constexpr int sprite_bitmap_height = 16;
constexpr int snapshot_bitmap_width = 160;
constexpr int snapshot_bitmap_height = 144;

extern uint8_t map_bitmap[map_bitmap_width * map_bitmap_height * 3];
extern uint8_t tile_bitmap[tile_bitmap_width * tile_bitmap_height * 3];
extern uint8_t sprite_bitmap[sprite_bitmap_width * sprite_bitmap_height * 3];
extern uint8_t snapshot_bitmap[snapshot_bitmap_width * snapshot_bitmap_height * 3];

// The tab the debugger shows, 0-5; the page timers draw only for their tab.
extern int32_t current_tab;

struct rgb {
    uint8_t red, green, blue;
};

constexpr rgb pure_red{255, 0, 0};
constexpr rgb white{255, 255, 255};

constexpr rgb grey(uint8_t level) {
    return {level, level, level};
}

// A 15-bit colour word (red bits 0-4, green 5-9, blue 10-14) at 8 steps a level.
rgb colour_of_word(int32_t word);

// The grey of colour numbers 0-3 with colour 0 white, and with colour 0 black.
constexpr uint8_t greys_white_first[4] = {255, 200, 150, 0};
constexpr uint8_t greys_black_first[4] = {0, 150, 200, 255};

// Colour number (0-3) of pixel column `column` (0 leftmost) of a tile row
// given by its low and high bit planes.
inline int colour_number(uint8_t low, uint8_t high, int column) {
    const int bit = 7 - column;
    return ((high >> bit) & 1) * 2 + ((low >> bit) & 1);
}

// One of the bitmaps. Pixels outside it are skipped, so callers may draw
// shapes that cross its edges.
struct bitmap_view {
    uint8_t* pixels;
    int width;
    int height;

    void put(int x, int y, rgb colour) const;
    void fill(rgb colour) const;
    // A line from x0, y0 towards x1, y1, the end point itself not drawn.
    void line(int x0, int y0, int x1, int y1, rgb colour) const;
};

constexpr bitmap_view map_picture{map_bitmap, map_bitmap_width, map_bitmap_height};
constexpr bitmap_view tile_picture{tile_bitmap, tile_bitmap_width, tile_bitmap_height};
constexpr bitmap_view sprite_picture{sprite_bitmap, sprite_bitmap_width, sprite_bitmap_height};
constexpr bitmap_view snapshot_picture{snapshot_bitmap, snapshot_bitmap_width,
                                       snapshot_bitmap_height};

}  // namespace tov
