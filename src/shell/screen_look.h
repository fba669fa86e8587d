// How the window shows the machine's finished frames, as the colour console's
// screen showed them: its slow LCD mixing each frame with the one before, and
// its colours darker and less saturated than a PC monitor's. Neither touches
// the frame buffer.
#pragma once

#include <array>
#include <cstdint>

#include "session/session.h"  // the picture's layout

namespace tov {

constexpr int frame_bytes = frame_row_bytes * screen_height;

// A picture in the frame buffer's layout: blue, green, red per pixel.
using picture_bytes = std::array<uint8_t, frame_bytes>;

// Each byte of `out` the average of `frame`'s and `previous`'s, halves
// rounded up.
void blend_pictures(const uint8_t* frame, const uint8_t* previous, uint8_t* out);

// A colour word (red bits 0-4, green 5-9, blue 10-14) as the colour
// console's screen shows it, in the host's form (blue, green, red, 0).
uint32_t corrected_colour(int32_t word);

// Each pixel of `frame`, a colour made by host_colour, as corrected_colour
// shows its colour word.
void correct_colours(const uint8_t* frame, uint8_t* out);

struct look_options {
    bool frame_blending = false;
    bool colour_correction = false;
};

// What the window keeps between the frames it shows.
struct screen_look {
    picture_bytes previous{};  // the frame before, its colours corrected when chosen
    bool has_previous = false;
    picture_bytes corrected{};  // this frame's colours corrected
    picture_bytes blended{};
};

// The picture to show for the finished `frame`: `frame` itself when no option
// is on. The frame is kept for the next one, which it is blended with.
const uint8_t* look_of(const uint8_t* frame, const look_options& options, screen_look& look);

}  // namespace tov
