#include "video/host_palette.h"

#include <algorithm>

#include "memory/io_registers.h"
#include "memory/palettes.h"
#include "video/frame.h"

namespace tov {

uint32_t host_colour(int32_t word) {
    return static_cast<uint32_t>(colour_level(word, 10) | colour_level(word, 5) << 8 |
                                 colour_level(word, 0) << 16);
}

uint32_t blank_colour(bool colour) {
    return host_colour(colour ? 0x7FFF : monochrome_palette()[0]);
}

void follow_palettes(host_palette& palette, uint32_t white) {
    if (palette.converted && std::equal(bg_colours, bg_colours + 32, palette.words) &&
        std::equal(obj_colours, obj_colours + 32, palette.words + first_object_entry) &&
        palette.colours[blank_entry] == white) {
        return;
    }
    palette.converted = true;
    std::copy(bg_colours, bg_colours + 32, palette.words);
    std::copy(obj_colours, obj_colours + 32, palette.words + first_object_entry);
    for (int entry = 0; entry < blank_entry; ++entry) {
        palette.colours[entry] = host_colour(palette.words[entry]);
    }
    palette.colours[blank_entry] = white;
}

}  // namespace tov
