// The frame buffer the renderer draws into and its presentation in the window.
#pragma once

#include <cstdint>

namespace tov {

constexpr int screen_width = 160;
constexpr int screen_height = 144;
constexpr int frame_row_bytes = screen_width * 3;

// 160 x 144 pixels, rows top to bottom, 3 bytes per pixel: blue, green, red.
extern uint8_t frame_buffer[frame_row_bytes * screen_height];

// One level (0-248, eight apart) of a 15-bit colour word: red is `shift` 0,
// green 5, blue 10.
constexpr uint8_t colour_level(int32_t word, int shift) {
    return static_cast<uint8_t>(((word >> shift) & 0x1F) << 3);
}

// Shows the frame scaled into the window rectangle x, y, width, height.
void present_frame(int x, int y, int width, int height);

}  // namespace tov
