// The scanline renderer: one line of background, window and sprites, drawn
// into the frame buffer in host colours.
#pragma once

#include <cstdint>

namespace tov {

// Draws line render_ly (0-143) into the frame buffer.
void render_line();

}  // namespace tov
