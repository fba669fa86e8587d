#include "accurate/video/lcd.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "accurate/clock/clock.h"
#include "accurate/video/line_drawing.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "video/frame.h"
#include "video/host_palette.h"

namespace tov {

lcd_state lcd;

namespace {

constexpr int line_dots = 456;
constexpr int search_dots = 80;
constexpr int search_row_dots = 4;  // the search reads a row of OAM an M-cycle
constexpr int frame_dots = line_dots * 154;
constexpr int first_blank_line = 144;
constexpr int last_line = 153;
constexpr int shown_late = 1;            // STAT's bits lag the modes by this dot
constexpr int line_opening = 4;          // a line's first M-cycle keeps the mode before it
constexpr int vertical_blank_dot = 1;    // line 144 requests the vertical blank interrupt here
constexpr int blank_source_late = 2;     // mode 0's STAT source follows mode 0 by this
constexpr int first_line_longer = 2;     // the LCD's first line draws this much longer
constexpr int early_zero = 4;            // line 153 reads LY 0 from this dot
constexpr int early_first_line = 4;      // the LCD's first line starts this early
constexpr int line_153_match_end = 8;    // LY=LYC compares LY 153 until here ...
constexpr int line_153_zero_match = 12;  // ... and LY 0 from here

enum stage : uint8_t {
    line_begins,
    compare,       // the LY=LYC bit takes the new line
    opened,        // the line's first M-cycle ends: object search or the vertical blank begins
    drawing,       // mode 3 begins
    blank,         // mode 0 begins
    blank_source,  // mode 0's STAT source goes on
    compare_none,  // line 153: LY 153 no longer compared
    compare_zero,  // line 153: LY 0 compared
    dark_frame,    // a frame's time passed with the LCD off
};

bool visible_line() {
    return lcd.line < first_blank_line;
}

int dots_into_line() {
    const uint64_t now = machine_clock.now;
    const uint64_t gone = now > lcd.line_start ? now - lcd.line_start : 0;
    return static_cast<int>(std::min<uint64_t>(gone >> machine_clock.double_speed, line_dots));
}

// The mode as the interrupt sources see it, `dot` dots into the line. The
// first M-cycle of lines 0-144 is a moment of mode 0: the horizontal blank
// goes on into it, and it parts the vertical blank from line 0's search.
int mode_at(int dot) {
    if (lcd.line > first_blank_line) {
        return 1;
    }
    if (!visible_line()) {
        return dot < vertical_blank_dot ? 0 : 1;
    }
    if (dot < line_opening) {
        return 0;
    }
    if (dot < search_dots) {
        return lcd.first_line ? 0 : 2;
    }
    return dot < lcd.drawing_end ? 3 : 0;
}

// The mode STAT shows: after the line's first M-cycle, the one of a dot
// before.
int shown_mode(int dot) {
    return mode_at(dot < line_opening ? dot : std::max(dot - shown_late, line_opening));
}

// The search's source is a pulse as the line opens, on line 144 too.
bool search_pulse(int dot) {
    return lcd.line <= first_blank_line && dot < line_opening && !lcd.first_line;
}

// The LY=LYC bit: cleared as a line begins, set a dot later when LY
// matches; line 153 matches LYC 153 at first, then LYC 0, which line 0 keeps.
bool ly_matches(int dot) {
    if (!lcd.on) {
        return lcd.kept_match != 0;
    }
    if (dot < shown_late && lcd.line != 0) {
        return false;  // line 153 already compared LY 0
    }
    int compared = lcd.line;
    if (lcd.line == last_line) {
        if (dot >= line_153_match_end && dot < line_153_zero_match) {
            return false;
        }
        compared = dot < line_153_match_end ? last_line : 0;
    }
    return compared == io_page[LYC];
}

// Mode 0's source, `mode` being the mode at `dot`; the first line's mode 0
// before drawing is no horizontal blank.
bool blank_source_on(int mode, int dot) {
    return mode == 0 && (dot < line_opening || dot >= lcd.drawing_end + blank_source_late) &&
           !(lcd.first_line && dot < search_dots);
}

// The STAT sources with their enable bits. With the LCD off only the kept
// LY=LYC bit drives the line.
bool stat_line_level(uint8_t enables, int dot) {
    if (!lcd.on) {
        return lcd.kept_match && (enables & 0x40);
    }
    // A source is looked at only when enabled.
    const int mode = mode_at(dot);
    return ((enables & 0x40) && ly_matches(dot)) ||
           ((enables & 0x08) && blank_source_on(mode, dot)) || ((enables & 0x10) && mode == 1) ||
           ((enables & 0x20) && search_pulse(dot));
}

// The line's level now, with `enables` as STAT's enable bits; its rising edge
// requests the interrupt.
void follow_stat_line(uint8_t enables) {
    const uint8_t level = stat_line_level(enables, dots_into_line()) ? 1 : 0;
    if (level && !lcd.stat_line) {
        io_page[IF] |= interrupt_stat;
    }
    lcd.stat_line = level;
}

void follow_stat_line() {
    follow_stat_line(io_page[STAT]);
}

void next_moment(int dot, stage next) {
    lcd.stage = next;
    schedule(event_lcd, lcd.line_start + dots_to_cycles(static_cast<uint64_t>(dot)));
}

void end_line_at(int dot) {
    next_moment(dot, line_begins);
}

// The line's opening M-cycle and mode 0's late source move the STAT line only
// when the mode 0 or mode 2 source is enabled.
bool opening_matters() {
    return (io_page[STAT] & 0x28) != 0;
}

bool blank_source_matters() {
    return (io_page[STAT] & 0x08) != 0;
}

// The moment after the LY=LYC bit takes the new line.
void after_compare() {
    if (lcd.line == first_blank_line) {
        next_moment(vertical_blank_dot, opened);
    } else if (visible_line() && opening_matters()) {
        next_moment(line_opening, opened);
    } else if (visible_line()) {
        next_moment(search_dots, drawing);
    } else if (lcd.line == last_line) {
        next_moment(line_153_match_end, compare_none);
    } else {
        end_line_at(line_dots);
    }
}

// The LY=LYC bit's moment matters to the STAT line only when its source is
// enabled; a STAT write that enables it in time asks for it again.
bool compare_matters() {
    return (io_page[STAT] & 0x40) != 0;
}

void begin_line(uint64_t when) {
    complete_line_drawing();
    lcd.line_start = when;
    lcd.line = static_cast<uint8_t>(lcd.line == last_line ? 0 : lcd.line + 1);
    if (lcd.line == first_blank_line) {
        lcd.frame_done = 1;
        start_frame_drawing();
    }
    if (compare_matters()) {
        next_moment(shown_late, compare);
    } else {
        after_compare();
    }
}

// Mode 3 lasts `length` dots, on the LCD's first line a little longer.
void set_drawing_end(int length) {
    const int longer = lcd.first_line ? first_line_longer : 0;
    lcd.drawing_end = static_cast<uint16_t>(search_dots + longer + length);
}

// Drawing begins: its length follows from the scroll, the window and the
// objects the search found (none while OAM DMA held OAM).
void begin_drawing() {
    const bool objects_seen = machine_clock.due[event_oam_dma] == never;
    const bool drawn = skip_counter >= frame_skip;
    set_drawing_end(start_line_drawing(lcd.line, objects_seen, drawn));
    next_moment(lcd.drawing_end, blank);
}

// Each moment's work, then the next moment.
void run_moment() {
    switch (lcd.stage) {
        case compare: after_compare(); break;
        case opened:
            if (visible_line()) {
                next_moment(search_dots, drawing);
            } else {
                io_page[IF] |= interrupt_vblank;
                end_line_at(line_dots);
            }
            break;
        case drawing: begin_drawing(); break;
        case blank:
            finish_line_drawing();
            lcd.first_line = 0;
            if (blank_source_matters()) {
                next_moment(lcd.drawing_end + blank_source_late, blank_source);
            } else {
                end_line_at(line_dots);
            }
            break;
        case compare_none: next_moment(line_153_zero_match, compare_zero); break;
        default: end_line_at(line_dots); break;
    }
}

// A dark LCD shows its lightest shade.
void blank_picture() {
    const uint32_t colour = blank_colour(colour_model, colour_scale::full_range);
    for (uint8_t* pixel = frame_buffer; pixel < std::end(frame_buffer); pixel += 3) {
        std::memcpy(pixel, &colour, 3);
    }
}

// A STAT write that enables a source in time asks for the moments it needs.
void ask_for_stat_moments() {
    if (!lcd.on || !visible_line()) {
        return;
    }
    const int dot = dots_into_line();
    if (lcd.stage == drawing && dot < line_opening && opening_matters()) {
        next_moment(line_opening, opened);
    } else if (lcd.stage == line_begins && dot >= lcd.drawing_end &&
               dot < lcd.drawing_end + blank_source_late && blank_source_matters()) {
        next_moment(lcd.drawing_end + blank_source_late, blank_source);
    }
}

}  // namespace

void reset_lcd(int dots_to_line_0) {
    lcd = {};
    lcd.on = 1;
    lcd.line = last_line;
    lcd.drawing_end = search_dots;
    const uint64_t now = machine_clock.now;
    const int dots_gone = line_dots - dots_to_line_0;
    lcd.line_start = now - std::min<uint64_t>(now, dots_to_cycles(dots_gone));
    lcd.stage = compare_zero;
    end_line_at(line_dots);
    lcd.stat_line = stat_line_level(io_page[STAT], dots_gone) ? 1 : 0;
}

lcd_moment lcd_event(uint64_t when) {
    const uint8_t stage = lcd.stage;
    if (stage == dark_frame) {
        lcd.frame_done = 1;
        lcd.line_start = when;
        next_moment(frame_dots, dark_frame);
        return lcd_moment::other;
    }
    if (stage == line_begins) {
        begin_line(when);
    } else {
        run_moment();
    }
    follow_stat_line();
    return stage == blank ? lcd_moment::horizontal_blank : lcd_moment::other;
}

uint8_t read_stat() {
    const int dot = dots_into_line();
    const int mode = lcd.on ? shown_mode(dot) : 0;
    return static_cast<uint8_t>(0x80 | (io_page[STAT] & 0x78) | (ly_matches(dot) ? 0x04 : 0) |
                                mode);
}

uint8_t read_ly() {
    if (!lcd.on) {
        return 0;
    }
    return lcd.line == last_line && dots_into_line() >= early_zero ? 0 : lcd.line;
}

// Switched on, the first line starts four dots before the write; switched
// off, LY is 0, the LY=LYC bit keeps its value and frames pass dark.
void lcd_switch(bool on) {
    if (on == (lcd.on != 0)) {
        return;
    }
    const uint64_t now = machine_clock.now;
    if (on) {
        lcd.on = 1;
        lcd.line = 0;
        lcd.first_line = 1;
        start_frame_drawing();
        lcd.drawing_end = 252;
        lcd.line_start = now - std::min<uint64_t>(now, dots_to_cycles(early_first_line));
        next_moment(search_dots, drawing);
    } else {
        lcd.kept_match = ly_matches(dots_into_line()) ? 1 : 0;
        lcd.on = 0;
        lcd.line = 0;
        lcd.line_start = now;
        blank_picture();
        next_moment(frame_dots, dark_frame);
    }
    follow_stat_line();
}

void stat_written(uint8_t value, bool monochrome) {
    if (monochrome) {
        follow_stat_line(0xFF);
    }
    io_page[STAT] = static_cast<uint8_t>(0x80 | (value & 0x78));
    follow_stat_line();
    if (lcd.on && lcd.stage != line_begins && lcd.stage != compare && !lcd.first_line &&
        dots_into_line() < shown_late && compare_matters()) {
        next_moment(shown_late, compare);
    }
    ask_for_stat_moments();
}

bool drawing_now(int dot) {
    return lcd.on && visible_line() && mode_at(dot) == 3;
}

// From mode 3 to the end of the line: the last pixels go out a few dots
// into the horizontal blank.
void picture_register_writing(int offset, uint8_t value) {
    const int dot = dots_into_line();
    if (lcd.on && visible_line() && dot >= search_dots) {
        register_writing(dot, offset, value);
    }
}

void window_register_written() {
    if (drawing_now(dots_into_line()) && lcd.stage == blank) {
        set_drawing_end(window_registers_written());
        next_moment(lcd.drawing_end, blank);
    }
}

void lyc_written(uint8_t value) {
    io_page[LYC] = value;
    follow_stat_line();
}

// Object search locks OAM from the line's start, drawing locks video RAM
// from its start; both open four dots after drawing ends. A write to OAM
// still lands in the line's first four dots and just before drawing.
bool oam_locked(bool write) {
    if (!lcd.on || !visible_line()) {
        return false;
    }
    const int dot = dots_into_line();
    const int open = lcd.drawing_end + shown_late;
    if (lcd.first_line) {
        return dot >= search_dots + shown_late && dot < open;
    }
    if (write) {
        return (dot >= shown_late && dot < search_dots) ||
               (dot >= search_dots + shown_late && dot < open);
    }
    return dot < open;
}

bool vram_locked(bool write) {
    if (!lcd.on || !visible_line()) {
        return false;
    }
    const int dot = dots_into_line();
    const int from = write || lcd.first_line ? search_dots + shown_late : search_dots;
    return dot >= from && dot < lcd.drawing_end + shown_late;
}

int oam_search_row() {
    if (!lcd.on || !visible_line() || lcd.first_line) {
        return -1;
    }
    const int dot = dots_into_line();
    return dot < search_dots ? dot / search_row_dots : -1;
}

bool in_horizontal_blank() {
    const int dot = dots_into_line();
    return lcd.on && visible_line() && !lcd.first_line && dot >= line_opening && mode_at(dot) == 0;
}

void lcd_speed_switching(bool double_speed) {
    const uint64_t now = machine_clock.now;
    const uint64_t dots = (now - std::min(now, lcd.line_start)) >> machine_clock.double_speed;
    set_double_speed(double_speed);
    lcd.line_start = now - std::min(now, dots_to_cycles(dots));
}

void settle_lcd() {
    lcd.on = lcd.on ? 1 : 0;
    lcd.line = std::min<uint8_t>(lcd.line, last_line);
    lcd.stage = std::min<uint8_t>(lcd.stage, dark_frame);
    lcd.drawing_end = std::clamp<uint16_t>(lcd.drawing_end, search_dots, line_dots - 8);
    lcd.line_start = std::min(settled_moment(lcd.line_start), machine_clock.now);
}

}  // namespace tov
