// The accurate machine's divider and timer. DIV is the upper byte of a 16-bit
// system counter that counts CPU cycles in both speeds. TIMA steps on each
// falling edge of the counter bit that TAC selects (while TAC enables it), so
// a write to DIV or TAC can step it. An overflow leaves TIMA at 00 for one
// M-cycle; then TMA is loaded and the timer interrupt requested.
#pragma once

#include <cstdint>

namespace tov {

struct timer_state {
    uint16_t offset = 0;  // the system counter reads (now + offset) & FFFF
    uint8_t tima = 0;
    uint8_t tma = 0;
    uint8_t tac = 0;
    uint8_t paused = 0;        // 1 while STOP holds the counter at 0
    uint64_t counted_to = 0;   // TIMA holds the edges up to this moment
    uint64_t reload_at = 0;    // after an overflow: the M-cycle that loads TMA
    uint64_t reloaded_at = 0;  // the last M-cycle that loaded TMA
};
extern timer_state timer;

// The system counter at `moment`, unwrapped: its low 16 bits are the counter.
inline uint64_t system_counter_at(uint64_t moment) {
    return moment + timer.offset;
}

// Power-on: the counter at `counter`, TIMA, TMA and TAC at 0.
void reset_timer(uint16_t counter);

uint8_t read_div();
uint8_t read_tima();
void write_div();
void write_tima(uint8_t value);
void write_tma(uint8_t value);
void write_timer_control(uint8_t value);

// TIMA's scheduled moment: an overflow or the reload after it.
void timer_event(uint64_t when);

// STOP holds the counter at 0 while the clock is stopped, from now to
// resume_timers(); its edges in between are lost.
void pause_timers();
void resume_timers();

// A timer state from a file brought into range.
void settle_timer();

}  // namespace tov
