// The "OAM DATA" page's pictures and texts: the sprite attribute memory as
// eight hex columns, one enlarged thumbnail per sprite, and the sprite under
// the pointer marked on a snapshot of the screen.
#pragma once

#include <string>

namespace tov {

constexpr int sprite_count = 40;
constexpr int oam_column_count = 8;

// Thumbnails are sprite_bitmap at three times its size; the snapshot is
// shown 1:1 below them.
constexpr int thumbnail_width = 24;
constexpr int thumbnail_height = 48;
constexpr int snapshot_left = 0;
constexpr int snapshot_top = 400;

struct page_point {
    int x, y;
};

// Where sprite `sprite`'s thumbnail goes on the page: eight a row, 64 pixels apart.
page_point thumbnail_position(int sprite);

// Draws sprite `sprite` (0-39) into sprite_bitmap on white, with its own
// palette, flips and bank; a sprite at 0,0 is struck through in red.
void draw_sprite_thumbnail(int sprite);

// Column k (0-7): sprites k, k + 8, ..., k + 32 as their four bytes in hex.
std::string oam_column_text(int column);

// The sprite whose thumbnail area holds the page point x, y.
int sprite_under_pointer(int x, int y);

struct sprite_texts {
    std::string sprite_no, x_loc, y_loc, attribute, oam_address, palette;
    bool x_flip, y_flip, priority;
};

sprite_texts describe_sprite(int sprite);

// Copies the frame buffer into snapshot_bitmap.
void take_snapshot();

// Outlines sprite `sprite` on the snapshot in red, with a line to it from
// the corner, when it stands on the screen.
void mark_sprite_on_snapshot(int sprite);

}  // namespace tov
