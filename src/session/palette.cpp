#include "session/palette.h"

#include <cstring>
#include <iterator>

#include "core/machine_interface.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/shell_flags.h"
#include "memory/io_registers.h"
#include "session/session.h"
#include "video/frame.h"
#include "video/host_palette.h"

namespace tov {

namespace {

// BGP, OBP0 and OBP1 choose again among the shades of the machine that
// runs; a colour cartridge's tables do not follow them.
void follow_shades() {
    machine().use_shades();
    for (const io_register offset : {BGP, OBP0, OBP1}) {
        write_io_register(offset, io_page[offset]);
    }
}

void use_shades(const shade_set& shades) {
    set_monochrome_palette(shades);
    follow_shades();
}

// Whether the loaded game is drawn in the palette's shades.
bool drawn_in_palette() {
    return rom_loaded == 1 && !colour_picture();
}

colour_scale scale_in_use() {
    return machine().full_range_colours ? colour_scale::full_range : colour_scale::top_bits;
}

// Each pixel of a shade of `before` becomes the same shade of `after`; a
// colour that `before` holds twice counts as its lighter shade.
void recolour_picture(const shade_set& before, const shade_set& after) {
    uint32_t old_colours[4];
    uint32_t new_colours[4];
    for (int shade = 0; shade < 4; ++shade) {
        old_colours[shade] = host_colour(before[shade], scale_in_use());
        new_colours[shade] = host_colour(after[shade], scale_in_use());
    }
    for (uint8_t* pixel = frame_buffer; pixel < std::end(frame_buffer); pixel += 3) {
        for (int shade = 0; shade < 4; ++shade) {
            if (std::memcmp(pixel, &old_colours[shade], 3) == 0) {
                std::memcpy(pixel, &new_colours[shade], 3);
                break;
            }
        }
    }
}

}  // namespace

void set_palette(const shade_set& shades) {
    const shade_set before = monochrome_palette();
    use_shades(shades);
    if (drawn_in_palette()) {
        recolour_picture(before, shades);
        present_frame(0, 0, screen_width * zoom, screen_height * zoom);
    }
}

int shade_of_pixel(const uint8_t* pixel) {
    const shade_set& shades = monochrome_palette();
    for (int shade = 0; shade < 4; ++shade) {
        const uint32_t colour = host_colour(shades[shade], scale_in_use());
        if (std::memcmp(pixel, &colour, 3) == 0) {
            return shade;
        }
    }
    return -1;
}

std::string state_in_greys(std::string (*image_of)()) {
    const shade_set shown = monochrome_palette();
    if (shown == named_palettes[0].shades) {
        return image_of();
    }
    use_shades(named_palettes[0].shades);
    std::string image = image_of();
    use_shades(shown);
    return image;
}

void reapply_palette() {
    follow_shades();
}

}  // namespace tov
