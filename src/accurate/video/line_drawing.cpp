#include "accurate/video/line_drawing.h"

#include <algorithm>
#include <cstring>

#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/registers.h"
#include "machine/vram_layout.h"
#include "memory/io_registers.h"
#include "video/frame.h"
#include "video/host_palette.h"
#include "video/tile_rows.h"

namespace tov {

window_state window_rows;
bool draw_in_single_pixels = false;

namespace {

constexpr int width = screen_width;
constexpr int search_dots = 80;
constexpr int first_pixel_delay = 12;  // two tile fetches before the first pixel
constexpr int window_setup_dots = 6;
constexpr int object_fetch_dots = 6;
constexpr int fetch_lead = 8;  // a tile is fetched this long before its first pixel goes out
constexpr int objects_per_line = 10;

// Tile numbers for the objects' waits: background tiles count by their
// scrolled position, the window's from window_tiles, and an object at OAM X
// 0 meets a tile left of the screen.
constexpr int window_tiles = 1000;
constexpr int off_screen_tile = -1000;

struct line_object {
    int x;      // OAM X
    int index;  // in OAM
};

struct line_in_progress {
    int line = 0;
    bool drawn = false;
    int scroll = 0;         // SCX as mode 3 began
    int window_column = 0;  // where the window starts (may be left of the screen), or width
    line_object objects[objects_per_line];
    int object_count = 0;
    // When the pixels go out: the first at first_dot, then one a dot, but for
    // the stalls, each of stall_dots before the pixel at stall_column.
    int first_dot = 0;
    int stall_count = 0;
    int stall_column[objects_per_line + 1];
    int stall_dots[objects_per_line + 1];
    int end_dot = 0;               // mode 3's end
    int fetched_to = 0;            // columns before it have their background fetched
    int next_object = 0;           // objects before it are fetched
    int output_to = 0;             // columns before it are in the frame
    uint8_t bg_number[width + 8];  // with room for a tile's eight columns past the end
    uint8_t bg_attributes[width + 8];
    uint8_t object_number[width + 8];  // 0: no object pixel
    uint8_t object_attributes[width];
    uint8_t object_index[width];
};
line_in_progress drawing;

int first_column(const line_object& object) {
    return std::max(object.x - 8, 0);
}

bool window_started() {
    return drawing.window_column < width && drawing.fetched_to > std::max(drawing.window_column, 0);
}

// Where the window starts on the line with the registers as they are now.
int window_column_now() {
    const uint8_t lcdc = io_page[LCDC];
    const bool background = colour_mode || (lcdc & 0x01);
    const bool shown = (lcdc & 0x20) && background && window_rows.triggered && io_page[WX] <= 166;
    return shown ? io_page[WX] - 7 : width;
}

// The first ten objects in OAM whose rows cover the line, by X, then index;
// those right of the screen are never fetched.
void search_objects(bool seen) {
    drawing.object_count = 0;
    if (!seen) {
        return;
    }
    const int height = (io_page[LCDC] & 0x04) ? 16 : 8;
    int found = 0;
    for (int n = 0; n < 40 && found < objects_per_line; ++n) {
        const int y = oam[n * 4] - 16;
        if (drawing.line >= y && drawing.line < y + height) {
            ++found;
            if (oam[n * 4 + 1] < width + 8) {
                drawing.objects[drawing.object_count++] = {oam[n * 4 + 1], n};
            }
        }
    }
    std::sort(drawing.objects, drawing.objects + drawing.object_count,
              [](const line_object& a, const line_object& b) {
                  return a.x != b.x ? a.x < b.x : a.index < b.index;
              });
}

// An object stalls the background fetch of the tile its leftmost pixel lies
// in: by the pixels of that tile right of it, less two, the first time that
// tile is met; at OAM X 0, as if its pixel began a tile.
int object_wait(const line_object& object, int& last_tile) {
    const int pixel = object.x - 8;
    const bool in_window = drawing.window_column < width && pixel >= drawing.window_column;
    const int position = object.x == 0 ? 0
                         : in_window   ? pixel - drawing.window_column
                                       : pixel + drawing.scroll;
    const int tile =
        object.x == 0 ? off_screen_tile : (position >> 3) + (in_window ? window_tiles : 0);
    int dots = object_fetch_dots;
    if (tile != last_tile) {
        dots += std::max(0, 7 - (position & 7) - 2);
        last_tile = tile;
    }
    return dots;
}

void add_stall(int column, int dots) {
    const int last = drawing.stall_count - 1;
    if (last >= 0 && drawing.stall_column[last] == column) {
        drawing.stall_dots[last] += dots;
    } else {
        drawing.stall_column[drawing.stall_count] = column;
        drawing.stall_dots[drawing.stall_count++] = dots;
    }
}

// When the pixels go out: after the first fetches and the fine scroll's
// thrown-away pixels, one a dot, with the window's setup and each object's
// fetch in between, at the columns they are met.
void plan_timing() {
    drawing.first_dot = search_dots + first_pixel_delay + (drawing.scroll & 7);
    drawing.stall_count = 0;
    int last_tile = off_screen_tile - 1;
    int total = 0;
    const int window = drawing.window_column < width ? std::max(drawing.window_column, 0) : width;
    bool window_waited = false;
    for (int k = 0; k < drawing.object_count; ++k) {
        const int column = first_column(drawing.objects[k]);
        if (!window_waited && window <= column) {
            add_stall(window, window_setup_dots);
            total += window_setup_dots;
            window_waited = true;
        }
        const int wait = object_wait(drawing.objects[k], last_tile);
        add_stall(column, wait);
        total += wait;
    }
    if (!window_waited && window < width) {
        add_stall(window, window_setup_dots);
        total += window_setup_dots;
    }
    drawing.end_dot = drawing.first_dot + width + total;
}

// The dot at which pixel `x` goes out.
int pixel_dot(int x) {
    int dot = drawing.first_dot + x;
    for (int k = 0; k < drawing.stall_count && drawing.stall_column[k] <= x; ++k) {
        dot += drawing.stall_dots[k];
    }
    return dot;
}

// Eight colour numbers of a tile row, with its attributes on the colour model.
uint64_t fetch_tile_row(int map, int map_x, int map_y, bool tiles_8000, uint8_t& attributes) {
    const int entry = map + (map_y >> 3) * tile_map_columns + (map_x >> 3);
    attributes = colour_mode ? vram[vram_bank1 + entry] : 0;
    const int row = attributes & 0x40 ? 7 - (map_y & 7) : map_y & 7;
    const int data =
        map_tile_offset(vram[entry], tiles_8000) + row * 2 + (attributes & 0x08 ? vram_bank1 : 0);
    return row_colours(vram[data], vram[data + 1], attributes & 0x20);
}

// The background or window tile that covers column `column` on, up to its end
// or `limit`; returns the column after it.
int fetch_background(int column, int limit) {
    const uint8_t lcdc = io_page[LCDC];
    const bool window =
        drawing.window_column < width && column >= std::max(drawing.window_column, 0);
    int map_x;
    int map_y;
    int map;
    int end;
    if (window) {
        map_x = column - drawing.window_column;
        map_y = window_rows.line;
        map = tile_map_offset(lcdc & 0x40);
        end = column + 8 - (map_x & 7);
    } else {
        map_x = ((io_page[SCX] & 0xF8) + (drawing.scroll & 7) + column) & 0xFF;
        map_y = (drawing.line + io_page[SCY]) & 0xFF;
        map = tile_map_offset(lcdc & 0x08);
        end = column + 8 - (map_x & 7);
        if (drawing.window_column < width) {
            end = std::min(end, std::max(drawing.window_column, 0));
        }
    }
    end = std::min(end, limit);
    uint8_t attributes = 0;
    const uint64_t colours = fetch_tile_row(map, map_x & 0xFF, map_y, lcdc & 0x10, attributes);
    // Eight columns at once; those past the tile's end are fetched again
    // with the tile that covers them.
    const uint64_t shown = colours >> (8 * (map_x & 7));
    std::memcpy(drawing.bg_number + column, &shown, 8);
    const uint64_t spread_attributes = attributes * every_byte;
    std::memcpy(drawing.bg_attributes + column, &spread_attributes, 8);
    return end;
}

// An object's row of pixels goes where no object above it has one: on the
// monochrome model the one fetched first (lower X) keeps its pixels, on the
// colour model the lower OAM index.
void fetch_object(const line_object& object) {
    const uint8_t* entry = oam + object.index * 4;
    const int height = (io_page[LCDC] & 0x04) ? 16 : 8;
    const int flags = entry[3];
    int row = drawing.line - (entry[0] - 16);
    if (flags & 0x40) {
        row = height - 1 - row;
    }
    const int tile = height == 16 ? entry[2] & 0xFE : entry[2];
    const int data =
        tile * tile_bytes + (row & 15) * 2 + (colour_mode && (flags & 0x08) ? vram_bank1 : 0);
    uint64_t numbers = row_colours(vram[data], vram[data + 1], flags & 0x20);
    for (int x = object.x - 8; x < object.x; ++x, numbers >>= 8) {
        const int colour = static_cast<int>(numbers & 3);
        if (colour == 0 || x < 0 || x >= width) {
            continue;
        }
        const bool free = drawing.object_number[x] == 0;
        if (free || (colour_mode && object.index < drawing.object_index[x])) {
            drawing.object_number[x] = static_cast<uint8_t>(colour);
            drawing.object_attributes[x] = static_cast<uint8_t>(flags);
            drawing.object_index[x] = static_cast<uint8_t>(object.index);
        }
    }
}

// The fetches that began before `dot`, and the objects with them.
void fetch_until(int dot) {
    const bool all = dot > drawing.end_dot;
    while (drawing.fetched_to < width &&
           (all || pixel_dot(drawing.fetched_to) - fetch_lead < dot)) {
        const int end = fetch_background(drawing.fetched_to, width);
        while (drawing.next_object < drawing.object_count &&
               first_column(drawing.objects[drawing.next_object]) < end) {
            fetch_object(drawing.objects[drawing.next_object++]);
        }
        drawing.fetched_to = end;
    }
}

host_palette host_colours;

// The background's palette entries of columns [from, to), eight at a time.
void background_entries(int from, int to, bool background_on, uint8_t* entries) {
    if (!background_on) {
        std::memset(entries + from, blank_entry, static_cast<std::size_t>(to - from));
        return;
    }
    for (int x = from; x < to; x += 8) {
        const uint64_t palettes = load8(drawing.bg_attributes + x) & (7 * every_byte);
        store8(entries + x, palettes * 4 + load8(drawing.bg_number + x));
    }
}

// An object's colour 1-3 goes over the background, unless the background's
// colour 1-3 is above it: the object's priority bit, or on the colour model
// the map's, while LCDC bit 0 gives them weight.
void mix_objects(int from, int to, uint8_t lcdc, uint8_t* entries) {
    const bool background_on = colour_mode || (lcdc & 0x01);
    for (int x = from; x < to; ++x) {
        const int object = drawing.object_number[x];
        if (object == 0) {
            continue;
        }
        const int number = background_on ? drawing.bg_number[x] : 0;
        const int flags = drawing.object_attributes[x];
        const bool priority = (flags & 0x80) || (drawing.bg_attributes[x] & 0x80);
        const bool behind = number != 0 && (colour_mode ? (lcdc & 0x01) && priority : flags & 0x80);
        if (!behind) {
            const int palette = colour_mode ? flags & 7 : (flags >> 4) & 1;
            entries[x] = static_cast<uint8_t>(first_object_entry + palette * 4 + object);
        }
    }
}

// Columns [from, to) into the frame. Each pixel is stored as four bytes, the
// fourth overwritten by the next pixel; the row's last one as three.
void put_pixels(int from, int to) {
    uint8_t entries[width + 8];
    const uint8_t lcdc = io_page[LCDC];
    background_entries(from, to, colour_mode || (lcdc & 0x01), entries);
    if ((lcdc & 0x02) && drawing.next_object > 0) {
        mix_objects(from, to, lcdc, entries);
    }
    follow_palettes(host_colours, blank_colour(colour_model));
    uint8_t* out = frame_buffer + drawing.line * frame_row_bytes + from * 3;
    const int last = std::min(to, width - 1);
    for (int x = from; x < last; ++x, out += 3) {
        std::memcpy(out, &host_colours.colours[entries[x]], 4);
    }
    if (to == width) {
        std::memcpy(out, &host_colours.colours[entries[width - 1]], 3);
    }
}

// The fetched pixels that went out before `dot`.
void output_until(int dot) {
    int to = drawing.output_to;
    if (dot > drawing.end_dot) {
        to = drawing.fetched_to;
    }
    while (to < drawing.fetched_to && pixel_dot(to) < dot) {
        ++to;
    }
    if (to > drawing.output_to) {
        put_pixels(drawing.output_to, to);
        drawing.output_to = to;
    }
}

}  // namespace

void start_frame_drawing() {
    window_rows = {};
}

int start_line_drawing(int line, bool objects_seen, bool drawn) {
    drawing.line = line;
    drawing.drawn = drawn;
    drawing.scroll = io_page[SCX];
    if (line == io_page[WY]) {
        window_rows.triggered = 1;
    }
    drawing.window_column = window_column_now();
    search_objects(objects_seen);
    plan_timing();
    drawing.fetched_to = 0;
    drawing.next_object = 0;
    drawing.output_to = 0;
    std::memset(drawing.object_number, 0, sizeof drawing.object_number);
    return drawing.end_dot - search_dots;
}

void draw_line_until(int dot) {
    if (!drawing.drawn) {
        return;
    }
    fetch_until(dot);
    output_until(dot);
}

// The window moves only while the fetcher has not met it.
int window_registers_written() {
    if (!window_started() && drawing.fetched_to < width) {
        const int column = window_column_now();
        if (column >= drawing.fetched_to && column != drawing.window_column) {
            drawing.window_column = column;
            plan_timing();
        }
    }
    return drawing.end_dot - search_dots;
}

void finish_line_drawing() {
    if (drawing.drawn && draw_in_single_pixels) {
        for (int x = drawing.output_to; x < width; ++x) {
            draw_line_until(pixel_dot(x) + 1);
        }
    }
    draw_line_until(drawing.end_dot + fetch_lead + 1);
    if (window_started()) {
        ++window_rows.line;
    }
}

}  // namespace tov
