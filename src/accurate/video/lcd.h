// The accurate machine's picture timing: 154 lines of 456 dots; on the 144
// visible lines object search (mode 2) for 80 dots, drawing (mode 3) for 172
// and the horizontal blank (mode 0) for the rest, then ten lines of vertical
// blank (mode 1). LY reads 0 from the fifth dot of line 153 on. The STAT
// interrupt line is the OR of its enabled sources and requests the interrupt
// on its rising edge only. Each visible line is drawn as its mode 3 ends.
#pragma once

#include <cstdint>

namespace tov {

struct lcd_state {
    uint8_t on = 0;
    uint8_t line = 0;        // 0-153
    uint8_t mode = 0;        // as STAT shows it
    uint8_t stage = 0;       // the moment of the line that comes next
    uint8_t stat_line = 0;   // the STAT interrupt line's level
    uint8_t first_line = 0;  // the first line after the LCD went on: no object search
    uint8_t frame_done = 0;  // a frame ended (its vertical blank began, or it passed dark)
};
extern lcd_state lcd;

// What a moment of the picture did, for the units that follow it.
enum class lcd_moment { other, horizontal_blank };

// Power-on as the start-up program leaves the picture: the LCD on, late in
// line 153 (LY already reads 0), `dots_to_line_0` dots before line 0.
void reset_lcd(int dots_to_line_0);

lcd_moment lcd_event(uint64_t when);

// LCDC bit 7 and the registers the STAT line depends on, as written.
void lcd_switch(bool on);
void stat_written(uint8_t value);
void lyc_written(uint8_t value);

// A state from a file brought into range.
void settle_lcd();

}  // namespace tov
