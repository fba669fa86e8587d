#include "accurate/video/drawing_time.h"

#include <algorithm>
#include <array>

#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/registers.h"

namespace tov {

namespace {

constexpr int base_dots = 172;
constexpr int window_dots = 6;
constexpr int object_fetch_dots = 6;
// Tile numbers for the waits: background tiles count from 0 by their
// scrolled position, the window's from window_tiles, and an object at OAM X
// 0 meets a tile left of the screen.
constexpr int window_tiles = 1000;
constexpr int off_screen_tile = -1000;
constexpr int objects_per_line = 10;
constexpr int screen_width = 160;

struct line_object {
    int x;      // OAM X
    int index;  // in OAM
};

// The first ten objects in OAM whose rows cover the line, by X, then index.
int objects_on(int line, line_object (&found)[objects_per_line]) {
    const int height = (io_page[LCDC] & 0x04) ? 16 : 8;
    int count = 0;
    for (int n = 0; n < 40 && count < objects_per_line; ++n) {
        const int y = oam[n * 4] - 16;
        if (line >= y && line < y + height) {
            found[count++] = {oam[n * 4 + 1], n};
        }
    }
    std::sort(found, found + count, [](const line_object& a, const line_object& b) {
        return a.x != b.x ? a.x < b.x : a.index < b.index;
    });
    return count;
}

// The window shows on the line from screen column `start`, or not at all.
bool window_start(int line, int& start) {
    const uint8_t lcdc = io_page[LCDC];
    const bool background = colour_mode || (lcdc & 0x01);
    start = io_page[WX] - 7;
    return (lcdc & 0x20) && background && line >= io_page[WY] && io_page[WX] <= 166;
}

}  // namespace

// An object stalls the background fetch of the tile its leftmost pixel lies
// in: by the pixels of that tile right of it, less two, the first time that
// tile is met.
int drawing_dots(int line, bool objects_seen) {
    const int scroll = io_page[SCX] & 7;
    int window = 0;
    const bool windowed = window_start(line, window);
    int dots = base_dots + scroll + (windowed && window < screen_width ? window_dots : 0);
    if (!objects_seen || !(io_page[LCDC] & 0x02)) {
        return dots;
    }
    line_object found[objects_per_line];
    const int count = objects_on(line, found);
    int last_tile = off_screen_tile - 1;
    for (int k = 0; k < count; ++k) {
        const int x = found[k].x;
        if (x >= screen_width + 8) {
            continue;  // right of the screen: not fetched
        }
        // An object at OAM X 0 waits as if its pixel began a tile of its own,
        // whatever the scroll.
        const int pixel = x - 8;
        const bool in_window = windowed && pixel >= window;
        const int position = x == 0 ? 0 : in_window ? pixel - window : pixel + io_page[SCX];
        const int tile =
            x == 0 ? off_screen_tile : (position >> 3) + (in_window ? window_tiles : 0);
        if (tile != last_tile) {
            dots += std::max(0, 7 - (position & 7) - 2);
            last_tile = tile;
        }
        dots += object_fetch_dots;
    }
    return dots;
}

}  // namespace tov
