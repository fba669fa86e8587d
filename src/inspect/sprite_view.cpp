#include "inspect/sprite_view.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/machine_interface.h"
#include "inspect/bitmaps.h"
#include "inspect/view_text.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "machine/vram_layout.h"
#include "memory/io_registers.h"
#include "video/frame.h"

namespace tov {

namespace {

static_assert(sizeof snapshot_bitmap == sizeof frame_buffer, "the snapshot is the screen");

const uint8_t* sprite_bytes(int sprite) {
    return oam + std::clamp(sprite, 0, sprite_count - 1) * 4;
}

// Attributes, palette and height of a sprite as the thumbnail draws it:
// a monochrome cartridge uses only the high nibble, and bit 4 picks the palette.
struct sprite_look {
    int attributes;
    int palette;
    int height;
    int tile;
};

sprite_look look_of(int sprite) {
    const int height = (machine().peek(io_address(LCDC)) & 0x04) ? 16 : 8;
    int tile = machine().peek(0xFE02 + 4 * sprite);
    int attributes = machine().peek(0xFE03 + 4 * sprite);
    int palette = attributes & 7;
    if (!colour_mode) {
        attributes &= 0xF0;
        palette = (attributes >> 4) & 1;
    }
    if (height == 16) {
        tile &= 0xFE;
    }
    return {attributes, palette, height, tile};
}

}  // namespace

page_point thumbnail_position(int sprite) {
    return {30 + (sprite % 8) * 64, 15 + (sprite / 8) * 64};
}

void draw_sprite_thumbnail(int sprite) {
    sprite = std::clamp(sprite, 0, sprite_count - 1);
    sprite_picture.fill(white);
    const sprite_look look = look_of(sprite);
    const int top = look.height == 16 ? 0 : 4;
    const int32_t bank = look.attributes & 0x08 ? vram_bank1 : 0;
    for (int y = 0; y < look.height; ++y) {
        const int row = look.attributes & 0x40 ? look.height - 1 - y : y;
        const int32_t data = bank + look.tile * tile_bytes + row * 2;
        for (int j = 0; j < 8; ++j) {
            const int column = look.attributes & 0x20 ? 7 - j : j;
            const int c = colour_number(vram[data], vram[data + 1], j);
            sprite_picture.put(column, top + y, colour_of_word(obj_colours[look.palette * 4 + c]));
        }
    }
    if (machine().peek(0xFE00 + 4 * sprite) == 0 && machine().peek(0xFE01 + 4 * sprite) == 0) {
        sprite_picture.line(0, 0, sprite_bitmap_width, sprite_bitmap_height, pure_red);
    }
}

std::string oam_column_text(int column) {
    column = std::clamp(column, 0, oam_column_count - 1);
    uint8_t b[20];
    for (int i = 0; i < 5; ++i) {
        std::memcpy(b + i * 4, oam + (column + i * 8) * 4, 4);
    }
    char text[128];
    std::snprintf(text, sizeof text,
                  "%.2X\n%.2X\n%.2X\n%.2X\n\n%.2X\n%.2X\n%.2X\n%.2X\n\n%.2X\n%.2X\n%.2X\n%.2X "
                  "\n\n%.2X\n%.2X\n%.2X\n%.2X \n\n%.2X\n%.2X\n%.2X\n%.2X ",
                  b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12],
                  b[13], b[14], b[15], b[16], b[17], b[18], b[19]);
    return text;
}

int sprite_under_pointer(int x, int y) {
    return std::min(std::max(x, 0) / 67, 7) + std::min(std::max(y, 0) / 68, 4) * 8;
}

sprite_texts describe_sprite(int sprite) {
    const uint8_t* bytes = sprite_bytes(sprite);
    const int attributes = bytes[3];
    return {formatted("%d", sprite),
            formatted("%d", bytes[1]),
            formatted("%d", bytes[0]),
            formatted("%X", attributes),
            formatted("%X", 0xFE00 + 4 * sprite),
            formatted("%d", (attributes >> 4) & 1),
            (attributes & 0x20) != 0,
            (attributes & 0x40) != 0,
            (attributes & 0x80) != 0};
}

void take_snapshot() {
    std::memcpy(snapshot_bitmap, frame_buffer, sizeof snapshot_bitmap);
}

// The sprite's screen position is X - 8, Y - 16; its frame's right edge is
// drawn one column further, at X.
void mark_sprite_on_snapshot(int sprite) {
    const uint8_t* bytes = sprite_bytes(sprite);
    const int y = bytes[0];
    const int x = bytes[1];
    if (x <= 7 || y <= 15 || x >= 168 || y >= 160) {
        return;
    }
    const int height = lcdc_obj_tall ? 16 : 8;
    const int left = x - 8;
    const int top = y - 16;
    for (int i = 0; i < 8; ++i) {
        snapshot_picture.put(left + i, top, pure_red);
        snapshot_picture.put(left + i, top + height, pure_red);
    }
    for (int i = 0; i < height; ++i) {
        snapshot_picture.put(left, top + i, pure_red);
        snapshot_picture.put(x, top + i, pure_red);
    }
    snapshot_picture.line(0, 0, left, top, pure_red);
}

}  // namespace tov
