#include "inspect/tile_view.h"
#include "core/machine_interface.h"

#include <algorithm>
#include <cstdio>

#include "inspect/bitmaps.h"
#include "inspect/view_text.h"
#include "machine/vram_layout.h"

namespace tov {

namespace {

constexpr int tile_count = 384;
constexpr int tiles_per_row = 16;
constexpr int half_width = 128;

// Tile t of a half at column t mod 16 and row t / 16, 8 x 8 pixels each.
template <typename read_tile_byte>
void draw_half(int left, read_tile_byte read) {
    for (int t = 0; t < tile_count; ++t) {
        const int x = left + (t % tiles_per_row) * 8;
        const int y = (t / tiles_per_row) * 8;
        for (int row = 0; row < 8; ++row) {
            const uint8_t low = read(t * tile_bytes + row * 2);
            const uint8_t high = read(t * tile_bytes + row * 2 + 1);
            for (int column = 0; column < 8; ++column) {
                const int c = colour_number(low, high, column);
                tile_picture.put(x + column, y + row, grey(greys_white_first[c]));
            }
        }
    }
}

}  // namespace

void draw_tiles() {
    draw_half(0, [](int offset) { return machine().peek(0x8000 + offset); });
    draw_half(half_width, [](int offset) { return vram[vram_bank1 + offset]; });
}

// The pointer is held inside the twice-sized bitmap, so the texts always
// name a tile that is drawn.
tile_texts describe_tile(int x, int y) {
    int column = std::clamp(x, 0, 511) / 16;
    const int row = std::clamp(y, 0, 380) / 16;
    int bank = 0;
    int base = 0x8000;
    if (column > 15) {
        bank = 1;
        column -= 16;
    }
    int index = column + row * 16;
    if (index >= 256) {
        base = 0x9000;
        index -= 256;
    }
    char address[24];
    std::snprintf(address, sizeof address, "%d:%X", bank, base + index * tile_bytes);
    return {formatted("%d", index), address};
}

}  // namespace tov
