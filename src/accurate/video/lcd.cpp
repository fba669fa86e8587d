#include "accurate/video/lcd.h"

#include <algorithm>
#include <iterator>

#include "accurate/clock/clock.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "video/frame.h"
#include "video/renderer.h"

namespace tov {

lcd_state lcd;

namespace {

constexpr int line_dots = 456;
constexpr int search_dots = 80;
constexpr int drawing_dots = 172;
constexpr int frame_dots = line_dots * 154;
constexpr int first_blank_line = 144;
constexpr int last_line = 153;
constexpr int early_zero_dots = 4;  // line 153 reads as LY 0 after these

enum stage : uint8_t { line_start, drawing, horizontal_blank, early_zero, dark_frame };

// The sources of the STAT line with their enable bits.
bool stat_line_level() {
    const uint8_t stat = io_page[STAT];
    const bool coincidence = (stat & 0x04) != 0;
    return (coincidence && (stat & 0x40)) || (lcd.mode == 0 && (stat & 0x08)) ||
           (lcd.mode == 1 && (stat & 0x10)) || (lcd.mode == 2 && (stat & 0x20));
}

// STAT's mode and coincidence bits from the LCD, then the line's edge.
void update_stat() {
    uint8_t& stat = io_page[STAT];
    const bool coincidence = lcd.on && io_page[LY] == io_page[LYC];
    stat = static_cast<uint8_t>(0x80 | (stat & 0x78) | (coincidence ? 0x04 : 0) | lcd.mode);
    const uint8_t level = lcd.on && stat_line_level() ? 1 : 0;
    if (level && !lcd.stat_line) {
        io_page[IF] |= interrupt_stat;
    }
    lcd.stat_line = level;
}

void next_moment(uint64_t when, int dots, stage next) {
    lcd.stage = next;
    schedule(event_lcd, when + dots_to_cycles(static_cast<uint64_t>(dots)));
}

void begin_line(uint64_t when) {
    io_page[LY] = lcd.line;
    if (lcd.line < first_blank_line) {
        lcd.mode = lcd.first_line ? 0 : 2;
        next_moment(when, search_dots, drawing);
    } else {
        lcd.mode = 1;
        if (lcd.line == first_blank_line) {
            io_page[IF] |= interrupt_vblank;
            lcd.frame_done = 1;
        }
        lcd.line = static_cast<uint8_t>(lcd.line + 1);
        if (lcd.line > last_line) {
            lcd.line = last_line;
            next_moment(when, early_zero_dots, early_zero);
        } else {
            next_moment(when, line_dots, line_start);
        }
    }
    update_stat();
}

void draw_line() {
    if (skip_counter >= frame_skip) {
        render_ly = lcd.line;
        render_line();
    }
}

void end_drawing(uint64_t when) {
    lcd.mode = 0;
    update_stat();
    draw_line();
    lcd.first_line = 0;
    lcd.line = static_cast<uint8_t>(lcd.line + 1);
    next_moment(when, line_dots - search_dots - drawing_dots, line_start);
}

// A dark LCD shows white.
void blank_picture() {
    std::fill(std::begin(frame_buffer), std::end(frame_buffer), colour_level(0x7FFF, 0));
}

}  // namespace

void reset_lcd(int dots_to_line_0) {
    lcd = {};
    lcd.on = 1;
    lcd.mode = 1;
    io_page[LY] = 0;
    next_moment(machine_clock.now, dots_to_line_0, line_start);
    lcd.stat_line = stat_line_level() ? 1 : 0;
    update_stat();
}

lcd_moment lcd_event(uint64_t when) {
    switch (lcd.stage) {
        case line_start: begin_line(when); break;
        case drawing:
            lcd.mode = 3;
            update_stat();
            next_moment(when, drawing_dots, horizontal_blank);
            break;
        case horizontal_blank: end_drawing(when); return lcd_moment::horizontal_blank;
        case early_zero:
            io_page[LY] = 0;
            lcd.line = 0;
            update_stat();
            next_moment(when, line_dots - early_zero_dots, line_start);
            break;
        default:
            lcd.frame_done = 1;
            next_moment(when, frame_dots, dark_frame);
            break;
    }
    return lcd_moment::other;
}

void lcd_switch(bool on) {
    if (on == (lcd.on != 0)) {
        return;
    }
    lcd.on = on ? 1 : 0;
    lcd.line = 0;
    lcd.mode = 0;
    io_page[LY] = 0;
    if (on) {
        lcd.first_line = 1;
        next_moment(machine_clock.now, 0, line_start);
    } else {
        blank_picture();
        next_moment(machine_clock.now, frame_dots, dark_frame);
    }
    update_stat();
}

void stat_written(uint8_t value) {
    io_page[STAT] = static_cast<uint8_t>((value & 0x78) | (io_page[STAT] & 0x07));
    update_stat();
}

void lyc_written(uint8_t value) {
    io_page[LYC] = value;
    update_stat();
}

void settle_lcd() {
    lcd.on = lcd.on ? 1 : 0;
    lcd.line = std::min<uint8_t>(lcd.line, last_line);
    lcd.mode &= 3;
    lcd.stage = std::min<uint8_t>(lcd.stage, dark_frame);
}

}  // namespace tov
