// The accurate machine's time: the CPU clock's cycles since power-on, four to
// an M-cycle in both speeds, and the moment at which each of its units next
// has something to do. The CPU moves the clock on one M-cycle at a time; the
// units are caught up when they are read or written and at their moments,
// never stepped cycle by cycle.
#pragma once

#include <cstdint>

namespace tov {

// The units that ask for a moment of their own, in the order in which
// moments that fall on the same cycle are served.
enum clock_event : int {
    event_timer,      // TIMA overflows or reloads
    event_lcd,        // the picture's next line or mode
    event_oam_dma,    // the object-memory transfer ends
    event_serial,     // the serial port's transfer ends
    event_sequencer,  // the sound's frame sequencer steps
    event_count
};

constexpr uint64_t never = UINT64_MAX;

struct clock_state {
    uint64_t now = 0;             // cycles since power-on
    uint64_t next = never;        // the earliest of `due`
    uint64_t due[event_count]{};  // each unit's moment, or never
    uint8_t double_speed = 0;     // 1 in the colour model's double speed
    uint64_t cpu_free_at = 0;     // a DMA to video RAM holds the CPU until then
};
extern clock_state machine_clock;

// Sets the moment of `event` (never: none).
void schedule(clock_event event, uint64_t when);

// The picture and the sound run on dots, which the CPU clock outpaces in
// double speed.
inline uint64_t dots_to_cycles(uint64_t dots) {
    return dots << machine_clock.double_speed;
}

// The clock at power-on: far enough from 0 that the units can place what
// the start-up program left behind (the line the picture is in) before it.
constexpr uint64_t power_on_moment = 1 << 12;

// Back to power-on: the clock at power_on_moment, nothing scheduled, single
// speed.
void reset_clock();

// Switches the speed; the picture's moment keeps its distance in dots.
void set_double_speed(bool on);

// A moment from a file brought within about a second of now.
uint64_t settled_moment(uint64_t moment);

// A clock from a file: its moments brought within a second of now.
void settle_clock();

}  // namespace tov
