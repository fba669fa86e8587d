#include "video/host_palette.h"

#include <algorithm>

#include "memory/io_registers.h"
#include "memory/palettes.h"
#include "video/frame.h"

namespace tov {

namespace {

uint32_t scaled_level(int32_t word, int shift, colour_scale scale) {
    const uint32_t level = colour_level(word, shift);
    return scale == colour_scale::full_range ? level | level >> 5 : level;
}

}  // namespace

uint32_t host_colour(int32_t word, colour_scale scale) {
    return scaled_level(word, 10, scale) | scaled_level(word, 5, scale) << 8 |
           scaled_level(word, 0, scale) << 16;
}

uint32_t blank_colour(bool colour, colour_scale scale) {
    return host_colour(colour ? 0x7FFF : monochrome_palette()[0], scale);
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
        palette.colours[entry] = host_colour(palette.words[entry], palette.scale);
    }
    palette.colours[blank_entry] = white;
}

}  // namespace tov
