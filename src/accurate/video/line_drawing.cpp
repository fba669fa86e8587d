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

line_drawing_state line_drawing;
bool draw_in_single_pixels = false;

namespace {

constexpr int width = screen_width;
constexpr int search_dots = 80;
constexpr int first_pixel_delay = 12;  // two tile fetches before the first pixel
constexpr int window_setup_dots = 6;
constexpr int object_fetch_dots = 6;
constexpr int fetch_lead = 8;  // a tile is fetched this long before its first pixel goes out
// A register write meets the pipeline this many dots behind the moment the
// line's timing gives it: the last pixels still go out after mode 3 ends.
constexpr int pipeline_lag = 7;

// Tile numbers for the objects' waits: background tiles count by their
// scrolled position, the window's from window_tiles, and an object at OAM X
// 0 meets a tile left of the screen.
constexpr int window_tiles = 1000;
constexpr int off_screen_tile = -1000;

int first_column(const line_object& object) {
    return std::max(object.x - 8, 0);
}

// A window at the screen's left edge starts with mode 3.
bool window_started() {
    return line_drawing.window_column < width &&
           (line_drawing.window_column <= 0 ||
            line_drawing.fetched_to > line_drawing.window_column);
}

// Where the window starts on the line with the registers as they are now.
int window_column_now() {
    const uint8_t lcdc = io_page[LCDC];
    const bool background = colour_mode || (lcdc & 0x01);
    const bool shown =
        (lcdc & 0x20) && background && line_drawing.window_triggered && io_page[WX] <= 166;
    return shown ? io_page[WX] - 7 : width;
}

// The first ten objects in OAM whose rows cover the line, by X, then index;
// those right of the screen are never fetched.
void search_objects(bool seen) {
    line_drawing.object_count = 0;
    if (!seen) {
        return;
    }
    const unsigned height = (io_page[LCDC] & 0x04) ? 16 : 8;
    const int line = line_drawing.line + 16;  // OAM's Y is the object's top plus 16
    int found = 0;
    for (int n = 0; n < 40; ++n) {
        // The object's row on the line; above its top it wraps past any height.
        if (static_cast<unsigned>(line - oam[n * 4]) >= height) {
            continue;
        }
        if (oam[n * 4 + 1] < width + 8) {
            line_drawing.objects[line_drawing.object_count++] = {oam[n * 4 + 1], n};
        }
        if (++found == objects_per_line) {
            break;
        }
    }
    std::sort(line_drawing.objects, line_drawing.objects + line_drawing.object_count,
              [](const line_object& a, const line_object& b) {
                  return a.x != b.x ? a.x < b.x : a.index < b.index;
              });
}

// An object stalls the background fetch of the tile its leftmost pixel lies
// in: by the pixels of that tile right of it, less two, the first time that
// tile is met; at OAM X 0, as if its pixel began a tile.
int object_wait(const line_object& object, int& last_tile) {
    const int pixel = object.x - 8;
    const bool in_window =
        line_drawing.window_column < width && pixel >= line_drawing.window_column;
    const int position = object.x == 0 ? 0
                         : in_window   ? pixel - line_drawing.window_column
                                       : pixel + line_drawing.scroll;
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
    const int last = line_drawing.stall_count - 1;
    if (last >= 0 && line_drawing.stall_column[last] == column) {
        line_drawing.stall_dots[last] += dots;
    } else {
        line_drawing.stall_column[line_drawing.stall_count] = column;
        line_drawing.stall_dots[line_drawing.stall_count++] = dots;
    }
}

// When the pixels go out: after the first fetches and the fine scroll's
// thrown-away pixels, one a dot, with the window's setup and each object's
// fetch in between, at the columns they are met.
void plan_timing() {
    line_drawing.first_dot = search_dots + first_pixel_delay + (line_drawing.scroll & 7);
    line_drawing.stall_count = 0;
    int last_tile = off_screen_tile - 1;
    int total = 0;
    const int window =
        line_drawing.window_column < width ? std::max(line_drawing.window_column, 0) : width;
    bool window_waited = false;
    for (int k = 0; k < line_drawing.object_count; ++k) {
        const int column = first_column(line_drawing.objects[k]);
        if (!window_waited && window <= column) {
            add_stall(window, window_setup_dots);
            total += window_setup_dots;
            window_waited = true;
        }
        const int wait = object_wait(line_drawing.objects[k], last_tile);
        add_stall(column, wait);
        total += wait;
    }
    if (!window_waited && window < width) {
        add_stall(window, window_setup_dots);
        total += window_setup_dots;
    }
    line_drawing.end_dot = line_drawing.first_dot + width + total;
}

// The dot at which pixel `x` goes out.
int pixel_dot(int x) {
    int dot = line_drawing.first_dot + x;
    for (int k = 0; k < line_drawing.stall_count && line_drawing.stall_column[k] <= x; ++k) {
        dot += line_drawing.stall_dots[k];
    }
    return dot;
}

// The dot at which the fetch of the background tile starting at `column`
// begins: as the tile before it goes into the FIFO, so an object met in that
// tile waits for this fetch instead of delaying it. The window's tiles are
// fetched as the pixels before them go out.
int fetch_dot(int column) {
    if (line_drawing.window_column < width && column >= std::max(line_drawing.window_column, 0)) {
        return pixel_dot(column) - fetch_lead;
    }
    int dot = line_drawing.first_dot + column - fetch_lead;
    for (int k = 0; k < line_drawing.stall_count && line_drawing.stall_column[k] < column - 8;
         ++k) {
        dot += line_drawing.stall_dots[k];
    }
    return dot;
}

// How many pixels went out before `dot`: pixel_dot turned round.
int pixels_before(int dot) {
    int count = dot - line_drawing.first_dot;
    for (int k = 0; k < line_drawing.stall_count && line_drawing.stall_column[k] < count; ++k) {
        count = std::max(count - line_drawing.stall_dots[k], line_drawing.stall_column[k]);
    }
    return std::clamp(count, 0, width);
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
        line_drawing.window_column < width && column >= std::max(line_drawing.window_column, 0);
    int map_x;
    int map_y;
    int map;
    int end;
    if (window) {
        map_x = column - line_drawing.window_column;
        map_y = line_drawing.window_line;
        map = tile_map_offset(lcdc & 0x40);
        end = column + 8 - (map_x & 7);
    } else {
        map_x = ((io_page[SCX] & 0xF8) + (line_drawing.scroll & 7) + column) & 0xFF;
        map_y = (line_drawing.line + io_page[SCY]) & 0xFF;
        map = tile_map_offset(lcdc & 0x08);
        end = column + 8 - (map_x & 7);
        if (line_drawing.window_column < width) {
            end = std::min(end, std::max(line_drawing.window_column, 0));
        }
    }
    end = std::min(end, limit);
    uint8_t attributes = 0;
    const uint64_t colours = fetch_tile_row(map, map_x & 0xFF, map_y, lcdc & 0x10, attributes);
    // Eight columns at once; those past the tile's end are fetched again
    // with the tile that covers them.
    const uint64_t shown = colours >> (8 * (map_x & 7));
    std::memcpy(line_drawing.bg_number + column, &shown, 8);
    const uint64_t spread_attributes = attributes * every_byte;
    std::memcpy(line_drawing.bg_attributes + column, &spread_attributes, 8);
    return end;
}

// An object's row of pixels goes where no object above it has one: on the
// monochrome model the one fetched first (lower X) keeps its pixels, on the
// colour model the lower OAM index.
void fetch_object(const line_object& object) {
    const uint8_t* entry = oam + object.index * 4;
    const int height = (io_page[LCDC] & 0x04) ? 16 : 8;
    const int flags = entry[3];
    int row = line_drawing.line - (entry[0] - 16);
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
        const bool free = line_drawing.object_number[x] == 0;
        if (free || (colour_mode && object.index < line_drawing.object_index[x])) {
            line_drawing.object_number[x] = static_cast<uint8_t>(colour);
            line_drawing.object_attributes[x] = static_cast<uint8_t>(flags);
            line_drawing.object_index[x] = static_cast<uint8_t>(object.index);
        }
    }
}

// The fetches that began before `dot`, and the objects with them.
void fetch_until(int dot) {
    const bool all = dot >= line_drawing.end_dot - fetch_lead;  // the last fetch is before
    while (line_drawing.fetched_to < width && (all || fetch_dot(line_drawing.fetched_to) < dot)) {
        const int end = fetch_background(line_drawing.fetched_to, width);
        while (line_drawing.next_object < line_drawing.object_count &&
               first_column(line_drawing.objects[line_drawing.next_object]) < end) {
            fetch_object(line_drawing.objects[line_drawing.next_object++]);
        }
        line_drawing.fetched_to = end;
    }
}

host_palette host_colours{.scale = colour_scale::full_range};

// The background's palette entries of columns [from, to), eight at a time.
void background_entries(int from, int to, bool background_on, uint8_t* entries) {
    if (!background_on) {
        std::memset(entries + from, blank_entry, static_cast<std::size_t>(to - from));
        return;
    }
    for (int x = from; x < to; x += 8) {
        const uint64_t palettes = load8(line_drawing.bg_attributes + x) & (7 * every_byte);
        store8(entries + x, palettes * 4 + load8(line_drawing.bg_number + x));
    }
}

// An object's colour 1-3 goes over the background, unless the background's
// colour 1-3 is above it: the object's priority bit, or on the colour model
// the map's, while LCDC bit 0 gives them weight.
void mix_objects(int from, int to, uint8_t lcdc, uint8_t* entries) {
    const bool background_on = colour_mode || (lcdc & 0x01);
    for (int x = from; x < to; ++x) {
        const int object = line_drawing.object_number[x];
        if (object == 0) {
            continue;
        }
        const int number = background_on ? line_drawing.bg_number[x] : 0;
        const int flags = line_drawing.object_attributes[x];
        const bool priority = (flags & 0x80) || (line_drawing.bg_attributes[x] & 0x80);
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
    if ((lcdc & 0x02) && line_drawing.next_object > 0) {
        mix_objects(from, to, lcdc, entries);
    }
    follow_palettes(host_colours, blank_colour(colour_model, colour_scale::full_range));
    uint8_t* out = frame_buffer + line_drawing.line * frame_row_bytes + from * 3;
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
    const int to = std::min(pixels_before(dot), line_drawing.fetched_to);
    if (to > line_drawing.output_to) {
        put_pixels(line_drawing.output_to, to);
        line_drawing.output_to = to;
    }
}

}  // namespace

void reset_line_drawing() {
    line_drawing = {};
}

void start_frame_drawing() {
    line_drawing.window_triggered = 0;
    line_drawing.window_line = 0;
}

int start_line_drawing(int line, bool objects_seen, bool drawn) {
    line_drawing.line = line;
    line_drawing.drawn = drawn ? 1 : 0;
    line_drawing.scroll = io_page[SCX];
    if (line == io_page[WY]) {
        line_drawing.window_triggered = 1;
    }
    line_drawing.window_column = window_column_now();
    search_objects(objects_seen);
    plan_timing();
    line_drawing.fetched_to = 0;
    line_drawing.next_object = 0;
    line_drawing.output_to = 0;
    std::memset(line_drawing.object_number, 0, sizeof line_drawing.object_number);
    // The first tile is fetched as mode 3 begins.
    if (drawn) {
        fetch_until(fetch_dot(0) + 1);
    }
    return line_drawing.end_dot - search_dots;
}

namespace {

// The fetches that began before `fetched`, the pixels that went out before
// `shown`, both in the line's timing.
void draw_until(int fetched, int shown) {
    if (!line_drawing.drawn || line_drawing.output_to >= width) {
        return;
    }
    fetch_until(fetched - pipeline_lag);
    output_until(shown - pipeline_lag);
}

}  // namespace

void draw_line_until(int dot) {
    draw_until(dot, dot);
}

// On the monochrome model the pixel that goes out as a palette is written
// takes the old and new values ORed.
void register_writing(int dot, int offset, uint8_t value) {
    // LCDC's enable bits reach the pixel a dot after the palettes do.
    draw_until(dot, offset == LCDC ? dot + 1 : dot);
    const bool palette = offset == BGP || offset == OBP0 || offset == OBP1;
    if (!palette || colour_model != 0 || !line_drawing.drawn) {
        return;
    }
    const uint8_t old = io_page[offset];
    write_io_register(offset, static_cast<uint8_t>(old | value));
    draw_line_until(dot + 1);
    write_io_register(offset, old);
}

// The window moves only while the fetcher has not met it.
int window_registers_written() {
    if (!window_started() && line_drawing.fetched_to < width) {
        const int column = window_column_now();
        if (column >= line_drawing.fetched_to && column != line_drawing.window_column) {
            line_drawing.window_column = column;
            plan_timing();
        }
    }
    return line_drawing.end_dot - search_dots;
}

void finish_line_drawing() {
    if (line_drawing.drawn && draw_in_single_pixels) {
        for (int x = line_drawing.output_to; x < width && pixel_dot(x) < line_drawing.end_dot;
             ++x) {
            draw_line_until(pixel_dot(x) + pipeline_lag + 1);
        }
    }
    draw_line_until(line_drawing.end_dot);
    if (window_started()) {
        ++line_drawing.window_line;
    }
}

void complete_line_drawing() {
    if (line_drawing.drawn && draw_in_single_pixels) {
        for (int x = line_drawing.output_to; x < width; ++x) {
            draw_line_until(pixel_dot(x) + pipeline_lag + 1);
        }
    }
    draw_line_until(line_drawing.end_dot + fetch_lead + pipeline_lag + 1);
}

void settle_line_drawing() {
    line_drawing_state& d = line_drawing;
    d.line = std::clamp(d.line, 0, screen_height - 1);
    d.scroll &= 0xFF;
    d.window_column = std::clamp(d.window_column, -7, width);
    d.object_count = std::clamp(d.object_count, 0, objects_per_line);
    for (line_object& object : d.objects) {
        object.x = std::clamp(object.x, 0, width + 7);
        object.index = std::clamp(object.index, 0, 39);  // OAM holds 40
    }
    plan_timing();
    d.fetched_to = std::clamp(d.fetched_to, 0, width);
    d.next_object = std::clamp(d.next_object, 0, d.object_count);
    d.output_to = std::clamp(d.output_to, 0, d.fetched_to);
    d.window_triggered = d.window_triggered ? 1 : 0;
    d.drawn = d.drawn ? 1 : 0;
    for (uint8_t* numbers : {d.bg_number, d.object_number}) {
        for (int x = 0; x < width + 8; ++x) {
            numbers[x] &= 3;
        }
    }
}

}  // namespace tov
