// The palette a monochrome game is shown in, at the seam: the front ends
// choose it, a running game takes it at once, and save states never hold it.
#pragma once

#include <cstdint>
#include <string>

#include "memory/palettes.h"

namespace tov {

// From now on BGP, OBP0 and OBP1 of a monochrome game choose among `shades`
// (lightest first), on TOV's own machine and on the accurate machine's
// monochrome model. A loaded game takes them at once: its finished picture
// is recoloured and shown again. A colour cartridge, and a monochrome one on
// the accurate machine's colour model, keep their own colours.
void set_palette(const shade_set& shades);

// The shade (0, the lightest, to 3) of the palette in use that a pixel of
// a monochrome game's picture (blue, green, red) shows; -1 for any other
// colour.
int shade_of_pixel(const uint8_t* pixel);

// The state `image_of` makes, taken with TOV Greys' colours in the colour
// tables, so that a state is the same whichever palette is shown.
std::string state_in_greys(std::string (*image_of)());

// After a state was loaded: the colour tables it brought follow BGP, OBP0
// and OBP1 in the palette in use.
void reapply_palette();

}  // namespace tov
