#include "inspect/screen_text.h"

#include "machine/memory.h"
#include "machine/registers.h"
#include "machine/vram_layout.h"
#include "memory/io_registers.h"

namespace tov {

std::string screen_text() {
    const int map = tile_map_offset(lcdc_bg_map_hi);
    const int first_column = io_page[SCX] / 8;
    const int first_row = io_page[SCY] / 8;
    std::string text;
    for (int row = 0; row < 18; ++row) {
        std::string line;
        for (int column = 0; column < 20; ++column) {
            const int entry =
                ((first_row + row) & 31) * tile_map_columns + ((first_column + column) & 31);
            const uint8_t tile = vram[map + entry];
            line += tile >= 0x20 && tile < 0x7F ? static_cast<char>(tile) : ' ';
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text;
}

}  // namespace tov
