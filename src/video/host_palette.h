// The colour tables in the host's form (blue, green, red, 0 in memory order)
// for both picture makers, TOV's own and the accurate machine's: background
// entries 0-31, object entries 32-63, and the colour of lines whose
// background is blank at 64.
#pragma once

#include <cstdint>

namespace tov {

constexpr int first_object_entry = 32;
constexpr int blank_entry = 64;

// How a 5-bit level becomes a byte: in its top five bits, as TOV's own
// machine has always drawn (white is F8), or with its top three bits
// repeated below them, as the console's reference pictures are made (white
// is FF), which the accurate machine draws.
enum class colour_scale { top_bits, full_range };

struct host_palette {
    uint32_t colours[blank_entry + 1]{};
    int32_t words[blank_entry]{};  // the colour words they were converted from
    bool converted = false;
    colour_scale scale = colour_scale::top_bits;
};

// A colour word (red bits 0-4, green 5-9, blue 10-14) in the host's form.
uint32_t host_colour(int32_t word, colour_scale scale);

// What a line without background, or a dark screen, shows: the lightest
// shade of the monochrome palette, as the console's screen would, or white
// in a `colour` picture.
uint32_t blank_colour(bool colour, colour_scale scale);

// Converts bg_colours and obj_colours again in the palette's scale when
// either changed since the last time; `white` is entry 64.
void follow_palettes(host_palette& palette, uint32_t white);

}  // namespace tov
