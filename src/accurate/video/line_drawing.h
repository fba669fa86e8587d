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

#include "video/frame.h"

namespace tov {

constexpr int objects_per_line = 10;

struct line_object {
    int32_t x;      // OAM X
    int32_t index;  // in OAM
};

// What the picture keeps between two moments of a frame, in plain numbers so
// that a save state holds it as it is: the window's rows, and the line that
// mode 3 draws, as far as it got.
struct line_drawing_state {
    int32_t line = 0;
    int32_t scroll = 0;         // SCX as mode 3 began
    int32_t window_column = 0;  // where the window starts (may be left of the screen), or width
    line_object objects[objects_per_line]{};
    int32_t object_count = 0;
    // When the pixels go out: the first at first_dot, then one a dot, but for
    // the stalls, each of stall_dots before the pixel at stall_column.
    int32_t first_dot = 0;
    int32_t stall_count = 0;
    int32_t stall_column[objects_per_line + 1]{};
    int32_t stall_dots[objects_per_line + 1]{};
    int32_t end_dot = 0;           // mode 3's end
    int32_t fetched_to = 0;        // columns before it have their background fetched
    int32_t next_object = 0;       // objects before it are fetched
    int32_t output_to = 0;         // columns before it are in the frame
    uint8_t window_triggered = 0;  // LY has met WY in this frame
    uint8_t window_line = 0;       // the window's next row
    uint8_t drawn = 0;             // 0: a skipped frame's line, timed but not drawn
    uint8_t object_attributes[screen_width]{};
    uint8_t object_index[screen_width]{};
    // With room for a tile's eight columns past the end.
    uint8_t bg_number[screen_width + 8]{};
    uint8_t bg_attributes[screen_width + 8]{};
    uint8_t object_number[screen_width + 8]{};  // 0: no object pixel
};
extern line_drawing_state line_drawing;

// Power-on: no line under way, the window at its first row.
void reset_line_drawing();

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
void register_writing(int dot, int offset, uint8_t value);

// WX, WY or LCDC was written: the window may start elsewhere on this line.
// Returns mode 3's length as it is now.
int window_registers_written();

// Mode 3 ends: the line is drawn but for its last pixels, which leave the
// pipeline a few dots into the horizontal blank ...
void finish_line_drawing();

// ... and are drawn by the next line's start at the latest.
void complete_line_drawing();

// Tests draw every line a pixel at a time, as if a register were written
// before each one, to check that drawing in parts draws the same.
extern bool draw_in_single_pixels;

// A record from a file brought into range: every column, object and colour
// number within its table, the timing worked out again from what mode 3
// latched.
void settle_line_drawing();

}  // namespace tov
