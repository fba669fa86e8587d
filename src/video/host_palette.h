// The colour tables in the host's form (blue, green, red, 0 in memory order)
// for both picture makers, TOV's own and the accurate machine's: background
// entries 0-31, object entries 32-63, and the colour of lines whose
// background is blank at 64.
#pragma once

#include <cstdint>

namespace tov {

constexpr int first_object_entry = 32;
constexpr int blank_entry = 64;

struct host_palette {
    uint32_t colours[blank_entry + 1];
    int32_t words[blank_entry];  // the colour words they were converted from
    bool converted = false;
};

// A colour word (red bits 0-4, green 5-9, blue 10-14) in the host's form.
uint32_t host_colour(int32_t word);

// What a line without background, or a dark screen, shows: the lightest
// shade of the monochrome palette, as the console's screen would, or white
// in a `colour` picture.
uint32_t blank_colour(bool colour);

// Converts bg_colours and obj_colours again when either changed since the
// last time; `white` is entry 64.
void follow_palettes(host_palette& palette, uint32_t white);

}  // namespace tov
