// The "BG Map" page's picture: a whole 32 x 32-tile background map drawn
// into map_bitmap, the outline of the area the screen shows, and the details
// of the map entry under the pointer.
#pragma once

#include <cstdint>
#include <string>

namespace tov {

// "YES", "B/W" and "W/B": the map's own colours, or grey with colour 0
// white, or grey with colour 0 black.
enum class map_colouring { colour, grey_white_zero, grey_black_zero };

// "Auto" follows LCDC; the others name the area.
enum class tile_source { automatic, area_8800, area_8000 };
enum class map_source { automatic, area_9800, area_9c00 };

struct map_view_options {
    map_colouring colouring = map_colouring::colour;
    tile_source tiles = tile_source::automatic;
    map_source map = map_source::automatic;
    bool outline = false;  // "ScrX"
};

// Offsets in video RAM of the chosen map (1800 or 1C00) and tile data (0000 or 0800).
int32_t map_area_offset(const map_view_options& options);
int32_t tile_area_offset(const map_view_options& options);

// Draws the map into map_bitmap, then the screen outline when it is chosen.
void draw_map(const map_view_options& options);

// The map page's detail fields for the pointer at x, y on the page, where
// the map is shown at twice its size.
struct map_entry_texts {
    std::string x_loc, y_loc, tile_no, attribute, map_address, tile_bank, palette;
    bool x_flip, y_flip, priority;
};

map_entry_texts describe_map_entry(const map_view_options& options, int x, int y);

}  // namespace tov
