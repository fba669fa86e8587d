// The accurate machine's picture, drawn as the console draws a line in mode
// 3. The background fetcher reads a tile eight dots before its first pixel
// goes out, with SCX's tile column, SCY, the map and tile-data selects and
// the colour attributes as they are then; the fine scroll is taken as mode 3
// begins. The window starts where the fetcher meets WX - 7, on the lines after
// LY has met WY in the frame, with a six-dot setup. An object is fetched with
// the tile its leftmost pixel lies in. Each pixel is mixed and coloured as it
// goes out, with LCDC's enable bits and the palettes as they are then.
//
// A line is drawn in one go when mode 3 ends; a write to a register the
// picture reads during mode 3 first draws what the console drew before it.
#pragma once

#include <cstdint>

namespace tov {

// What the picture keeps from line to line: the window's lines.
struct window_state {
    uint8_t triggered = 0;  // LY has met WY in this frame
    uint8_t line = 0;       // the window's next row
};
extern window_state window_rows;

// A new frame: the window starts over.
void start_frame_drawing();

// Mode 3 begins on `line`: latches what the console latches then and works
// out when each pixel goes out. Returns mode 3's length in dots. `objects_seen`
// is false when OAM DMA hid the objects from the search; `drawn` is false for
// a skipped frame, which is timed but not drawn.
int start_line_drawing(int line, bool objects_seen, bool drawn);

// A register the picture reads is about to be written `dot` dots into the
// line: what the console drew before then is drawn with the old value.
void draw_line_until(int dot);

// WX, WY or LCDC was written: the window may start elsewhere on this line.
// Returns mode 3's length as it is now.
int window_registers_written();

// Mode 3 ends: the rest of the line is drawn into the frame.
void finish_line_drawing();

// Tests draw every line a pixel at a time, as if a register were written
// before each one, to check that drawing in parts draws the same.
extern bool draw_in_single_pixels;

}  // namespace tov
