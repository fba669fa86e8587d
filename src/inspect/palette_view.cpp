#include "inspect/palette_view.h"

#include <cstdio>

#include "memory/io_registers.h"

namespace tov {

namespace {

void append_palettes(std::string& text, const int32_t* colours) {
    for (int palette = 0; palette < 8; ++palette) {
        const int32_t* words = colours + palette * 4;
        char line[32];
        std::snprintf(line, sizeof line, "%.4X  %.4X  %.4X  %.4X", words[0] & 0xFFFF,
                      words[1] & 0xFFFF, words[2] & 0xFFFF, words[3] & 0xFFFF);
        text += line;
        if (palette < 7) {
            text += '\n';
        }
    }
}

}  // namespace

std::string palette_text() {
    std::string text;
    append_palettes(text, bg_colours);
    text += "\n\n";
    append_palettes(text, obj_colours);
    return text;
}

}  // namespace tov
