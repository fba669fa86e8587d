// The scanline renderer: one line of background, window and sprites, drawn
// straight into the frame buffer in host colours.
#pragma once

#include <cstdint>

namespace tov {

// Per pixel (element x * 144 + y): 0 = background or window colour 0,
// 1 = opaque background/window, 2 = opaque background or window whose map
// attribute puts it over the objects, 3 = an object's pixel decided here
// (drawn, or hidden by the background).
extern uint8_t line_priority[160 * 144];

// Draws line render_ly (0-143) into the frame buffer.
void render_line();

}  // namespace tov
