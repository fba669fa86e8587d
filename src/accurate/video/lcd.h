// The accurate machine's picture timing. A line is 456 dots; on the 144
// visible lines object search (mode 2) takes 80, drawing (mode 3) 172 plus
// what the fine scroll, the window and the objects add, and the horizontal
// blank (mode 0) the rest; then ten lines of vertical blank (mode 1). As the
// console has it:
// - the first M-cycle of lines 0-144 is a moment of mode 0 (line 0's parts
//   it from the vertical blank); object search begins after it;
// - the interrupt sources and the locks on video memory follow the modes as
//   they are; STAT's mode bits and LY=LYC bit show later changes a dot late,
//   and the locks open then too;
// - the vertical blank begins, and requests its interrupt, a dot into line
//   144; mode 0's STAT source goes on two dots after mode 0;
// - LY reads 0 from the fifth dot of line 153; line 0 keeps the LY=LYC bit
//   line 153 set for LY 0;
// - the first line after the LCD goes on has no object search, starts four
//   dots early and draws two dots longer;
// - the STAT interrupt line is the OR of its enabled sources and requests the
//   interrupt on its rising edge only; the search's source is a pulse in the
//   first M-cycle of lines 0-144; on the monochrome model a STAT write sees
//   every source enabled for a moment.
// Each visible line is drawn as its mode 3 ends.
#pragma once

#include <cstdint>

namespace tov {

struct lcd_state {
    uint64_t line_start = 0;   // the moment the current line began (LY changed)
    uint16_t drawing_end = 0;  // the dot of the line at which mode 3 ends
    uint8_t on = 0;
    uint8_t line = 0;        // 0-153
    uint8_t stage = 0;       // the moment of the line that comes next
    uint8_t stat_line = 0;   // the STAT interrupt line's level
    uint8_t first_line = 0;  // the first line after the LCD went on
    uint8_t frame_done = 0;  // a frame ended (its vertical blank began, or it passed dark)
    uint8_t kept_match = 0;  // the LY=LYC bit as it was when the LCD went off
};
extern lcd_state lcd;

// What a moment of the picture did, for the units that follow it.
enum class lcd_moment { other, horizontal_blank };

// Power-on as the start-up program leaves the picture: the LCD on, late in
// line 153 (LY already reads 0), `dots_to_line_0` dots before line 0.
void reset_lcd(int dots_to_line_0);

lcd_moment lcd_event(uint64_t when);

uint8_t read_stat();
uint8_t read_ly();

// LCDC bit 7 and the registers the STAT line depends on, as written.
void lcd_switch(bool on);
void stat_written(uint8_t value, bool monochrome);
void lyc_written(uint8_t value);

// A register the picture reads is about to be written: during mode 3 and
// the few dots after it the line is drawn up to now first. After WX, WY or
// LCDC, mode 3 may end elsewhere.
void picture_register_writing(int offset, uint8_t value);
void window_register_written();

// Whether the CPU is locked out of OAM, video RAM or the colour palettes
// now, for a read or for a write.
bool oam_locked(bool write);
bool vram_locked(bool write);

// The row of OAM (eight bytes) the object search reads in this M-cycle, one
// row an M-cycle through mode 2; -1 outside the search.
int oam_search_row();

// Whether a visible line's horizontal blank is under way.
bool in_horizontal_blank();

// The colour model's speed switch: a dot takes twice or half the CPU cycles
// from now, and the line keeps the dots it has gone through.
void lcd_speed_switching(bool double_speed);

// A state from a file brought into range.
void settle_lcd();

}  // namespace tov
