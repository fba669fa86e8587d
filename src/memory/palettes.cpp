#include "memory/palettes.h"

namespace tov {

namespace {

shade_set palette_in_use = named_palettes[0].shades;

}  // namespace

int palette_index(std::string_view key) {
    for (int index = 0; index < named_palette_count; ++index) {
        if (key == named_palettes[index].key) {
            return index;
        }
    }
    return -1;
}

const shade_set& monochrome_palette() {
    return palette_in_use;
}

void set_monochrome_palette(const shade_set& shades) {
    palette_in_use = shades;
}

}  // namespace tov
