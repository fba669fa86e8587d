#include "inspect/bitmaps.h"

#include <cstdlib>

#include "video/frame.h"

namespace tov {

uint8_t map_bitmap[map_bitmap_width * map_bitmap_height * 3];
uint8_t tile_bitmap[tile_bitmap_width * tile_bitmap_height * 3];
uint8_t sprite_bitmap[sprite_bitmap_width * sprite_bitmap_height * 3];
uint8_t snapshot_bitmap[snapshot_bitmap_width * snapshot_bitmap_height * 3];

int32_t current_tab;

rgb colour_of_word(int32_t word) {
    return {colour_level(word, 0), colour_level(word, 5), colour_level(word, 10)};
}

void bitmap_view::put(int x, int y, rgb colour) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return;
    }
    uint8_t* pixel = pixels + (y * width + x) * 3;
    pixel[0] = colour.blue;
    pixel[1] = colour.green;
    pixel[2] = colour.red;
}

void bitmap_view::fill(rgb colour) const {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            put(x, y, colour);
        }
    }
}

// Bresenham's line; like a pen's line it stops one pixel short of its end.
void bitmap_view::line(int x0, int y0, int x1, int y1, rgb colour) const {
    const int dx = std::abs(x1 - x0);
    const int dy = std::abs(y1 - y0);
    const int step_x = x0 < x1 ? 1 : -1;
    const int step_y = y0 < y1 ? 1 : -1;
    int error = dx - dy;
    int x = x0;
    int y = y0;
    while (x != x1 || y != y1) {
        put(x, y, colour);
        const int twice = 2 * error;
        if (twice > -dy) {
            error -= dy;
            x += step_x;
        }
        if (twice < dx) {
            error += dx;
            y += step_y;
        }
    }
}

}  // namespace tov
