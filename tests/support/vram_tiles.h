// Tiles and pixels in tests: tiles written into VRAM from readable rows of
// colour numbers, and pixels of a 24-bit picture read back as 0xRRGGBB.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tov::test {

// Writes a tile into VRAM at `offset` (bank 1 from 2000) from eight rows of
// colour numbers, e.g. "01233210"; a short row ends in colour 0.
void put_tile(int offset, const std::array<std::string, 8>& rows);

// A tile of one colour number.
void fill_tile(int offset, char c);

// Pixel x, y of a picture `width` pixels wide (blue, green, red bytes) as 0xRRGGBB.
int32_t pixel_rgb(const uint8_t* pixels, int width, int x, int y);

constexpr int32_t grey_rgb(int level) {
    return level << 16 | level << 8 | level;
}

constexpr int32_t red_rgb = 0xFF0000;

}  // namespace tov::test
