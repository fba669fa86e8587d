// The "Tile Info" page's picture: the 384 tiles of both video RAM banks in
// grey, and the name of the tile under the pointer.
#pragma once

#include <string>

namespace tov {

// Bank 0 into the left half of tile_bitmap as the CPU reads it (so on a
// colour cartridge the bank FF4F selects), bank 1 into the right half.
void draw_tiles();

// The page's detail fields for the pointer at x, y on the page, where the
// bitmap is shown at twice its size: the tile index and "bank:address".
struct tile_texts {
    std::string tile_no, tile_address;
};

tile_texts describe_tile(int x, int y);

}  // namespace tov
