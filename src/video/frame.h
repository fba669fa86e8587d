// The frame buffer the renderer draws into and its presentation in the window.
#pragma once

#include <cstdint>

namespace tov {

constexpr int screen_width = 160;
constexpr int screen_height = 144;
constexpr int frame_row_bytes = screen_width * 3;

// 160 x 144 pixels, rows top to bottom, 3 bytes per pixel: blue, green, red.
extern uint8_t frame_buffer[frame_row_bytes * screen_height];

// Shows the frame scaled into the window rectangle x, y, width, height.
void present_frame(int x, int y, int width, int height);

}  // namespace tov
