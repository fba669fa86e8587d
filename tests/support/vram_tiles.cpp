#include "vram_tiles.h"

#include "classic/memory/memory_map.h"

namespace tov::test {

void put_tile(int offset, const std::array<std::string, 8>& rows) {
    for (int row = 0; row < 8; ++row) {
        uint8_t low = 0;
        uint8_t high = 0;
        for (int column = 0; column < 8; ++column) {
            const std::string& text = rows[row];
            const int c = column < static_cast<int>(text.size()) ? text[column] - '0' : 0;
            low |= static_cast<uint8_t>((c & 1) << (7 - column));
            high |= static_cast<uint8_t>(((c >> 1) & 1) << (7 - column));
        }
        vram[offset + row * 2] = low;
        vram[offset + row * 2 + 1] = high;
    }
}

void fill_tile(int offset, char c) {
    const std::string row(8, c);
    put_tile(offset, {row, row, row, row, row, row, row, row});
}

int32_t pixel_rgb(const uint8_t* pixels, int width, int x, int y) {
    const uint8_t* p = pixels + (y * width + x) * 3;
    return p[2] << 16 | p[1] << 8 | p[0];
}

}  // namespace tov::test
