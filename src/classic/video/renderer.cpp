#include "classic/video/renderer.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "classic/memory/memory_map.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "machine/vram_layout.h"
#include "memory/io_registers.h"
#include "memory/palettes.h"
#include "video/frame.h"
#include "video/host_palette.h"
#include "video/tile_rows.h"

namespace tov {

namespace {

// What lies under each pixel of the line being drawn, for the objects.
constexpr uint8_t layer_clear = 0;         // nothing, or background colour 0
constexpr uint8_t layer_opaque = 1;        // background or window colour 1-3
constexpr uint8_t layer_over_objects = 2;  // the same under map attribute bit 7
constexpr uint8_t object_decided = 3;      // an object's pixel, drawn or hidden

// The line is drawn as indices into the host colours: background palette
// entries 0-31, object palette entries 32-63, and the cleared colour. Both
// arrays have room for a tile's eight bytes written past the last pixel.
constexpr uint8_t first_object_colour = first_object_entry;
constexpr uint8_t cleared = blank_entry;
constexpr int line_room = screen_width + 8;
uint8_t line_colours[line_room];
uint8_t line_layers[line_room];

host_palette host_colours;

// Draws screen columns [first, 160) from one row of a tile map, a tile row
// (eight pixels) at a time; column x shows map column (x + shift) AND FF of
// map row map_y. Colour 0 never hides objects, whatever the map's priority
// attribute says.
void draw_map_row(int map, int map_y, int first, int shift) {
    const int entries = map + (map_y >> 3) * tile_map_columns;
    const bool tiles_8000 = lcdc_tiles_8000;  // read once: the stores below may alias it
    int x = first;
    while (x < screen_width) {
        const int map_x = (x + shift) & 0xFF;
        const int entry = entries + (map_x >> 3);
        const int tile = vram[entry];
        const int attributes = vram[vram_bank1 + entry];
        const int row = attributes & 0x40 ? 7 - (map_y & 7) : map_y & 7;
        const int data =
            map_tile_offset(tile, tiles_8000) + row * 2 + (attributes & 0x08 ? vram_bank1 : 0);
        // A scrolled first tile starts inside the row; its missing pixels at
        // the end are left for the next tile to overwrite.
        const int skipped = map_x & 7;
        const uint64_t colours =
            row_colours(vram[data], vram[data + 1], attributes & 0x20) >> (8 * skipped);
        store8(line_colours + x, colours + (attributes & 7) * 4 * every_byte);
        const uint64_t opaque = ((colours | colours >> 1) & every_byte) * 0xFF;
        const uint64_t layer = (attributes & 0x80 ? layer_over_objects : layer_opaque) * every_byte;
        store8(line_layers + x, (load8(line_layers + x) & ~opaque) | (layer & opaque));
        x += 8 - skipped;
    }
}

void draw_background(int ly) {
    const int scx = read_byte(io_address(SCX));
    const int scy = read_byte(io_address(SCY));
    const int map = tile_map_offset(lcdc_bg_map_hi);
    draw_map_row(map, (scy + ly) & 0xFF, 0, scx);
}

// The window row line ly shows, counting the line as hidden when it is at or
// below WY and the window is not shown. A window hidden for some lines (WX off
// the screen, LCDC bit 5 clear, or bit 0 clear on a monochrome cartridge) goes
// on with its next row when it shows again. A line drawn again (the debugger's
// step) is not counted twice.
int window_row(int ly, int wy, bool shown) {
    window_line_counter& counter = window_lines;
    if (ly < counter.last_line) {
        counter = {};
    } else if (ly > counter.last_line && counter.last_hidden) {
        ++counter.hidden_before;
    }
    counter.last_line = ly;
    counter.last_hidden = ly >= wy && !shown;
    // When WY moves down after hidden lines were counted, start at row 0.
    return std::max(ly - wy - counter.hidden_before, 0);
}

// The window starts at screen column WX - 7 and row WY. LCDC bit 0 clear hides
// it on a monochrome cartridge; a colour cartridge keeps lcdc_bg_on set.
void draw_window(int ly) {
    const int wx = read_byte(io_address(WX)) - 7;
    const int wy = read_byte(io_address(WY));
    const bool shown = lcdc_win_on && lcdc_bg_on && ly >= wy && wx < screen_width;
    const int row = window_row(ly, wy, shown);
    if (!shown) {
        return;
    }
    const int map = tile_map_offset(lcdc_win_map_hi);
    const int first = wx < 0 ? 0 : wx;
    draw_map_row(map, row, first, -wx);
}

// The console draws at most ten objects per line.
constexpr int objects_per_line = 10;

// OAM indices of the objects on a line, the one on top first.
struct line_objects {
    std::array<int, objects_per_line> index;
    int count = 0;
};

// The first ten objects in OAM order whose rows cover the line, wherever
// their X puts them.
line_objects objects_on_line(int ly, int height) {
    line_objects found;
    for (int n = 0; n < 40 && found.count < objects_per_line; ++n) {
        const int y = oam[n * 4] - 16;
        if (ly >= y && ly <= y + height) {
            found.index[found.count++] = n;
        }
    }
    return found;
}

// Where objects overlap, a colour cartridge puts the lower OAM index on top;
// a monochrome one the lower X, and at equal X the lower index.
void order_by_precedence(line_objects& found) {
    if (colour_mode) {
        return;
    }
    std::sort(found.index.begin(), found.index.begin() + found.count, [](int a, int b) {
        const int xa = oam[a * 4 + 1];
        const int xb = oam[b * 4 + 1];
        return xa != xb ? xa < xb : a < b;
    });
}

// The eight colour numbers of an object's row on line ly, leftmost pixel
// shown first.
uint64_t object_row_colours(const uint8_t* object, int flags, int ly, int height) {
    int row = ly - (object[0] - 16);
    if (flags & 0x40) {
        row = height - row;
    }
    int tile = object[2];
    if (height == 15) {
        tile &= 0xFE;
    }
    const int data = tile * tile_bytes + row * 2 + (flags & 0x08 ? vram_bank1 : 0);
    return row_colours(vram[data], vram[data + 1], flags & 0x20);
}

// Whether the background or window at a pixel hides an object there: its
// colour 1-3 under a map attribute with bit 7, or any of its colours 1-3 when
// the object has attribute bit 7 (behind the background).
bool layer_hides(uint8_t priority, bool behind_background) {
    return priority == layer_over_objects || (behind_background && priority != layer_clear);
}

// Draws object n on line ly where no object above it has a pixel. Its opaque
// pixels take their place even where the background hides them, so an object
// behind cannot show through there.
void draw_object(int n, int ly, int height, bool over_layers) {
    const uint8_t* object = oam + n * 4;
    // Monochrome: no tile bank and no colour palettes; bit 4 picks OBP1.
    const int flags = colour_mode ? object[3] : object[3] & 0xF0;
    const int palette = colour_mode ? flags & 7 : (flags >> 4) & 1;
    const int first_colour = first_object_colour + palette * 4;
    const bool behind_background = flags & 0x80;
    uint64_t numbers = object_row_colours(object, flags, ly, height);
    const int x = object[1] - 8;
    for (int px = x; px < x + 8; ++px, numbers >>= 8) {
        const int c = static_cast<int>(numbers & 3);
        if (c == 0 || px < 0 || px >= screen_width) {
            continue;
        }
        uint8_t& layer = line_layers[px];
        if (layer == object_decided) {
            continue;
        }
        if (over_layers || !layer_hides(layer, behind_background)) {
            line_colours[px] = static_cast<uint8_t>(first_colour + c);
        }
        layer = object_decided;
    }
}

// With LCDC bit 0 clear a colour cartridge draws the objects over the
// background and the window whatever their priority bits say.
void draw_sprites(int ly) {
    const uint8_t lcdc = peek_byte(io_address(LCDC));
    const int height = (lcdc & 0x04) ? 15 : 7;
    line_objects found = objects_on_line(ly, height);
    line_sprite_count = found.count;
    order_by_precedence(found);
    const bool over_layers = colour_mode && !(lcdc & 0x01);
    for (int k = 0; k < found.count; ++k) {
        draw_object(found.index[k], ly, height, over_layers);
    }
}

// The line's colour indices as the frame's blue, green, red bytes. Each pixel
// is stored as four bytes, the fourth overwritten by the next pixel; the last
// one as three.
void put_line(int ly) {
    uint8_t* out = frame_buffer + ly * frame_row_bytes;
    const uint8_t* const last = line_colours + screen_width - 1;
    for (const uint8_t* index = line_colours; index < last; ++index, out += 3) {
        std::memcpy(out, &host_colours.colours[*index], 4);
    }
    std::memcpy(out, &host_colours.colours[*last], 3);
}

// A line without background shows the palette's lightest shade; under TOV
// Greys the white TOV has always shown there, a step lighter than theirs.
uint32_t cleared_colour() {
    return monochrome_palette() == named_palettes[0].shades ? 0xFFFFFF : blank_colour(false, colour_scale::top_bits);
}

}  // namespace

void render_line() {
    const int ly = render_ly;
    if (ly < 0 || ly >= screen_height) {
        return;
    }
    follow_palettes(host_colours, cleared_colour());
    std::memset(line_colours, cleared, sizeof line_colours);
    std::memset(line_layers, layer_clear, sizeof line_layers);
    if (lcdc_bg_on) {
        draw_background(ly);
    }
    draw_window(ly);  // also on lines without the window, to count them
    if (lcdc_obj_on) {
        draw_sprites(ly);
    }
    put_line(ly);
}

}  // namespace tov
